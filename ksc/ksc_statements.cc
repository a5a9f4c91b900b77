#include "ksc/ksc_statements.h"

#include <cstring>

#include "text/gbk_text.h"

namespace kscgen {

namespace {

using F = KscField;
using K = StatementKind;

}  // namespace

// The song manager's own files have these lines, quirks and all: the object
// created twice, the 流行 tag twice, no blank after the number's ":=".
const KscStatement kKscStatements[] = {
    {"karaoke := CreateKaraokeObject;", false, F::kNumber, "", K::kCreate, ""},
    {"karaoke.internalnumber :=", true, F::kNumber, " ;", K::kAssign, "internalnumber"},
    {"karaoke.rows := 2;", false, F::kNumber, "", K::kAssign, "rows"},
    {"karaoke := CreateKaraokeObject;", false, F::kNumber, "", K::kCreate, ""},
    {"karaoke.clear;", false, F::kNumber, "", K::kClear, ""},
    {"", false, F::kNumber, "", K::kNone, ""},
    {"// 歌曲附加信息(便于检索)", false, F::kNumber, "", K::kNone, ""},
    {"karaoke.tag('歌名', '", true, F::kTitle, "');", K::kTag, "歌名"},
    {"karaoke.tag('缩写', '", true, F::kAbbrev, "');", K::kTag, "缩写"},
    {"karaoke.tag('歌手', '", true, F::kSinger, "');", K::kTag, "歌手"},
    {"karaoke.tag('字数', '", true, F::kWordCount, "');", K::kTag, "字数"},
    {"karaoke.tag('语种', '", true, F::kLanguage, "');", K::kTag, "语种"},
    {"karaoke.tag('歌类', '男人');", false, F::kNumber, "", K::kTag, "歌类"},
    {"karaoke.tag('电影', 'false');", false, F::kNumber, "", K::kTag, "电影"},
    {"karaoke.tag('风格', '", true, F::kStyle, "');", K::kTag, "风格"},
    {"karaoke.tag('流行', 'true');", false, F::kNumber, "", K::kTag, "流行"},
    {"karaoke.tag('音量', '80');", false, F::kNumber, "", K::kTag, "音量"},
    {"karaoke.tag('声道', '", true, F::kChannel, "');", K::kTag, "声道"},
    {"karaoke.tag('语音', '0');", false, F::kNumber, "", K::kTag, "语音"},
    {"karaoke.tag('流行', 'true');", false, F::kNumber, "", K::kTag, "流行"},
    {"karaoke.tag('介质', 'true');", false, F::kNumber, "", K::kTag, "介质"},
    {"karaoke.tag('时间', '", true, F::kDate, "');", K::kTag, "时间"},
    {"karaoke.tag('歌星拼音', '", true, F::kSingerPinyin, "');", K::kTag, "歌星拼音"},
    {"karaoke.mtvmode :=true;", false, F::kNumber, "", K::kAssign, "mtvmode"},
    {"karaoke.videofilename := '';", false, F::kNumber, "", K::kAssign, "videofilename"},
    {"karaoke.audiofilename := '*.wav';", false, F::kNumber, "", K::kAssign, "audiofilename"},
    {"karaoke.XSDVideoMode := 4;", false, F::kNumber, "", K::kAssign, "xsdvideomode"},
    {"karaoke.CommonVideo := '", true, F::kVideo, "';", K::kAssign, "commonvideo"},
};
const std::size_t kKscStatementCount = sizeof(kKscStatements) / sizeof(kKscStatements[0]);

KscValues KscValuesOf(const SongInfo& s) {
  return {s.number,    s.title, s.abbrev,  s.singer,    std::to_string(s.title.size()),
          s.language,  s.style, s.channel, s.date_text, s.singer_pinyin,
          s.video_name};
}

std::size_t StatementOrder(const StatementKey& key) {
  if (key.kind == StatementKind::kNone) return kNoStatement;
  for (std::size_t i = 0; i < kKscStatementCount; ++i) {
    if (kKscStatements[i].kind == key.kind && key.name == kKscStatements[i].name) return i;
  }
  return kNoStatement;
}

std::size_t QuoteInto(std::string_view value, char* out) {
  // Most values hold neither quotes nor control bytes: copied whole.
  unsigned special = 0;  // summed without a branch, so the loop runs wide
  for (char c : value) {
    const auto b = static_cast<unsigned char>(c);
    special |= static_cast<unsigned>(b == '\'') | static_cast<unsigned>(b < 0x20) |
               static_cast<unsigned>(b == 0x7F);
  }
  if (special == 0) {
    if (!value.empty()) std::memcpy(out, value.data(), value.size());
    return value.size();
  }
  std::size_t n = 0;
  for (char c : value) {
    if (c == '\'') {
      out[n++] = '\'';
      out[n++] = '\'';
    } else {
      out[n++] = text::IsControlByte(static_cast<unsigned char>(c)) ? ' ' : c;
    }
  }
  return n;
}

void AppendQuoted(std::string_view value, std::string* out) {
  const std::size_t at = out->size();
  out->resize(at + 2 * value.size());
  out->resize(at + QuoteInto(value, out->data() + at));
}

std::string ValueAsWritten(std::string value) {
  for (char& c : value) {
    if (text::IsControlByte(static_cast<unsigned char>(c))) c = ' ';
  }
  return value;
}

std::string KscLineFor(KscField field, std::string_view value) {
  for (std::size_t i = 0; i < kKscStatementCount; ++i) {
    const KscStatement& s = kKscStatements[i];
    if (!s.has_field || s.field != field) continue;
    std::string line(s.prefix);
    AppendQuoted(value, &line);
    line += s.suffix;
    return line;
  }
  return std::string();
}

namespace {

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Digits without the zeros in front, at any length.
std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

}  // namespace

bool GivesValue(KscField field, std::string_view held, std::string_view value) {
  if (field == KscField::kNumber && IsDigits(held) && IsDigits(value)) {
    return WithoutLeadingZeros(held) == WithoutLeadingZeros(value);
  }
  return held == value;
}

const char* KscFieldLabel(KscField field) {
  static const char* const kLabels[kKscFieldCount] = {u8"编号", u8"歌名",     u8"缩写", u8"歌手",
                                                      u8"字数", u8"语种",     u8"风格", u8"声道",
                                                      u8"时间", u8"歌星拼音", u8"视频"};
  return kLabels[static_cast<std::size_t>(field)];
}

}  // namespace kscgen
