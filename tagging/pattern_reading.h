// A video's name read by a pattern of the user's own (name_pattern.h
// compiles it from what the user typed).
#pragma once

#include <string_view>

#include "tagging/file_name.h"
#include "tagging/name_pattern.h"
#include "tagging/song_info.h"

namespace kscgen {

// Reads a name by a pattern of the user's own. Brackets, fields, numbers and
// tag words after the pattern's last placeholder are read as under template 4,
// and the folder gives what the pattern does not name. A name the pattern
// does not fit is read as a title alone, with a note.
void ParseSongName(const NamePattern& pattern, FolderRole folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info, NameFindings* findings = nullptr);

}  // namespace kscgen
