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

struct TSongInfo {
  // Starts with the per-file defaults of language, style and channel.
  TSongInfo();

  std::string Title;
  std::string Abbrev;  // pinyin initials of the title, at most four
  std::string Singer;
  std::string Language;
  std::string Style;
  std::string Channel;       // one digit
  std::string DateText;      // the date added
  std::string SingerPinyin;  // pinyin initials of the whole singer
  std::string Number;        // five or more digits, empty without numbering
  std::string VideoName;     // the video's file name, extension included
  std::string KscPath;       // where the KSC file goes, spelled as the file system holds it
};

}  // namespace kscgen
