#include "tagging/classification.h"

#include <bitset>

#include "tagging/classification_tables.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

bool Holds(const KeywordRule& rule, std::string_view text) {
  const std::string_view keyword = rule.keyword;
  switch (rule.test) {
    case KeywordTest::kContains:
      return text::Contains(text, keyword);
    case KeywordTest::kContainsUpper:
      return text::ContainsUpper(text, keyword);
    case KeywordTest::kPrefix:
      return text::TrimView(text).substr(0, keyword.size()) == keyword;
    case KeywordTest::kEqualsUpper: {
      const std::string_view trimmed = text::TrimView(text);
      return trimmed.size() == keyword.size() && text::ContainsUpper(trimmed, keyword);
    }
  }
  return false;
}

// The first rule of `table` that holds for `text`, or none. Every test
// matches at a character boundary, so a keyword whose first byte begins no
// character of the text (raised, for the upper-cased test) is passed over
// without a search: a name's fields meet every table, and most of its
// keywords begin with bytes the field does not hold.
const KeywordRule* FirstHolding(const KeywordTable& table, std::string_view text) {
  std::bitset<256> leads;
  for (std::size_t i = 0; i < text.size(); i += text::CharLength(text, i)) {
    leads.set(static_cast<unsigned char>(text[i]));
    leads.set(static_cast<unsigned char>(text::ToUpperAscii(text[i])));
  }
  for (std::size_t i = 0; i < table.size; ++i) {
    const KeywordRule& rule = table.rules[i];
    if (!rule.keyword.empty() && !leads.test(static_cast<unsigned char>(rule.keyword[0]))) continue;
    if (Holds(rule, text)) return &rule;
  }
  return nullptr;
}

}  // namespace

std::optional<std::string> Match(const KeywordTable& table, std::string_view text) {
  const KeywordRule* rule = FirstHolding(table, text);
  if (!rule) return std::nullopt;
  return std::string(rule->value);
}

std::optional<std::string> Classify(const KeywordTable& table, std::string_view text) {
  std::optional<std::string> value = Match(table, text);
  if (value || table.no_match == nullptr) return value;
  return std::string(table.no_match);
}

std::string ClassifyLanguage(std::string_view text) { return *Classify(kLanguageTable, text); }

std::string ClassifyStyle(std::string_view text) { return *Classify(kStyleTable, text); }

std::string ClassifyLanguagePrefix(std::string_view text) {
  return *Classify(kLanguagePrefixTable, text);
}

std::optional<std::string> ClassifyStylePrefix(std::string_view text) {
  return Classify(kStylePrefixTable, text);
}

}  // namespace kscgen

