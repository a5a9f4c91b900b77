#include "ksc/ksc_file.h"

#include <string>

#include "ksc/ksc_script.h"

namespace kscgen {

std::string FormatKscText(const KscValues& values) {
  std::size_t value_bytes = 0;
  for (const std::string& v : values) value_bytes += v.size();
  // Room for the fixed text and every value twice over (a value of quotes
  // doubles in size) up front: this runs once per video, and growing the
  // string piece by piece dominated it.
  std::string out;
  out.reserve(1024 + 2 * value_bytes);
  for (std::size_t i = 0; i < kKscStatementCount; ++i) {
    const KscStatement& line = kKscStatements[i];
    out += line.prefix;
    if (line.has_field) {
      AppendQuoted(values[static_cast<std::size_t>(line.field)], &out);
      out += line.suffix;
    }
    out += "\r\n";
  }
  return out;
}

std::string FormatKscText(const SongInfo& song) { return FormatKscText(KscValuesOf(song)); }

std::optional<std::string> KscDateText(std::string_view ksc_text) {
  return KscScript(std::string(ksc_text)).Value(KscField::kDate);
}

std::optional<std::int64_t> KscSongNumber(std::string_view ksc_text) {
  const std::optional<std::string> number = KscScript(std::string(ksc_text)).Value(KscField::kNumber);
  if (!number) return std::nullopt;
  std::size_t end = 0;
  while (end < number->size() && end < 18 && (*number)[end] >= '0' && (*number)[end] <= '9') ++end;
  if (end == 0) return std::nullopt;
  return std::stoll(number->substr(0, end));
}

}  // namespace kscgen
