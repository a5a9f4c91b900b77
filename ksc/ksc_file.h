// The KSC song file: a 28-line GBK script of `karaoke` statements that the
// KTV song manager runs when it scans a folder into its library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ksc/ksc_statements.h"
#include "tagging/song_info.h"

namespace kscgen {

// The 28 lines, each ended by CR LF, in GBK.
std::string FormatKscText(const SongInfo& info);
std::string FormatKscText(const KscValues& values);

// The "时间" value of a KSC file's text, as FormatKscText took it (a doubled
// quote read as one), from the first line that sets it however it is spelled
// (blanks or tabs, either case, single or double quotes); none when the text
// holds no such tag.
std::optional<std::string> KscDateText(std::string_view ksc_text);

// The value of `field` (the date, the number) in a line written exactly as
// kscgen writes it, looked for without reading the text line by line; none
// when there is no such line or its value holds a quote (a doubled quote
// needs the line read).
std::optional<std::string_view> KscOwnValue(std::string_view ksc_text, KscField field);

// The song number a KSC file's text gives (`karaoke.internalnumber :=`,
// read as the date is); none when it gives none.
std::optional<std::int64_t> KscSongNumber(std::string_view ksc_text);

// The extension of every KSC file kscgen writes: the song manager scans for
// it in any case, and kscgen writes it in upper case.
constexpr std::string_view kKscExtension = ".KSC";

// The largest KSC file a run reads: far more than any lyric file holds. A
// larger one is left alone, never cut short.
constexpr std::size_t kLargestKscFile = 16 * 1024 * 1024;

}  // namespace kscgen
