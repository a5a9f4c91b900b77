// Words that mark a copy of a song rather than name it: how the video was
// made (MTV, KTV, 高清, HD, 演唱会), what it holds (伴奏, 原唱, 卡拉OK), or
// where it came from (VCD, DVD). Libraries put them in brackets before the
// singer ([高清]王菲-红豆) or after the title, bracketed or after a blank or a
// dash (遇见 原唱, 遇见-伴奏KTV); none of them is part of a title. Gathered
// from the names of real libraries and the titles video sites give. ASCII
// words are written in upper case and matched without regard to case.
#include <iterator>

#include "tagging/classification_tables.h"

namespace kscgen {
namespace {

// The last row comes from video sites' titles: 高清歌词, 高清修復版,
// (Karaoke Version).
constexpr std::string_view kWords[] = {
    "KTV",  "MTV",  "HD",     "DJ",     "VCD",    "DVD",    "LIVE",   "KARAOKE", "卡拉OK",
    "高清", "超清", "标清",   "伴奏",   "伴唱",   "原唱",   "原声",   "原版",    "演唱会",
    "现场", "字幕", "消音",   "导唱",   "混音",   "音轨",   "双音轨", "MV",      "VERSION",
    "歌词", "歌詞", "伴奏版", "原唱版", "高清版", "修复版", "修復版",
};

}  // namespace

const WordList kTagWords{kWords, std::size(kWords)};

}  // namespace kscgen
