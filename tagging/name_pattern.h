// A naming pattern of the user's own, for libraries whose names follow none
// of the five templates: {歌名} - {歌手}, {编号}_{歌手}_{歌名},
// {歌手}《{歌名}》, {歌手} {歌名}({语种}). Placeholders stand for the song's
// fields and {*} for text to skip; what lies between them is literal text
// that the name must hold there.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kscgen {

enum class PatternField {
  kSinger,    // {歌手}
  kTitle,     // {歌名}
  kLanguage,  // {语种}
  kStyle,     // {类别}
  kChannel,   // {声道}
  kNumber,    // {编号}: the library's own song number, digits only
  kSkip,      // {*}: any text, read for nothing
};

// One placeholder and the literal text that must follow it (GBK, as typed;
// empty only after the last placeholder).
struct PatternStep {
  PatternField field;
  std::string literal;
};

// The most placeholders a pattern holds.
constexpr std::size_t kMaxPatternSteps = 16;

struct NamePattern {
  std::string leading;  // literal text before the first placeholder (GBK)
  std::vector<PatternStep> steps;

  bool Has(PatternField field) const;
};

enum class PatternFault {
  kNone,
  kNoTitle,               // no {歌名}
  kUnknownPlaceholder,    // text: the placeholder as typed, braces included
  kUnclosedPlaceholder,   // text: from the "{" that is never closed
  kStrayClosingBrace,     // a "}" with no "{" before it
  kRepeatedPlaceholder,   // text: the placeholder given twice ({*} may repeat)
  kAdjacentPlaceholders,  // text: the two placeholders with nothing between them
  kTooManyPlaceholders,   // more than kMaxPatternSteps
  kExtension,             // text: an extension at the end (".mpg"); names are read without it
  kNotInFileNames,        // text: a character no file name holds (| : * ? ...)
};

struct PatternCheck {
  std::optional<NamePattern> pattern;  // when fault is kNone
  PatternFault fault = PatternFault::kNone;
  std::string text;  // GBK: the part of the pattern at fault
};

// Reads a pattern as the user typed it (GBK); full-width braces ｛ ｝ count
// as braces. Blanks at its ends are dropped. Refuses a pattern without
// {歌名}, with an unknown or unclosed placeholder, a field given twice, two
// placeholders with nothing between them (nothing could tell where one
// ends), too many placeholders, an extension at its end, or a character no
// file name can hold.
PatternCheck CompileNamePattern(std::string_view gbk);

}  // namespace kscgen
