// The song values of one video, as GBK byte strings, ready for its KSC file.
#pragma once

#include <string>

namespace kscgen {

// The per-file defaults; GBK text, so defined out of line (headers hold no
// non-ASCII literals: they are also compiled by the UTF-8 window code).
extern const char* const kDefaultLanguage;  // 国语
extern const char* const kDefaultStyle;     // 流行
extern const char* const kDefaultChannel;   // 0: the song manager's default, right
extern const char* const kUnknownSinger;    // 佚名

struct SongInfo {
  // Starts with the per-file defaults of language, style and channel.
  SongInfo();

  std::string title;
  std::string abbrev;  // pinyin initials of the title, at most four
  std::string singer;
  std::string language;
  std::string style;
  std::string channel;        // one digit
  std::string date_text;      // the date added
  std::string singer_pinyin;  // pinyin initials of the whole singer
  std::string number;         // five or more digits, empty without numbering
  std::string name_number;    // the library's own number its name carries (ASCII digits), or empty
  std::string video_name;     // the video's file name, extension included
  std::string ksc_path;       // where the KSC file goes, spelled as the file system holds it
};

}  // namespace kscgen
