// The library's own numbers in names: a last field of four to nine digits,
// a number before the singer, and the years that look like numbers.
#include <gtest/gtest.h>

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

struct NumberCase {
  NamingTemplate naming_template;
  const char* base_name;
  const char* title;
  const char* language;
  const char* name_number;
};

TEST(FullNameTest, ALastFieldOfFourOrMoreDigitsIsTheLibrarysOwnNumber) {
  const NumberCase cases[] = {
      {T4, "王菲-传奇-国语-204518", "传奇", "国语", "204518"},
      {T4, "张学友-一路上有你(MTV)-粤语-330127", "一路上有你", "粤语", "330127"},
      {T2, "刘若英-很爱很爱你-国语-100233", "很爱很爱你", "国语", "100233"},
      {T3, "王菲-传奇_粤语_0153", "传奇", "粤语", "0153"},
      {T1, "王菲-传奇-204518", "传奇", "国语", "204518"},
      {T4, "王菲-传奇 204518", "传奇", "国语", "204518"},
      {T4, "[0153]王菲-传奇", "传奇", "国语", "0153"},
      {T4, "0153-王菲-传奇", "传奇", "国语", "0153"},
      {T4, "0153 王菲-传奇", "传奇", "国语", "0153"},
      {T4, "张学友-吻別-粵語-123456", "吻別", "粤语", "123456"},
      // Ten digits and more are no number of the song manager's.
      {T4, "王菲-传奇-1234567890", "传奇-1234567890", "国语", ""},
      // Three digits are no catalogue number; one field stays the title.
      {T4, "王菲-传奇-123", "传奇-123", "国语", ""},
      {T4, "陈奕迅-1874", "1874", "国语", ""},
      {T1, "五月天-2012", "2012", "国语", ""},
      // Only the last field: one inside the title is the title's.
      {T4, "王菲-2046-传奇", "2046-传奇", "国语", ""},
      // Template 0 reads the title only.
      {T0, "传奇-204518", "传奇-204518", "国语", ""},
      // A year from 2000 on: the number after a dash, the title's after a
      // blank; past 2099 no year.
      {T4, "王菲-传奇-2046", "传奇", "国语", "2046"},
      {T4, "王菲-传奇 2046", "传奇 2046", "国语", ""},
      {T4, "王菲-传奇 2099", "传奇 2099", "国语", ""},
      {T4, "王菲-传奇 2100", "传奇", "国语", "2100"},
      // A number before the fields is no last field: the title keeps it.
      {T4, "王菲-传奇-204518-粤语", "传奇-204518", "粤语", ""},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(std::string("template ") + std::to_string(c.naming_template) + " name [" +
                 c.base_name + "]");
    SongInfo info = ParseFull(c.naming_template, R0, c.base_name);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.language, c.naming_template == 0 ? "国语" : c.language);
    EXPECT_EQ(info.name_number, c.name_number);
  }
}

}  // namespace
}  // namespace kscgen
