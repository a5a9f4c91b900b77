// The keyword tables of the song manager's vocabularies.
#pragma once

#include <bitset>
#include <cstddef>
#include <string_view>

#include "tagging/classification.h"

namespace kscgen {

extern const KeywordTable kLanguageTable;
extern const KeywordTable kStyleTable;
extern const KeywordTable kLanguagePrefixTable;
extern const KeywordTable kStylePrefixTable;
// The sides a channel names, when it does not start with its digit.
extern const KeywordTable kChannelTable;

// Words that stand for a language in a name's fields, and what may follow one.
struct WordList {
  const std::string_view* words;
  std::size_t size;
};
extern const WordList kLanguageWords;
// What may follow a language or style word in a field: 歌曲, 歌, 版.
extern const WordList kWordEndings;
// Words that mark a copy of a song (MTV, 伴奏, 高清), never part of a title.
extern const WordList kTagWords;

// The first two bytes of each word of a list, as one number, so that a
// place of a text where no word begins is passed over with one look; built
// once for each list.
struct WordStarts {
  std::bitset<1 << 16> pairs;
  std::bitset<256> single;  // words of one byte
};
WordStarts StartsOf(const WordList& list);

// The first word of `list`, in the list's order, that `text` holds at a
// character boundary, as it is spelled; empty when it holds none.
// `starts` is StartsOf(list).
std::string_view FirstWordIn(const WordList& list, const WordStarts& starts,
                             std::string_view text);

}  // namespace kscgen
