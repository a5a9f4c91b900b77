// Uniform values: one singer, style, language or channel that the user
// imposes on every video of a batch, above whatever names and folder say.
//
// The window keeps them as a list of entry texts such as
// "歌曲语种 --> 粤语; "; the batch reads the list joined into one text, each
// entry followed by CR LF.
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

// The entry "加入" adds: the trimmed kind text, " --> ", the trimmed value and
// "; ". No entry when the trimmed value is empty.
std::optional<std::string> MakeUniformEntry(std::string_view kind_text,
                                            std::string_view value_text);

// Every entry followed by CR LF, in list order.
std::string JoinUniformList(const std::vector<std::string>& entries);

// The value of the first entry of the list whose kind text (before its first
// " --> ") contains `label`: everything after that " --> " up to the entry's
// closing "; ". No value when no entry is of that kind.
std::optional<std::string> ExtractUniformValue(std::string_view list_text, std::string_view label);

// Applies the list to a song: a language or style entry is classified into
// the song manager's vocabulary, a singer entry is taken as it is, and a
// channel entry gives its leading digit (a value without one has no effect).
// Changes Language, Style, Singer and Channel only.
void ApplyUniformValues(std::string_view list_text, TSongInfo& info);

}  // namespace kscgen
