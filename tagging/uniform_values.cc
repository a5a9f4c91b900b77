#include "tagging/uniform_values.h"

#include "tagging/classification.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

constexpr std::string_view kArrow = " --> ";
constexpr std::string_view kEntryEnd = "; ";
constexpr std::string_view kLineEnd = "\r\n";

struct KindRow {
  const char* label;
  std::vector<const char*> offered;
};

// "歌 手 名" has one ASCII blank between its characters, so that every label
// is eight bytes wide.
const KindRow kKinds[kUniformKindCount] = {
    {"歌 手 名", {}},
    {"歌曲类别",
     {"流行", "舞曲", "戏曲", "民歌", "儿歌", "生日歌", "革命歌", "怀旧歌", "迪斯科", "情侣对唱",
      "影视插曲"}},
    {"歌曲语种", {"国语", "粤语", "台语", "英语", "日语", "韩语", "其它"}},
    {"歌曲声道", {"0 默认右", "1 右声道", "2 左声道", "3 立体声"}},
};

}  // namespace

std::string UniformKindLabel(int kind) {
  if (kind < 0 || kind >= kUniformKindCount) return {};
  return kKinds[kind].label;
}

std::vector<std::string> UniformValuesOffered(int kind) {
  if (kind < 0 || kind >= kUniformKindCount) return {};
  return {kKinds[kind].offered.begin(), kKinds[kind].offered.end()};
}

std::optional<std::string> MakeUniformEntry(std::string_view kind_text,
                                            std::string_view value_text) {
  std::string value = text::Trim(value_text);
  if (value.empty()) return std::nullopt;
  std::string entry = text::Trim(kind_text);
  entry.append(kArrow).append(value).append(kEntryEnd);
  return entry;
}

std::string JoinUniformList(const std::vector<std::string>& entries) {
  std::string out;
  for (const std::string& entry : entries) out.append(entry).append(kLineEnd);
  return out;
}

std::optional<std::string> ExtractUniformValue(std::string_view list_text,
                                               std::string_view label) {
  // Entry by entry, so that a label typed inside an earlier entry's value is
  // not taken for that kind, and a value is taken whole however long it is.
  while (!list_text.empty()) {
    std::size_t end = list_text.find(kLineEnd);
    std::string_view entry = list_text.substr(0, end);
    list_text = end == std::string_view::npos ? std::string_view() : list_text.substr(end + 2);

    std::size_t arrow = entry.find(kArrow);
    if (arrow == std::string_view::npos) continue;
    if (entry.substr(0, arrow).find(label) == std::string_view::npos) continue;
    std::string_view value = entry.substr(arrow + kArrow.size());
    if (value.size() >= kEntryEnd.size() &&
        value.substr(value.size() - kEntryEnd.size()) == kEntryEnd) {
      value.remove_suffix(kEntryEnd.size());
    }
    return std::string(value);
  }
  return std::nullopt;
}

void ApplyUniformValues(std::string_view list_text, TSongInfo& info) {
  if (list_text.empty()) return;
  if (auto v = ExtractUniformValue(list_text, kKinds[kUniformLanguage].label)) {
    info.Language = ClassifyLanguage(*v);
  }
  if (auto v = ExtractUniformValue(list_text, kKinds[kUniformStyle].label)) {
    info.Style = ClassifyStyle(*v);
  }
  if (auto v = ExtractUniformValue(list_text, kKinds[kUniformSinger].label)) {
    info.Singer = *v;
  }
  // Only the digit of "2 左声道" reaches the song; a value that does not begin
  // with one would put half a character into the file.
  if (auto v = ExtractUniformValue(list_text, kKinds[kUniformChannel].label)) {
    if (!v->empty() && (*v)[0] >= '0' && (*v)[0] <= '9') info.Channel = v->substr(0, 1);
  }
}

}  // namespace kscgen
