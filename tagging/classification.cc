#include "tagging/classification.h"

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
  }
  return false;
}

}  // namespace

std::optional<std::string> Classify(const KeywordTable& table, std::string_view text) {
  for (std::size_t i = 0; i < table.size; ++i) {
    if (Holds(table.rules[i], text)) return std::string(table.rules[i].value);
  }
  if (table.no_match == nullptr) return std::nullopt;
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
