// Names read by a pattern of the user's own, and what every way of reading
// a name notes about a title that may be misread.
#include "tagging/pattern_reading.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "tagging/file_name.h"
#include "tagging/known_singers.h"
#include "tagging/name_pattern.h"
#include "text/gbk_text.h"
#include "tests/tagging/naming_shorthand.h"

namespace kscgen {
namespace {

using namespace shorthand;

struct PatternCase {
  const char* pattern;
  FolderRole folder_role;
  const char* base_name;
  const char* singer;
  const char* title;
  const char* language;
  const char* style;
  const char* channel;
  const char* name_number;
  bool fits;
};

// Names read by the patterns users write; the folder is 粤语金曲 under
// 语种名, else 歌手们.
const PatternCase kNamesByPattern[] = {
    // Title first; blanks around the literal text are tolerant.
    {"{歌名} - {歌手}", R0, "勇气 - 梁静茹", "梁静茹", "勇气", "国语", "流行", "0", "", true},
    {"{歌名} - {歌手}", R0, "勇气-梁静茹", "梁静茹", "勇气", "国语", "流行", "0", "", true},
    {"{歌名} - {歌手}", R0, "勇气 － 梁静茹[粤语]", "梁静茹", "勇气", "粤语", "流行", "0", "",
     true},
    {"{歌名} - {歌手}", R0, "【KTV】勇气 - 梁静茹", "梁静茹", "勇气", "国语", "流行", "0", "",
     true},
    // A number first.
    {"{编号}_{歌手}_{歌名}", R0, "0153_梁静茹_勇气", "梁静茹", "勇气", "国语", "流行", "0", "0153",
     true},
    {"{编号}_{歌手}_{歌名}", R0, "0153_梁静茹_勇气(MTV)[台语][R]", "梁静茹", "勇气", "台语", "流行",
     "1", "0153", true},
    {"{编号}_{歌手}_{歌名}", R0, "A153_梁静茹_勇气", "佚名", "A153_梁静茹_勇气", "国语", "流行",
     "0", "", false},
    // Literal brackets, ASCII or full-width alike.
    {"{歌手}《{歌名}》", R0, "梁静茹《勇气》", "梁静茹", "勇气", "国语", "流行", "0", "", true},
    {"{歌手}《{歌名}》", R0, "梁静茹《勇气》[粤语]", "梁静茹", "勇气", "粤语", "流行", "0", "",
     true},
    {"{歌手} {歌名}({语种})", R0, "梁静茹 勇气(粤语)", "梁静茹", "勇气", "粤语", "流行", "0", "",
     true},
    {"{歌手} {歌名}({语种})", R0, "梁静茹 勇气（台语）", "梁静茹", "勇气", "台语", "流行", "0", "",
     true},
    // A blank separator needs a blank.
    {"{歌手} {歌名}", R0, "梁静茹勇气", "佚名", "梁静茹勇气", "国语", "流行", "0", "", false},
    {"{歌手} {歌名}", R1, "梁静茹勇气", "歌手们", "梁静茹勇气", "国语", "流行", "0", "", false},
    // A name that does not fit, whose fields after the title are read.
    {"{歌手}《{歌名}》", R0, "梁静茹-勇气-粤语", "佚名", "梁静茹-勇气", "粤语", "流行", "0", "",
     false},
    {"{歌手}《{歌名}》", R0, "勇气(粤语)", "佚名", "勇气", "粤语", "流行", "0", "", false},
    // A full-width blank is a blank too, in the pattern as in the name.
    {"{歌手}　{歌名}", R0, "梁静茹勇气", "佚名", "梁静茹勇气", "国语", "流行", "0", "", false},
    {"{歌手}　{歌名}", R0, "梁静茹　勇气", "梁静茹", "勇气", "国语", "流行", "0", "", true},
    {"{歌手}　{歌名}", R0, "梁静茹 勇气", "梁静茹", "勇气", "国语", "流行", "0", "", true},
    // Skipped text, and every field.
    {"{*}-{歌手}-{歌名}", R0, "K0153-梁静茹-勇气", "梁静茹", "勇气", "国语", "流行", "0", "", true},
    {"{歌名}-{歌手}-{语种}-{类别}-{声道}", R0, "勇气-梁静茹-国语-怀旧-L", "梁静茹", "勇气", "国语",
     "怀旧歌", "2", "", true},
    // A dash inside a bracket is no literal's.
    {"{歌手}-{歌名}", R0, "梁静茹(A-B)-勇气", "梁静茹(A-B)", "勇气", "国语", "流行", "0", "", true},
    // The folder gives what the pattern does not name.
    {"{歌名}", R1, "勇气", "歌手们", "勇气", "国语", "流行", "0", "", true},
    {"{歌名}", R0, "勇气", "佚名", "勇气", "国语", "流行", "0", "", true},
    {"{歌手}-{歌名}", R2, "梁静茹-勇气", "梁静茹", "勇气", "粤语", "流行", "0", "", true},
    {"{歌手}-{歌名}", R2, "梁静茹-勇气[台语]", "梁静茹", "勇气", "台语", "流行", "0", "", true},
    // Literal text of its own before the first placeholder.
    {"第{编号}首 {歌手}-{歌名}", R0, "第12首 梁静茹-勇气", "梁静茹", "勇气", "国语", "流行", "0",
     "12", true},
    // Full-width braces; brackets of any kind match a bracket.
    {"【｛编号｝】{歌手}-{歌名}", R0, "[0153]梁静茹-勇气", "梁静茹", "勇气", "国语", "流行", "0",
     "0153", true},
    {"{歌手} {歌名}({语种})", R0, "梁静茹 勇气[粤语]", "梁静茹", "勇气", "粤语", "流行", "0", "",
     true},
    // A literal with blanks is found with them first; doubled separators
    // stay out of the fields.
    {"{歌名} - {歌手}", R0, "A-Z - 大学生", "大学生", "A-Z", "国语", "流行", "0", "", true},
    {"{歌名} - {歌手}", R0, "勇气--梁静茹", "梁静茹", "勇气", "国语", "流行", "0", "", true},
    {"{编号}_{歌手}_{歌名}", R0, "0153__梁静茹_勇气", "梁静茹", "勇气", "国语", "流行", "0", "0153",
     true},
    // With {编号}, no other number is read; after the last literal,
    // fields are read as after a title.
    {"{编号}_{歌手}_{歌名}", R0, "0153_梁静茹_勇气_2004", "梁静茹", "勇气_2004", "国语", "流行",
     "0", "0153", true},
    {"{歌手}《{歌名}》", R0, "梁静茹《勇气》-粤语-2046", "梁静茹", "勇气", "粤语", "流行", "0",
     "2046", true},
};

TEST(NamePatternTest, ReadsNamesByTheUsersPattern) {
  for (const PatternCase& c : kNamesByPattern) {
    SCOPED_TRACE(std::string("pattern [") + c.pattern + "] name [" + c.base_name + "]");
    const PatternCheck check = CompileNamePattern(c.pattern);
    ASSERT_TRUE(check.pattern.has_value());
    SongInfo info;
    NameFindings findings;
    const char* folder = c.folder_role == 2 ? "粤语金曲" : "歌手们";
    ParseSongName(*check.pattern, c.folder_role, c.base_name, folder, info, &findings);
    EXPECT_EQ(info.singer, c.singer);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.language, c.language);
    EXPECT_EQ(info.style, c.style);
    EXPECT_EQ(info.channel, c.channel);
    EXPECT_EQ(info.name_number, c.name_number);
    // The note says the whole name is the title only when it is.
    const NameFindingKind mismatch = std::string(c.title) == c.base_name
                                         ? NameFindingKind::kPatternMismatch
                                         : NameFindingKind::kPatternMismatchRead;
    bool mismatch_noted = false;
    for (const NameFinding& f : findings) {
      mismatch_noted = mismatch_noted || f.kind == mismatch;
    }
    EXPECT_EQ(mismatch_noted, !c.fits);
  }
}

// Whether `word` stands in `text` with no ASCII letter or digit glued to
// either side (103962 does not stand in MB302511103962).
bool Standing(const std::string& text, std::string_view word) {
  auto alnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || !alnum(text[at - 1])) && (end == text.size() || !alnum(text[end]))) return true;
  }
  return false;
}

