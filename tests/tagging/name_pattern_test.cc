// Compiling a pattern of the user's own: what it takes apart, and what it
// refuses.
#include "tagging/name_pattern.h"

#include <gtest/gtest.h>

namespace kscgen {
namespace {

struct RefusedPattern {
  const char* pattern;
  PatternFault fault;
  const char* text;
};

TEST(NamePatternTest, RefusesPatternsThatCannotBeRead) {
  const RefusedPattern cases[] = {
      {"{歌手}-", PatternFault::kNoTitle, "{歌手}-"},
      {"", PatternFault::kNoTitle, ""},
      {"{歌手}-{歌手名}", PatternFault::kUnknownPlaceholder, "{歌手名}"},
      {"{歌名}_{}", PatternFault::kUnknownPlaceholder, "{}"},
      {"{歌手}{歌名}", PatternFault::kAdjacentPlaceholders, "{歌手}{歌名}"},
      {"{编号} {*}{歌名}", PatternFault::kAdjacentPlaceholders, "{*}{歌名}"},
      {"{歌手}-{歌名", PatternFault::kUnclosedPlaceholder, "{歌名"},
      {"歌名}", PatternFault::kStrayClosingBrace, "}"},
      {"{歌名}-{歌名}", PatternFault::kRepeatedPlaceholder, "{歌名}"},
      // 聖 ends in the byte of "}": only a whole character closes.
      {"{歌手}-{聖歌}", PatternFault::kUnknownPlaceholder, "{聖歌}"},
      {"{歌手}-{歌名}{聖", PatternFault::kUnclosedPlaceholder, "{聖"},
      {"{歌手}-{歌名}.mpg", PatternFault::kExtension, ".mpg"},
      {"{歌手}|{歌名}", PatternFault::kNotInFileNames, "|"},
      {"{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{*}-{歌名}",
       PatternFault::kTooManyPlaceholders, "{歌名}"},
  };
  for (const RefusedPattern& c : cases) {
    SCOPED_TRACE(c.pattern);
    const PatternCheck check = CompileNamePattern(c.pattern);
    EXPECT_FALSE(check.pattern.has_value());
    EXPECT_EQ(static_cast<int>(check.fault), static_cast<int>(c.fault));
    EXPECT_EQ(check.text, c.text);
  }
  // {*} may stand more than once; blanks inside braces are allowed.
  const PatternCheck ok = CompileNamePattern(" {*}_{ 歌手 }_{*}_{歌名} ");
  ASSERT_TRUE(ok.pattern.has_value());
  EXPECT_EQ(ok.pattern->leading, "");
  ASSERT_EQ(ok.pattern->steps.size(), 4u);
  EXPECT_EQ(ok.pattern->steps[1].field, PatternField::kSinger);
  EXPECT_EQ(ok.pattern->steps[1].literal, "_");
  EXPECT_EQ(ok.pattern->steps[3].literal, "");
}

}  // namespace
}  // namespace kscgen
