#include "tagging/uniform_values.h"

#include <algorithm>

#include "tagging/classification.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

constexpr std::string_view kArrow = " --> ";
constexpr std::string_view kEntryEnd = "; ";

struct KindRow {
  std::string_view label;
  std::vector<const char*> offered;
  // Other names the kind goes by: its label without 歌曲, and the title of
  // the column the preview shows its value in.
  std::vector<std::string_view> names;
};

// "歌 手 名" has one ASCII blank between its characters, so that every label
// is eight bytes wide.
const KindRow kKinds[kUniformKindCount] = {
    {"歌 手 名", {}, {"歌手"}},
    {"歌曲类别",
     {"流行", "舞曲", "戏曲", "民歌", "儿歌", "生日歌", "革命歌", "怀旧歌", "迪斯科", "情侣对唱",
      "影视插曲"},
     {"类别", "风格"}},
    {"歌曲语种", {"国语", "粤语", "台语", "英语", "日语", "韩语", "其它"}, {"语种"}},
    {"歌曲声道", {"0 默认右", "1 右声道", "2 左声道", "3 立体声"}, {"声道"}},
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

std::optional<UniformKind> UniformKindOf(std::string_view kind_text) {
  // A label decides before any other name.
  for (int k = 0; k < kUniformKindCount; ++k) {
    if (text::Contains(kind_text, kKinds[k].label)) return static_cast<UniformKind>(k);
  }
  for (int k = 0; k < kUniformKindCount; ++k) {
    for (std::string_view name : kKinds[k].names) {
      if (text::Contains(kind_text, name)) return static_cast<UniformKind>(k);
    }
  }
  return std::nullopt;
}

UniformEntryParse ParseUniformEntry(std::string_view kind_text, std::string_view value_text) {
  UniformEntryParse parse;
  UniformEntry& e = parse.entry;
  e.kind_text = text::Trim(kind_text);
  e.kind = UniformKindOf(e.kind_text);
  e.value = text::Trim(value_text);
  if (text::HasControlByte(value_text)) {
    parse.error = UniformEntryError::kControlCharacter;
  } else if (!e.kind) {
    parse.error = UniformEntryError::kUnknownKind;
  } else if (e.value.empty()) {
    parse.error = UniformEntryError::kEmptyValue;
  } else if (e.kind == kUniformChannel && !ClassifyChannel(e.value)) {
    parse.error = UniformEntryError::kBadChannel;
  } else if (e.kind == kUniformStyle && !MatchStyle(e.value)) {
    // It would be written as 流行, whatever the names said.
    parse.error = UniformEntryError::kBadStyle;
  } else if (e.kind == kUniformLanguage && !NamesLanguage(e.value)) {
    // It would be written as 国语, over every name's own language.
    parse.error = UniformEntryError::kBadLanguage;
  }
  return parse;
}

std::string UniformEntryText(const UniformEntry& entry) {
  std::string text = entry.kind_text;
  text.append(kArrow).append(entry.value).append(kEntryEnd);
  return text;
}

UniformValues CollectUniformValues(const std::vector<UniformEntry>& entries) {
  UniformValues v;
  bool seen[kUniformKindCount] = {};
  for (const UniformEntry& e : entries) {
    if (!e.kind || seen[*e.kind]) continue;
    seen[*e.kind] = true;
    const std::string_view value = e.value;
    switch (*e.kind) {
      case kUniformSinger:
        v.singer = std::string(value);
        break;
      case kUniformLanguage:
        v.language = ClassifyLanguage(value);
        break;
      case kUniformStyle:
        v.style = ClassifyStyle(value);  // checked when the entry was made
        break;
      case kUniformChannel:
        v.channel = ClassifyChannel(value);  // checked when the entry was made
        break;
      case kUniformKindCount:
        break;
    }
  }
  return v;
}

void ApplyUniformValues(const UniformValues& values, SongInfo& info) {
  if (values.language) info.language = *values.language;
  if (values.style) info.style = *values.style;
  if (values.singer) info.singer = *values.singer;
  if (values.channel) info.channel = *values.channel;
}

}  // namespace kscgen