// Names put together from the pieces real libraries use, in any order, with
// any separators and brackets: whatever the reading, a title that still
// holds a bracket or a language word carries a note.
TEST(NameReadingProperty, NoBracketOrLanguageWordInATitleWithoutANote) {
  const char* const pieces[] = {"梁静茹", "A-Lin", "F.I.R.", "勇气",     "Live Forever", "1874",
                                "后来",   "MTV",   "KTV",    "高清",     "伴奏",         "103962",
                                "12",     "国语",  "粤语",   "台语",     "普通话",       "怀旧",
                                "R",      "左",    "x",      "MB302511", "《遇见》"};
  const char* const languages[] = {"国语", "粤语", "台语", "普通话", "英语", "闽南语"};
  const char* const separators[] = {"-", "－", "_", " ", "--", " - ", "－－", ""};
  const char* const brackets[][2] = {{"(", ")"},   {"（", "）"}, {"[", "]"},
                                     {"［", "］"}, {"【", "】"}, {"(", ""}};
  const char* const bracket_chars[] = {"(", ")", "（", "）", "[", "]", "［", "］", "【", "】"};
  std::vector<NamePattern> patterns;
  for (const char* p :
       {"{歌名} - {歌手}", "{编号}_{歌手}_{歌名}", "{歌手}《{歌名}》", "{歌手} {歌名}({语种})"}) {
    patterns.push_back(*CompileNamePattern(p).pattern);
  }
  const std::initializer_list<const char*> auto_words = {"MTV",  "KTV",    "高清",
                                                         "伴奏", "103962", "MB302511"};
  KnownSingers known;
  known.Learn("梁静茹-勇气-国语", kRoleNone, "");
  std::mt19937 random(20261207);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  for (int round = 0; round < 20000; ++round) {
    std::string name;
    const std::size_t count = 1 + pick(6);
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) name += separators[pick(std::size(separators))];
      const char* piece = pieces[pick(std::size(pieces))];
      if (pick(3) == 0) {
        const auto& b = brackets[pick(std::size(brackets))];
        name += std::string(b[0]) + piece + b[1];
      } else {
        name += piece;
      }
    }
    for (int scheme = 0; scheme < 10; ++scheme) {
      SongInfo info;
      NameFindings findings;
      if (scheme < 5) {
        ParseSongName(*NamingTemplateOf(scheme), R0, name, "", info, &findings);
      } else if (scheme < 9) {
        ParseSongName(patterns[scheme - 5], R0, name, "", info, &findings);
      } else {
        ParseSongName(kTemplateAuto, R0, name, "", info, &findings, &known);
      }
      bool doubtful = false;
      for (const char* b : bracket_chars) doubtful = doubtful || text::Contains(info.title, b);
      for (const char* l : languages) doubtful = doubtful || text::Contains(info.title, l);
      // 自动识别 reads tag words and codes wherever they stand.
      for (const char* w : scheme == 9 ? auto_words : std::initializer_list<const char*>{}) {
        doubtful = doubtful || Standing(info.title, w);
      }
      if (doubtful && findings.empty()) {
        ADD_FAILURE() << "scheme " << scheme << ": [" << name << "] gives the title [" << info.title
                      << "] without a note";
        return;
      }
    }
  }
}

}  // namespace
}  // namespace kscgen
