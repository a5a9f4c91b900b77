// Uniform values: one singer, style, language or channel that the user
// imposes on every video of a batch, above whatever names and folder say.
//
// The user adds entries of a kind and a value (the window's 加入, kscgen's
// -u); the first entry of each kind counts. The batch receives the values
// already read, as UniformValues.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tagging/song_info.h"

namespace kscgen {

enum UniformKind : int {
  kUniformSinger = 0,    // 歌 手 名
  kUniformStyle = 1,     // 歌曲类别
  kUniformLanguage = 2,  // 歌曲语种
  kUniformChannel = 3,   // 歌曲声道
  kUniformKindCount = 4,
};

// The label of a kind as the kind drop-down lists it (GBK).
std::string UniformKindLabel(int kind);

// The values the value drop-down offers for a kind, in order (GBK); none for
// the singer, whose name is typed, and none for an index outside 0 to 3.
std::vector<std::string> UniformValuesOffered(int kind);

// The kind whose label a typed kind text holds (at a character boundary),
// else the kind whose other name it holds: the label without 歌曲 (类别,
// 语种, 声道) or the preview's title of its column (歌手, 风格). None for a
// text that holds no name of a kind.
std::optional<UniformKind> UniformKindOf(std::string_view kind_text);

// One entry as the user added it (GBK, both texts trimmed).
struct UniformEntry {
  std::string kind_text;            // as typed or picked
  std::optional<UniformKind> kind;  // set whenever ParseUniformEntry made the entry
  std::string value;
};

enum class UniformEntryError {
  kNone,
  kUnknownKind,
  kEmptyValue,
  kBadChannel,
  kBadStyle,
  kControlCharacter,
  kBadLanguage,
};

struct UniformEntryParse {
  UniformEntryError error = UniformEntryError::kNone;
  UniformEntry entry;  // when error is kNone
};

// Reads a typed kind and value. A kind text that names none of the four
// kinds (UniformKindOf), an empty value, a value with a control character
// (a line break would split the KSC file's line), a channel value that names
// no channel (ClassifyChannel), a style value that names none of the song
// manager's styles (MatchStyle), or a language value that names no language
// (NamesLanguage), gives an error and no entry. The window, its
// restored settings and kscgen all read entries here.
UniformEntryParse ParseUniformEntry(std::string_view kind_text, std::string_view value_text);

// The entry as the uniform list shows it: kind, " --> ", value, "; "
// (歌曲语种 --> 粤语; ).
std::string UniformEntryText(const UniformEntry& entry);

// The values a batch imposes, in the song manager's vocabulary; a kind
// without a value is left to names and folder.
struct UniformValues {
  std::optional<std::string> singer;
  std::optional<std::string> language;
  std::optional<std::string> style;
  std::optional<std::string> channel;  // one digit

  bool operator==(const UniformValues& o) const {
    return singer == o.singer && language == o.language && style == o.style && channel == o.channel;
  }
};

// The values of a list of entries: the first entry of each kind counts,
// whole at any length; a language or style is classified into the song
// manager's vocabulary.
UniformValues CollectUniformValues(const std::vector<UniformEntry>& entries);

// Imposes the values on a song: changes Language, Style, Singer and Channel
// only, each where a value is given.
void ApplyUniformValues(const UniformValues& values, SongInfo& info);

}  // namespace kscgen
