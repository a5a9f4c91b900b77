// Maps free text (a folder name, the bracket part of a file name, a uniform
// value) onto the song manager's fixed language and style vocabularies by
// ordered keyword tests: the first test that holds decides.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kscgen {

enum class KeywordTest {
  kContains,       // the keyword occurs anywhere, at a character boundary
  kPrefix,         // the trimmed text begins with the keyword
  kContainsUpper,  // the same once ASCII letters are raised
};

struct KeywordRule {
  KeywordTest test;
  std::string_view keyword;
  const char* value;
};

struct KeywordTable {
  const KeywordRule* rules;
  std::size_t size;
  const char* no_match;  // nullptr: no value when nothing matches
};

// The value of the first rule of `table` that holds for `text`, else the
// table's no-match value.
std::optional<std::string> Classify(const KeywordTable& table, std::string_view text);

// Keywords anywhere in the text; "国语" when none matches.
std::string ClassifyLanguage(std::string_view text);
// Keywords anywhere in the text; "流行" when none matches.
std::string ClassifyStyle(std::string_view text);
// How a folder name begins (template "歌名" only); "其它" when none matches.
std::string ClassifyLanguagePrefix(std::string_view text);
// How a folder name begins (template "歌名" only); no value when none matches,
// and the caller keeps its style.
std::optional<std::string> ClassifyStylePrefix(std::string_view text);

}  // namespace kscgen