namespace kscgen {

std::optional<std::string> MatchStyle(std::string_view text) { return Match(kStyleTable, text); }

namespace {

unsigned PairAt(std::string_view s, std::size_t i) {
  return static_cast<unsigned char>(s[i]) << 8 | static_cast<unsigned char>(s[i + 1]);
}

}  // namespace

WordStarts StartsOf(const WordList& list) {
  WordStarts starts;
  for (std::size_t i = 0; i < list.size; ++i) {
    const std::string_view word = list.words[i];
    if (word.size() == 1) starts.single.set(static_cast<unsigned char>(word[0]));
    if (word.size() >= 2) starts.pairs.set(PairAt(word, 0));
  }
  return starts;
}

std::string_view FirstWordIn(const WordList& list, const WordStarts& starts,
                             std::string_view text) {
  // One walk over the text's characters finds where a word may begin, and
  // only there are the words compared. Of the words found, the first of the
  // list wins, as a search word by word would give.
  std::size_t first = list.size;
  for (std::size_t i = 0; i < text.size(); i += text::CharLength(text, i)) {
    const bool may = starts.single.test(static_cast<unsigned char>(text[i])) ||
                     (i + 1 < text.size() && starts.pairs.test(PairAt(text, i)));
    if (!may) continue;
    for (std::size_t w = 0; w < first; ++w) {
      const std::string_view word = list.words[w];
      if (!word.empty() && text.compare(i, word.size(), word) == 0) first = w;
    }
  }
  return first < list.size ? list.words[first] : std::string_view();
}

std::string_view LanguageWordIn(std::string_view text) {
  // Every title and bracket is checked, and most hold no language word.
  static const WordStarts kStarts = StartsOf(kLanguageWords);
  return FirstWordIn(kLanguageWords, kStarts, text);
}

bool NamesLanguage(std::string_view text) {
  return FirstHolding(kLanguageTable, text) || !LanguageWordIn(text).empty();
}

std::optional<std::string> LanguageWordOf(std::string_view field) {
  for (std::size_t i = 0; i < kLanguageWords.size; ++i) {
    const std::string_view word = kLanguageWords.words[i];
    if (field.empty() || field[0] != word[0] || field.substr(0, word.size()) != word) continue;
    const std::string_view rest = field.substr(word.size());
    bool whole = rest.empty();
    for (std::size_t e = 0; !whole && e < kWordEndings.size; ++e) {
      whole = rest == kWordEndings.words[e];
    }
    if (whole) return ClassifyLanguage(field);
  }
  return std::nullopt;
}

namespace {

// Whether `rest` is empty or one of the endings a word may carry.
bool IsWordEnding(std::string_view rest) {
  for (std::size_t e = 0; !rest.empty() && e < kWordEndings.size; ++e) {
    if (rest == kWordEndings.words[e]) return true;
  }
  return rest.empty();
}

// `field` without what it quotes in 《 》, marks included; a mark left open
// takes the rest.
std::string WithoutQuotedWorks(std::string_view field) {
  constexpr std::string_view kOpen = "《";
  constexpr std::string_view kClose = "》";
  std::string kept;
  std::size_t depth = 0;
  for (std::size_t i = 0; i < field.size();) {
    const std::size_t len = text::CharLength(field, i);
    const std::string_view c = field.substr(i, len);
    if (c == kOpen) {
      ++depth;
    } else if (c == kClose && depth > 0) {
      --depth;
    } else if (depth == 0) {
      kept.append(c);
    }
    i += len;
  }
  return kept;
}

}  // namespace

std::optional<std::string> BracketLanguage(std::string_view field) {
  field = text::TrimView(field);
  std::string unquoted;
  if (text::Contains(field, "《")) {
    unquoted = WithoutQuotedWorks(field);
    field = text::TrimView(unquoted);
  }
  if (const std::string_view word = LanguageWordIn(field); !word.empty()) {
    return ClassifyLanguage(word);
  }
  for (std::size_t i = 0; i < kLanguageTable.size; ++i) {
    const KeywordRule& rule = kLanguageTable.rules[i];
    // By the first byte before the whole keyword: every bracket comes here.
    if (!rule.keyword.empty() && (field.empty() || field[0] != rule.keyword[0])) continue;
    if (field.substr(0, rule.keyword.size()) == rule.keyword &&
        IsWordEnding(field.substr(rule.keyword.size()))) {
      return std::string(rule.value);
    }
  }
  return std::nullopt;
}

std::optional<std::string> StyleWordOf(std::string_view field) {
  field = text::TrimView(field);
  auto equals_upper = [](std::string_view s, std::string_view word) {
    return s.size() == word.size() && text::ContainsUpper(s, word);
  };
  if (field.empty()) return std::nullopt;
  const char first = text::ToUpperAscii(field[0]);
  for (std::size_t i = 0; i < kStyleTable.size; ++i) {
    const KeywordRule& rule = kStyleTable.rules[i];
    // By the first byte before the whole word: every name's first piece
    // comes here under 自动识别.
    if (rule.keyword[0] != first && rule.value[0] != first) continue;
    const std::string_view value = rule.value;
    for (std::string_view word : {rule.keyword, value}) {
      if (field.size() < word.size() || !equals_upper(field.substr(0, word.size()), word)) {
        continue;
      }
      const std::string_view rest = field.substr(word.size());
      bool whole = rest.empty();
      for (std::size_t e = 0; !whole && e < kWordEndings.size; ++e) {
        whole = rest == kWordEndings.words[e];
      }
      if (whole) return std::string(value);
    }
  }
  return std::nullopt;
}

std::optional<std::string> ChannelWordOf(std::string_view field) {
  field = text::TrimView(field);
  std::size_t chars = 0;
  for (std::size_t i = 0; i < field.size(); i += text::CharLength(field, i)) ++chars;
  if (field.empty() || (field[0] >= '0' && field[0] <= '9') || chars > 3) return std::nullopt;
  return ClassifyChannel(field);
}

std::optional<std::string> ClassifyChannel(std::string_view text) {
  // Leading digits as a number, stopped as soon as it passes 3.
  std::size_t i = 0;
  int number = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && number <= 3) {
    number = number * 10 + (text[i] - '0');
    ++i;
  }
  const bool all_digits_read = i == text.size() || text[i] < '0' || text[i] > '9';
  if (i > 0 && number <= 3 && all_digits_read) {
    return std::string(1, static_cast<char>('0' + number));
  }
  return Match(kChannelTable, text);
}

}  // namespace kscgen
