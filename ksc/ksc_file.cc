#include "ksc/ksc_file.h"

#include <cstring>
#include <string>
#include <vector>

#include "ksc/ksc_script.h"

namespace kscgen {

namespace {

// Writes the KSC text into a buffer sized for the usual case up front: it
// runs once per video, and growing a string piece by piece dominated it. An
// estimate that falls short costs one more allocation, never a write past
// the end.
class KscWriter {
 public:
  explicit KscWriter(std::size_t capacity) { out_.resize(capacity); }

  void Text(std::string_view text) {
    Reserve(text.size());
    std::memcpy(&out_[size_], text.data(), text.size());
    size_ += text.size();
  }

  // `value` as the inside of a quoted literal.
  void Quoted(std::string_view value) {
    Reserve(2 * value.size());
    size_ += QuoteInto(value, &out_[size_]);
  }

  std::string Finish() {
    out_.resize(size_);
    return std::move(out_);
  }

 private:
  // Room for `more` bytes after what is written.
  void Reserve(std::size_t more) {
    if (out_.size() - size_ < more) out_.resize(2 * out_.size() + more);
  }

  std::string out_;
  std::size_t size_ = 0;
};

// The 28 lines as runs of fixed text, each followed by a field's value but
// the last: a line's suffix, its line end and the next line's prefix are
// one run, copied at once.
struct KscLayout {
  struct Run {
    std::string text;
    KscField field;  // the value that follows the text
  };
  std::vector<Run> runs;
  std::string tail;         // after the last value
  std::size_t fixed_bytes;  // of all the runs and the tail
};

KscLayout MakeLayout() {
  KscLayout layout;
  std::string text;
  for (std::size_t i = 0; i < kKscStatementCount; ++i) {
    const KscStatement& line = kKscStatements[i];
    text.append(line.prefix);
    if (line.has_field) {
      layout.runs.push_back({std::move(text), line.field});
      text = std::string(line.suffix);
    }
    text.append("\r\n");
  }
  layout.tail = std::move(text);
  layout.fixed_bytes = layout.tail.size();
  for (const KscLayout::Run& run : layout.runs) layout.fixed_bytes += run.text.size();
  return layout;
}

// The 28 lines with the value `value_of(field)` gives each field.
template <typename ValueOf>
std::string Format(ValueOf value_of, std::size_t value_bytes) {
  static const KscLayout kLayout = MakeLayout();
  // The fixed text, and every value twice over (a value of quotes doubles):
  // no more than that, so that a song's text (some 800 bytes) stays within
  // the sizes the allocator keeps at hand for each thread, rather than
  // taking (and giving back) a larger block for every video.
  KscWriter out(kLayout.fixed_bytes + 2 * value_bytes);
  for (const KscLayout::Run& run : kLayout.runs) {
    out.Text(run.text);
    out.Quoted(value_of(run.field));
  }
  out.Text(kLayout.tail);
  return out.Finish();
}

}  // namespace

std::string FormatKscText(const KscValues& values) {
  std::size_t value_bytes = 0;
  for (const std::string& v : values) value_bytes += v.size();
  return Format(
      [&values](KscField f) -> std::string_view { return values[static_cast<std::size_t>(f)]; },
      value_bytes);
}

std::string FormatKscText(const SongInfo& s) {
  const std::string word_count =
      std::to_string(s.title.size());  // bytes: two per Chinese character
  const std::size_t value_bytes = s.number.size() + s.title.size() + s.abbrev.size() +
                                  s.singer.size() + s.language.size() + s.style.size() +
                                  s.channel.size() + s.date_text.size() + s.singer_pinyin.size() +
                                  s.video_name.size();
  return Format(
      [&](KscField f) -> std::string_view {
        switch (f) {
          case KscField::kNumber:
            return s.number;
          case KscField::kTitle:
            return s.title;
          case KscField::kAbbrev:
            return s.abbrev;
          case KscField::kSinger:
            return s.singer;
          case KscField::kWordCount:
            return word_count;
          case KscField::kLanguage:
            return s.language;
          case KscField::kStyle:
            return s.style;
          case KscField::kChannel:
            return s.channel;
          case KscField::kDate:
            return s.date_text;
          case KscField::kSingerPinyin:
            return s.singer_pinyin;
          case KscField::kVideo:
            return s.video_name;
        }
        return {};
      },
      value_bytes);
}

std::optional<std::string_view> KscOwnValue(std::string_view text, KscField field) {
  for (std::size_t i = 0; i < kKscStatementCount; ++i) {
    const KscStatement& line = kKscStatements[i];
    if (!line.has_field || line.field != field) continue;
    std::size_t at = text.find(line.prefix);
    if (at == std::string_view::npos) return std::nullopt;
    at += line.prefix.size();
    const std::size_t end = text.find(line.suffix, at);
    if (end == std::string_view::npos) return std::nullopt;
    // A quote (written doubled) or a line end is past what kscgen writes.
    const std::string_view value = text.substr(at, end - at);
    if (value.find_first_of("'\r\n") != std::string_view::npos) return std::nullopt;
    return value;
  }
  return std::nullopt;
}

std::optional<std::string> KscDateText(std::string_view ksc_text) {
  return KscScript(std::string(ksc_text)).Value(KscField::kDate);
}

std::optional<std::int64_t> KscSongNumber(std::string_view ksc_text) {
  const std::optional<std::string> number =
      KscScript(std::string(ksc_text)).Value(KscField::kNumber);
  if (!number) return std::nullopt;
  std::size_t end = 0;
  while (end < number->size() && end < 18 && (*number)[end] >= '0' && (*number)[end] <= '9') ++end;
  if (end == 0) return std::nullopt;
  return std::stoll(number->substr(0, end));
}

}  // namespace kscgen
