// What the tests of one video's plan share: kRoadKsc's lines, the text
// kscgen writes for them, and a plan over a file held in memory, without a
// disk. Song values are GBK (plain literals); messages are UTF-8.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/engine/video_plan.h"
#include "expected_ksc.h"

namespace kscgen::testing::plan {

inline const std::string kRoad = kRoadKsc;
inline const std::string kStyleLine = "karaoke.tag('风格', '流行');\r\n";
inline const std::string kLyric =
    "karaoke.add('00:12.345', '00:15.678', '我是在等待一个女孩', '1000');\r\n";

// `text` with its first `from` replaced by `to`.
inline std::string With(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// kscgen's lines of the values of kRoadKsc, in its order.
inline const std::string kNumberLine = "karaoke.internalnumber := ;\r\n";
inline const std::string kFieldLinesAfterTitle =
    "karaoke.tag('缩写', 'XHS');\r\n"
    "karaoke.tag('歌手', '合唱团');\r\n"
    "karaoke.tag('字数', '6');\r\n"
    "karaoke.tag('语种', '粤语');\r\n"
    "karaoke.tag('风格', '流行');\r\n"
    "karaoke.tag('声道', '0');\r\n"
    "karaoke.tag('时间', '12/7/26');\r\n"
    "karaoke.tag('歌星拼音', 'HCT');\r\n";
inline const std::string kVideoLine = "karaoke.CommonVideo := '合唱团－小河水.mpg';\r\n";
inline const std::string kFieldLines =
    kNumberLine + "karaoke.tag('歌名', '小河水');\r\n" + kFieldLinesAfterTitle + kVideoLine;

inline os::Existing File(std::string bytes, bool write_protected = false) {
  os::Existing file;
  file.kind = os::Existing::kRegular;
  file.size = bytes.size();
  file.bytes = std::move(bytes);
  file.write_protected = write_protected;
  if (write_protected) file.protection = os::Existing::kReadOnly;
  return file;
}

inline VideoPlan Plan(const os::Existing& file, bool force = false,
                      const KscValues* record = nullptr, SongInfo song = RoadSong()) {
  return PlanVideo(VideoInput{std::move(song), true, force, record}, ExistingKsc{{}, file});
}

}  // namespace kscgen::testing::plan
