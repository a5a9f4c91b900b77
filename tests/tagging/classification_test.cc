#include "tagging/classification.h"

#include <gtest/gtest.h>

namespace kscgen {
namespace {

struct Row {
  const char* text;
  const char* value;
};

TEST(ClassifyLanguageTest, FirstKeywordAnywhereDecides) {
  const Row rows[] = {
      {"粤语", "粤语"},     {"台湾闽南语", "台语"}, {"闽南语", "台语"}, {"英日合唱", "英语"},
      {"其他", "其他"},     {"其它", "其它"},       {"汉语", "国语"},   {"国语)", "国语"},
      {"生日快乐", "日语"}, {"韩国", "韩语"},       {"", "国语"},       {"普通话", "国语"},
      {"日韩金曲", "日语"}, {"韩日对唱", "日语"},
  };
  for (const Row& r : rows) EXPECT_EQ(ClassifyLanguage(r.text), r.value) << r.text;
}

TEST(ClassifyStyleTest, FirstKeywordAnywhereDecides) {
  const Row rows[] = {
      {"流行舞曲", "流行"},   {"怀旧对唱", "怀旧歌"}, {"民歌对唱", "对唱"},
      {"迪斯科舞曲", "舞曲"}, {"disco", "迪斯科"},    {"Disco", "迪斯科"},
      {"DISCO", "迪斯科"},    {"劲舞团", "迪斯科"},   {"影视金曲", "影视插曲"},
      {"经典老歌", "流行"},   {"情侣对唱", "对唱"},   {"革命歌曲", "革命歌"},
      {"儿歌", "儿歌"},       {"生日快乐", "生日歌"}, {"", "流行"},
  };
  for (const Row& r : rows) EXPECT_EQ(ClassifyStyle(r.text), r.value) << r.text;
}

TEST(ClassifyLanguagePrefixTest, ReadsHowAFolderNameBegins) {
  const Row rows[] = {
      {"粤语金曲", "粤语"}, {"经典粤语", "其它"}, {"闽南语", "台语"}, {"汉语", "国语"},
      {"国语", "其它"},     {"粤", "粤语"},       {"  台语", "台语"}, {"", "其它"},
  };
  for (const Row& r : rows) EXPECT_EQ(ClassifyLanguagePrefix(r.text), r.value) << r.text;
}

TEST(ClassifyStylePrefixTest, GivesNoValueWithoutAMatch) {
  const Row rows[] = {
      {"怀旧金曲", "民歌"}, {"DISCO", "迪斯科"},  {"DISCO舞曲", "迪斯科"},
      {"生日歌", "生日歌"}, {"对唱情歌", "对唱"}, {"影视", "影视插曲"},
  };
  for (const Row& r : rows) EXPECT_EQ(ClassifyStylePrefix(r.text), r.value) << r.text;
  for (const char* none : {"disco", "迪斯科", "经典对唱", "流行", "", "对"}) {
    EXPECT_EQ(ClassifyStylePrefix(none), std::nullopt) << none;
  }
}

// A row with no value names none.
struct MaybeRow {
  const char* text;
  const char* value;  // nullptr: none
};

std::optional<std::string> Value(const MaybeRow& r) {
  return r.value ? std::optional<std::string>(r.value) : std::nullopt;
}

TEST(ClassifyChannelTest, LeadingDigitsFromZeroToThreeElseASide) {
  const MaybeRow rows[] = {
      {"0", "0"},      {"3", "3"},       {"2 左声道", "2"},        {"0 默认右", "0"},
      {"3x", "3"},     {"03", "3"},      {"左声道", "2"},          {"右", "1"},
      {"立体声", "3"}, {"9左声道", "2"}, {"31", nullptr},          {"9", nullptr},
      {"4", nullptr},  {"中", nullptr},  {"伴唱", nullptr},        {"left", nullptr},
      {"", nullptr},   {"-1", nullptr},  {"99999999999", nullptr},
  };
  for (const MaybeRow& r : rows) EXPECT_EQ(ClassifyChannel(r.text), Value(r)) << r.text;
}

TEST(LanguageWordTest, AFieldIsALanguageOnlyAsAWordOnItsOwn) {
  const MaybeRow rows[] = {
      {"国语", "国语"},     {"粤语", "粤语"},        {"闽南语", "台语"}, {"台语歌", "台语"},
      {"英语歌曲", "英语"}, {"普通话", "国语"},      {"华语", "国语"},   {"汉语", "国语"},
      {"其它", "其它"},     {"日语", "日语"},        {"国语版", "国语"}, {"我的国语", nullptr},
      {"國語", "国语"},     {"粵語", "粤语"},        {"英文", "英语"},   {"中文歌", "国语"},
      {"英雄", nullptr},    {"日不落", nullptr},     {"MTV", nullptr},   {"", nullptr},
      {"国", nullptr},      {"粤语歌曲歌", nullptr},
  };
  for (const MaybeRow& r : rows) EXPECT_EQ(LanguageWordOf(r.text), Value(r)) << r.text;
}

TEST(NamesLanguageTest, AKeywordOrAWordForMandarin) {
  for (const char* yes :
       {"国语", "普通话", "华语", "粤语版", "台湾", "English英文", "其他", "汉"}) {
    EXPECT_TRUE(NamesLanguage(yes)) << yes;
  }
  for (const char* no : {"MTV", "Live", "原版", "演", "DJ版", "", "国"}) {
    EXPECT_FALSE(NamesLanguage(no)) << no;
  }
}

TEST(FieldWordTest, AStyleOrAChannelOnlyAsAWordOfItsOwn) {
  const MaybeRow styles[] = {
      {"怀旧", "怀旧歌"},      {"怀旧歌", "怀旧歌"},  {"DISCO", "迪斯科"},
      {"disco版", "迪斯科"},   {"儿歌", "儿歌"},      {"流行歌曲", "流行"},
      {"迪克牛仔版", nullptr}, {"经典怀旧", nullptr}, {"", nullptr},
  };
  for (const MaybeRow& r : styles) EXPECT_EQ(StyleWordOf(r.text), Value(r)) << r.text;
  const MaybeRow channels[] = {
      {"R", "1"},        {"l", "2"},     {"左", "2"},     {"右声道", "1"},
      {"立体声", "3"},   {"1", nullptr}, {"3D", nullptr}, {"《左耳》主题曲", nullptr},
      {"Live", nullptr}, {"", nullptr},
  };
  for (const MaybeRow& r : channels) EXPECT_EQ(ChannelWordOf(r.text), Value(r)) << r.text;
}

TEST(MatchStyleTest, NoValueWhereClassifyStyleWouldDefault) {
  EXPECT_EQ(MatchStyle("流行歌曲"), "流行");
  EXPECT_EQ(MatchStyle("Disco"), "迪斯科");
  EXPECT_EQ(MatchStyle("经典"), std::nullopt);
  EXPECT_EQ(MatchStyle(""), std::nullopt);
}

}  // namespace
}  // namespace kscgen
