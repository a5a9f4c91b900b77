// A video's name as the run uses it: its stem, its trimmed base name, why it
// can get no KSC file, and how it is shown to the user.
#pragma once

#include <string>
#include <string_view>

#include "app/engine/video_folder.h"

namespace kscgen {

// The name without its extension, as it stands: the KSC file is named after
// the video's real name, blanks and all.
std::string_view StemView(std::string_view file_name);

// The name without its extension, trimmed: what song values are read from.
std::string_view BaseNameView(std::string_view file_name);

// Why a video can get no KSC file (a name GBK cannot hold, a control
// character, a name of blanks only), or null when it can.
const char* SkipReason(const VideoFile& file);

// How a file of a listed folder is named to the user: its name, after the
// folder's path from the chosen one when `with_folder` and the folder is
// not the chosen one itself. UTF-8.
std::string ShownName(const VideoFolder& folder, std::string_view native_name, bool with_folder);

}  // namespace kscgen
