// Keyword tables, tried top to bottom. The order matters: 迪斯科舞曲 meets
// "舞曲" before "迪". The song manager has no style for songs sung by more
// than one voice but 对唱, so libraries' 合唱 (合唱歌曲) gives it.
#include "tagging/classification_tables.h"

#include <iterator>

namespace kscgen {
namespace {

using T = KeywordTest;

// 闽南 (Hokkien) gives 台语, the song manager's word for it: Hokkien is not
// Cantonese, and songs filed under 粤语 for it were misfiled. The
// traditional spellings (粵語, 臺語, 韓語), which names from Hong Kong and
// Taiwan use, come last and give what their simplified forms give.
constexpr KeywordRule kLanguageRules[] = {
    {T::kContains, "粤", "粤语"},   {T::kContains, "台", "台语"},   {T::kContains, "英", "英语"},
    {T::kContains, "日", "日语"},   {T::kContains, "韩", "韩语"},   {T::kContains, "其他", "其他"},
    {T::kContains, "其它", "其它"}, {T::kContains, "闽南", "台语"}, {T::kContains, "汉", "国语"},
    {T::kContains, "粵", "粤语"},   {T::kContains, "臺", "台语"},   {T::kContains, "韓", "韩语"},
    {T::kContains, "閩南", "台语"}, {T::kContains, "漢", "国语"},
};

constexpr KeywordRule kStyleRules[] = {
    {T::kContains, "流行", "流行"},         {T::kContains, "怀旧", "怀旧歌"},
    {T::kContains, "对唱", "对唱"},         {T::kContains, "舞曲", "舞曲"},
    {T::kContains, "民歌", "民歌"},         {T::kContains, "迪", "迪斯科"},
    {T::kContainsUpper, "DISCO", "迪斯科"}, {T::kContains, "劲舞", "迪斯科"},
    {T::kContains, "影视", "影视插曲"},     {T::kContains, "戏曲", "戏曲"},
    {T::kContains, "生日", "生日歌"},       {T::kContains, "革命", "革命歌"},
    {T::kContains, "儿歌", "儿歌"},         {T::kContains, "合唱", "对唱"},
};

// For folder names under the template "歌名": they are read by how they begin.
// A folder that begins with no language word gives 其它, not 国语: under this
// template the folder is the only source, and one named 经典 or 国语金曲 says
// nothing sure. (A folder named 国语 gives 其它 too; libraries rely on it.)
constexpr KeywordRule kLanguagePrefixRules[] = {
    {T::kPrefix, "粤", "粤语"},   {T::kPrefix, "台", "台语"}, {T::kPrefix, "英", "英语"},
    {T::kPrefix, "日", "日语"},   {T::kPrefix, "韩", "韩语"}, {T::kContains, "闽南", "台语"},
    {T::kContains, "汉", "国语"},
};

// A folder beginning 怀旧 gives 民歌, not 怀旧歌: the song manager's libraries
// file such folders' songs under 民歌, and a re-run must not move them.
constexpr KeywordRule kStylePrefixRules[] = {
    {T::kPrefix, "怀旧", "民歌"}, {T::kPrefix, "DISC", "迪斯科"}, {T::kPrefix, "劲舞", "迪斯科"},
    {T::kPrefix, "戏曲", "戏曲"}, {T::kPrefix, "生日", "生日歌"}, {T::kPrefix, "革命", "革命歌"},
    {T::kPrefix, "舞曲", "舞曲"}, {T::kPrefix, "儿歌", "儿歌"},   {T::kPrefix, "影视", "影视插曲"},
    {T::kPrefix, "对唱", "对唱"},
};

}  // namespace

const KeywordTable kLanguageTable{kLanguageRules, std::size(kLanguageRules), "国语"};
const KeywordTable kStyleTable{kStyleRules, std::size(kStyleRules), "流行"};
const KeywordTable kLanguagePrefixTable{kLanguagePrefixRules, std::size(kLanguagePrefixRules),
                                        "其它"};
const KeywordTable kStylePrefixTable{kStylePrefixRules, std::size(kStylePrefixRules), nullptr};

}  // namespace kscgen
