// A whole KSC file written out by hand, byte by byte, for the tests of the
// writer and of the batch.
#pragma once

#include "tagging/song_info.h"

namespace kscgen::testing {

// The KSC file of 合唱团－小河水.mpg in a folder named 粤语金曲, naming
// template "歌手－歌名", folder role "语种名", no numbering, date 12/7/26.
// GBK codes of the tag names and values:
inline constexpr char kRoadKsc[] =
    "karaoke := CreateKaraokeObject;\r\n"
    "karaoke.internalnumber := ;\r\n"
    "karaoke.rows := 2;\r\n"
    "karaoke := CreateKaraokeObject;\r\n"
    "karaoke.clear;\r\n"
    "\r\n"
    "// \xB8\xE8\xC7\xFA\xB8\xBD\xBC\xD3\xD0\xC5\xCF\xA2(\xB1\xE3\xD3\xDA\xBC\xEC\xCB\xF7)\r\n"
    "karaoke.tag('\xB8\xE8\xC3\xFB', '\xD0\xA1\xBA\xD3\xCB\xAE');\r\n"
    "karaoke.tag('\xCB\xF5\xD0\xB4', 'XHS');\r\n"
    "karaoke.tag('\xB8\xE8\xCA\xD6', '\xBA\xCF\xB3\xAA\xCD\xC5');\r\n"
    "karaoke.tag('\xD7\xD6\xCA\xFD', '6');\r\n"
    "karaoke.tag('\xD3\xEF\xD6\xD6', '\xD4\xC1\xD3\xEF');\r\n"
    "karaoke.tag('\xB8\xE8\xC0\xE0', '\xC4\xD0\xC8\xCB');\r\n"
    "karaoke.tag('\xB5\xE7\xD3\xB0', 'false');\r\n"
    "karaoke.tag('\xB7\xE7\xB8\xF1', '\xC1\xF7\xD0\xD0');\r\n"
    "karaoke.tag('\xC1\xF7\xD0\xD0', 'true');\r\n"
    "karaoke.tag('\xD2\xF4\xC1\xBF', '80');\r\n"
    "karaoke.tag('\xC9\xF9\xB5\xC0', '0');\r\n"
    "karaoke.tag('\xD3\xEF\xD2\xF4', '0');\r\n"
    "karaoke.tag('\xC1\xF7\xD0\xD0', 'true');\r\n"
    "karaoke.tag('\xBD\xE9\xD6\xCA', 'true');\r\n"
    "karaoke.tag('\xCA\xB1\xBC\xE4', '12/7/26');\r\n"
    "karaoke.tag('\xB8\xE8\xD0\xC7\xC6\xB4\xD2\xF4', 'HCT');\r\n"
    "karaoke.mtvmode :=true;\r\n"
    "karaoke.videofilename := '';\r\n"
    "karaoke.audiofilename := '*.wav';\r\n"
    "karaoke.XSDVideoMode := 4;\r\n"
    "karaoke.CommonVideo := '\xBA\xCF\xB3\xAA\xCD\xC5\xA3\xAD\xD0\xA1\xBA\xD3\xCB\xAE.mpg';\r\n";

// The song of kRoadKsc.
inline SongInfo RoadSong() {
  SongInfo s;
  s.title = "\xD0\xA1\xBA\xD3\xCB\xAE";       // 小河水
  s.abbrev = "XHS";
  s.singer = "\xBA\xCF\xB3\xAA\xCD\xC5";      // 合唱团
  s.language = "\xD4\xC1\xD3\xEF";            // 粤语
  s.date_text = "12/7/26";
  s.singer_pinyin = "HCT";
  s.video_name = "\xBA\xCF\xB3\xAA\xCD\xC5\xA3\xAD\xD0\xA1\xBA\xD3\xCB\xAE.mpg";
  return s;
}

}  // namespace kscgen::testing
