// The KSC song file: a 28-line GBK script of `karaoke` statements that the
// KTV song manager runs when it scans a folder into its library.
#pragma once

#include <string>
#include <string_view>

#include "tagging/song_info.h"

namespace kscgen {

// A value as a well-formed literal between single quotes of the song
// manager's script: a quote is doubled (Don't → Don''t), and a control byte,
// which would break the script's line, becomes a blank.
std::string KscQuote(std::string_view value);

// The 28 lines, each ended by CR LF, in GBK.
std::string FormatKscText(const TSongInfo& info);

// Outcome of writing one KSC file; `message` (UTF-8, for the user) names the
// file and the system's reason when `ok` is false.
struct WriteStatus {
  bool ok = true;
  std::string message;
};

// Writes `text` to `path` (spelled as the file system holds it) through a
// temporary file in the same folder that is then renamed over the target, so
// an existing file is replaced whole or not at all and an interrupted run
// never leaves a truncated one. The temporary file's name is short and the
// same for every file of a process, so a KSC name of the longest length the
// file system allows still has room. On failure the temporary file is
// removed and the message reads: Cannot create file "PATH". REASON
WriteStatus WriteFileReplacing(const std::string& path, std::string_view text);

// Writes the KSC file of `info` to its KscPath.
WriteStatus WriteKscFile(const TSongInfo& info);

// Removes the temporary files an interrupted run left in `folder`.
void RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace kscgen
