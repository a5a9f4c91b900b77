#include "tagging/name_pattern.h"

#include <cctype>
#include <iterator>

#include "text/gbk_text.h"

namespace kscgen {
namespace {

struct Placeholder {
  std::string_view name;  // between the braces
  PatternField field;
};

constexpr Placeholder kPlaceholders[] = {
    {"歌手", PatternField::kSinger},   {"歌名", PatternField::kTitle},
    {"语种", PatternField::kLanguage}, {"类别", PatternField::kStyle},
    {"声道", PatternField::kChannel},  {"编号", PatternField::kNumber},
    {"*", PatternField::kSkip},
};

const Placeholder* PlaceholderNamed(std::string_view name) {
  name = text::TrimView(name);
  for (const Placeholder& p : kPlaceholders) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

PatternCheck Refuse(PatternFault fault, std::string_view text) {
  PatternCheck check;
  check.fault = fault;
  check.text = std::string(text);
  return check;
}

}  // namespace

bool NamePattern::Has(PatternField field) const {
  for (const PatternStep& step : steps) {
    if (step.field == field) return true;
  }
  return false;
}

// Which brace a character of a pattern is: "{" and "}", or their
// full-width forms ｛ and ｝, which a Chinese input method types.
enum class Brace { kNone, kOpen, kClose };

Brace BraceAt(std::string_view s, std::size_t i, std::size_t len) {
  if (len == 1) return s[i] == '{' ? Brace::kOpen : s[i] == '}' ? Brace::kClose : Brace::kNone;
  if (static_cast<unsigned char>(s[i]) != text::kFullWidthFormsRow) return Brace::kNone;
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  return trail == 0xFB ? Brace::kOpen : trail == 0xFD ? Brace::kClose : Brace::kNone;
}

// Characters no file name on Windows holds: a pattern that needs one fits
// no video's name.
constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";

PatternCheck CompileNamePattern(std::string_view gbk) {
  gbk = text::TrimView(gbk);
  NamePattern pattern;
  std::string* literal = &pattern.leading;
  std::size_t last_placeholder = std::string_view::npos;  // where the one before began
  for (std::size_t i = 0; i < gbk.size();) {
    const std::size_t len = text::CharLength(gbk, i);
    const Brace brace = BraceAt(gbk, i, len);
    if (brace == Brace::kClose) return Refuse(PatternFault::kStrayClosingBrace, gbk.substr(i, len));
    if (brace == Brace::kNone) {
      if (len == 1 && kNotInFileNames.find(gbk[i]) != std::string_view::npos) {
        return Refuse(PatternFault::kNotInFileNames, gbk.substr(i, 1));
      }
      literal->append(gbk.substr(i, len));
      i += len;
      continue;
    }
    std::size_t close = i + len;
    while (close < gbk.size() &&
           BraceAt(gbk, close, text::CharLength(gbk, close)) != Brace::kClose) {
      close += text::CharLength(gbk, close);
    }
    if (close == gbk.size()) return Refuse(PatternFault::kUnclosedPlaceholder, gbk.substr(i));
    const std::size_t end = close + text::CharLength(gbk, close);
    const std::string_view typed = gbk.substr(i, end - i);
    const Placeholder* p = PlaceholderNamed(gbk.substr(i + len, close - i - len));
    if (p == nullptr) return Refuse(PatternFault::kUnknownPlaceholder, typed);
    if (p->field != PatternField::kSkip && pattern.Has(p->field)) {
      return Refuse(PatternFault::kRepeatedPlaceholder, typed);
    }
    if (!pattern.steps.empty() && literal->empty()) {
      return Refuse(PatternFault::kAdjacentPlaceholders,
                    gbk.substr(last_placeholder, end - last_placeholder));
    }
    if (pattern.steps.size() == kMaxPatternSteps) {
      return Refuse(PatternFault::kTooManyPlaceholders, typed);
    }
    pattern.steps.push_back({p->field, std::string()});
    literal = &pattern.steps.back().literal;
    last_placeholder = i;
    i = end;
  }
  if (!pattern.Has(PatternField::kTitle)) return Refuse(PatternFault::kNoTitle, gbk);
  // Names are read without their extension: ".mpg" at the end fits none.
  if (const std::size_t dot = literal->rfind('.');
      dot != std::string::npos && dot + 1 < literal->size()) {
    const std::string_view after = std::string_view(*literal).substr(dot + 1);
    bool letters = true;
    for (char c : after) letters = letters && std::isalnum(static_cast<unsigned char>(c));
    if (letters) return Refuse(PatternFault::kExtension, std::string_view(*literal).substr(dot));
  }
  PatternCheck check;
  check.pattern = std::move(pattern);
  return check;
}

}  // namespace kscgen
