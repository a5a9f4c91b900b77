#include "tagging/uniform_values.h"

#include "tagging/classification.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

constexpr std::string_view kArrow = " --> ";
constexpr std::string_view kEntryEnd = "; ";
constexpr std::string_view kLineEnd = "\r\n";

struct KindRow {
  std::string_view label;
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
  return std::string(kKinds[kind].label);
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

namespace {

// Calls `visit(kind_text, value)` for each entry of the list text, in order,
// until it returns true. The value runs from the entry's first " --> " to its
// closing "; ", whatever its length and whatever it holds.
template <typename Visit>
void ForEachEntry(std::string_view list_text, Visit visit) {
  while (!list_text.empty()) {
    std::size_t end = list_text.find(kLineEnd);
    std::string_view entry = list_text.substr(0, end);
    list_text = end == std::string_view::npos ? std::string_view() : list_text.substr(end + 2);

    std::size_t arrow = entry.find(kArrow);
    if (arrow == std::string_view::npos) continue;
    std::string_view value = entry.substr(arrow + kArrow.size());
    if (value.size() >= kEntryEnd.size() &&
        value.substr(value.size() - kEntryEnd.size()) == kEntryEnd) {
      value.remove_suffix(kEntryEnd.size());
    }
    if (visit(entry.substr(0, arrow), value)) return;
  }
}

}  // namespace

std::optional<std::string> ExtractUniformValue(std::string_view list_text, std::string_view label) {
  // Entry by entry, so that a label typed inside an earlier entry's value is
  // not taken for that kind.
  std::optional<std::string> found;
  ForEachEntry(list_text, [&](std::string_view kind, std::string_view value) {
    if (kind.find(label) == std::string_view::npos) return false;
    found.emplace(value);
    return true;
  });
  return found;
}

void ApplyUniformValues(std::string_view list_text, TSongInfo& info) {
  // One pass over the list: the first entry of each kind counts.
  std::optional<std::string_view> values[kUniformKindCount];
  ForEachEntry(list_text, [&](std::string_view kind, std::string_view value) {
    for (int k = 0; k < kUniformKindCount; ++k) {
      if (!values[k] && kind.find(kKinds[k].label) != std::string_view::npos) values[k] = value;
    }
    return false;
  });
  if (values[kUniformLanguage]) info.Language = ClassifyLanguage(*values[kUniformLanguage]);
  if (values[kUniformStyle]) info.Style = ClassifyStyle(*values[kUniformStyle]);
  if (values[kUniformSinger]) info.Singer = std::string(*values[kUniformSinger]);
  // Only the digit of "2 左声道" reaches the song; a value that does not begin
  // with one would put half a character into the file.
  if (const auto& channel = values[kUniformChannel]) {
    if (!channel->empty() && (*channel)[0] >= '0' && (*channel)[0] <= '9') {
      info.Channel = std::string(channel->substr(0, 1));
    }
  }
}

}  // namespace kscgen
