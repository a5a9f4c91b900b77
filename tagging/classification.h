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
  kEqualsUpper,    // the trimmed text, its ASCII letters raised, is the keyword
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
// The value of the first rule that holds; none when no rule holds, whatever
// the table's no-match value.
std::optional<std::string> Match(const KeywordTable& table, std::string_view text);

// Keywords anywhere in the text; "国语" when none matches.
std::string ClassifyLanguage(std::string_view text);
// Keywords anywhere in the text; "流行" when none matches.
std::string ClassifyStyle(std::string_view text);
// How a folder name begins (template "歌名" only); "其它" when none matches.
std::string ClassifyLanguagePrefix(std::string_view text);
// How a folder name begins (template "歌名" only); no value when none matches,
// and the caller keeps its style.
std::optional<std::string> ClassifyStylePrefix(std::string_view text);

// The style a text names by a keyword of the style table; none when it names
// none (ClassifyStyle would give its default).
std::optional<std::string> MatchStyle(std::string_view text);

// Whether a text names a language: a keyword of the language table or a
// language word (国语, 普通话, 华语, ...) occurs in it. 国语 names the default
// language, which ClassifyLanguage gives without a keyword.
bool NamesLanguage(std::string_view text);

// The first language word (国语, 普通话, 粵語) the text holds anywhere; empty
// when it holds none.
std::string_view LanguageWordIn(std::string_view text);

// The language of a field that is a language word on its own, optionally
// followed by 歌曲 or 歌 (国语, 闽南语歌): what ClassifyLanguage gives for it.
// None for any other field (国语版, 我的国语).
std::optional<std::string> LanguageWordOf(std::string_view field);

// The language a bracket of one field names: a language word anywhere in it
// (粤语MTV, 台湾闽南语, 粤语经典老歌) gives what the word gives; else a
// keyword of the language table that begins the field and is followed by
// nothing or by 歌曲, 歌 or 版 (粤, 英歌). What the field quotes in 《 》
// (《英雄》) is a work, never read, and a keyword inside a longer word
// (英雄联盟, 日记) names nothing.
std::optional<std::string> BracketLanguage(std::string_view field);

// The style of a field that is a style word on its own: a keyword or a
// value of the style table (怀旧, 怀旧歌, DISCO), optionally followed by 歌曲,
// 歌 or 版. None for any other field (迪克牛仔版, 经典怀旧).
std::optional<std::string> StyleWordOf(std::string_view field);

// The channel a field of at most three characters names by its side (L, R,
// 左, 右声道, 立体声): none for digits, which in a bracket of their own
// count copies ((2)), and for longer texts, which name other things
// (《左耳》主题曲).
std::optional<std::string> ChannelWordOf(std::string_view field);

// The channel code a text names: its leading digits when they make a number
// from 0 to 3, else "2" for 左 (left), "1" for 右 (right), "3" for 立体
// (stereo), and for the letter L or R alone "2" or "1". None for anything
// else (9, 31, 伴唱, left, Live).
std::optional<std::string> ClassifyChannel(std::string_view text);

}  // namespace kscgen
