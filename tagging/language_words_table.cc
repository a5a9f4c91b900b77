// The words that stand for a language in the fields of a name such as
// 周杰伦-七里香-国语-流行, as large libraries write them: the song manager's
// languages, their common synonyms (普通话, 华语, 汉语, 中文 for 国语; 闽南语;
// 英文), their traditional spellings (國語, 粵語), and the endings 歌曲, 歌
// and 版 (国语歌曲, 粤语版). A field is a language only when it is
// one of these words, so that a title such as 英雄 or 日不落 is never read as
// one. What each word gives comes from the language table.
#include <iterator>

#include "tagging/classification_tables.h"

namespace kscgen {
namespace {

constexpr std::string_view kWords[] = {
    "国语",   "粤语", "台语", "闽南语", "英语",   "日语", "韩语", "普通话", "华语",
    "汉语",   "其他", "其它", "中文",   "英文",   "國語", "粵語", "臺語",   "台語",
    "閩南語", "英語", "日語", "韓語",   "普通話", "華語", "漢語",
};

constexpr std::string_view kEndings[] = {"歌曲", "歌", "版"};

}  // namespace

const WordList kLanguageWords{kWords, std::size(kWords)};
const WordList kWordEndings{kEndings, std::size(kEndings)};

}  // namespace kscgen
