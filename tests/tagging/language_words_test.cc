// Every word of the language-word table, read as a field after a title
// and in a bracket of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "tagging/classification_tables.h"
#include "tagging/file_name.h"
#include "tests/tagging/naming_shorthand.h"

namespace kscgen {
namespace {

using namespace shorthand;

SongInfo ParseFull(NamingTemplate naming_template, FolderRole folder_role, const char* base_name) {
  SongInfo info;
  ParseSongName(naming_template, folder_role, base_name, "", info);
  return info;
}

// What each word of the language-word table gives: words for Mandarin give
// 国语, Hokkien 台语, English 英语, and a traditional spelling what its
// simplified form gives.
struct WordLanguage {
  std::string_view word;
  const char* language;
};

const WordLanguage kWordLanguages[] = {
    {"国语", "国语"}, {"粤语", "粤语"}, {"台语", "台语"},   {"闽南语", "台语"}, {"英语", "英语"},
    {"日语", "日语"}, {"韩语", "韩语"}, {"普通话", "国语"}, {"华语", "国语"},   {"汉语", "国语"},
    {"其他", "其他"}, {"其它", "其它"}, {"中文", "国语"},   {"英文", "英语"},   {"國語", "国语"},
    {"粵語", "粤语"}, {"臺語", "台语"}, {"台語", "台语"},   {"閩南語", "台语"}, {"英語", "英语"},
    {"日語", "日语"}, {"韓語", "韩语"}, {"普通話", "国语"}, {"華語", "国语"},   {"漢語", "国语"},
};

TEST(FullNameTest, EveryLanguageWordNamesItsLanguageAfterTheTitleAndInABracket) {
  ASSERT_EQ(std::size(kWordLanguages), kLanguageWords.size);  // a row for every word
  for (std::size_t i = 0; i < kLanguageWords.size; ++i) {
    const std::string word(kLanguageWords.words[i]);
    SCOPED_TRACE("word [" + word + "]");
    const auto* row = std::find_if(std::begin(kWordLanguages), std::end(kWordLanguages),
                                   [&](const WordLanguage& w) { return w.word == word; });
    ASSERT_NE(row, std::end(kWordLanguages));
    for (const std::string& field : {word, word + "歌曲", word + "歌"}) {
      SongInfo info = ParseFull(T2, R0, ("王菲-红豆-" + field).c_str());
      EXPECT_EQ(info.title, "红豆") << field;
      EXPECT_EQ(info.language, row->language) << field;
    }
    SongInfo info = ParseFull(T2, R0, ("王菲-红豆(" + word + ")").c_str());
    EXPECT_EQ(info.title, "红豆");
    EXPECT_EQ(info.language, row->language);
  }
}

}  // namespace
}  // namespace kscgen
