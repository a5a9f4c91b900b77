#include "app/engine/written_record.h"

#include <algorithm>
#include <optional>

#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

namespace {

// One line a file: its name, then its values, separated by tabs. Values hold
// no control bytes (the KSC writer puts blanks in their place); a name that
// holds a tab or a line break is not recorded.
constexpr std::string_view kHeader = "kscgen written values 1";

bool Recordable(std::string_view s) {
  return std::none_of(s.begin(), s.end(),
                      [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
}

// The name as the song manager reads it: GBK; a name that cannot be read
// as GBK is its own bytes.
std::string Key(const std::string& name) {
  text::DecodedName decoded = text::DecodeFileName(name);
  return decoded.problem == text::NameProblem::kNone ? std::move(decoded.gbk) : name;
}

// The next line of `*bytes`, taken off it: a line ends at LF, CR LF or CR
// alone (a record saved again by an editor on Windows, or an old Mac). None
// when no whole line is left (the last one cut short).
std::optional<std::string_view> NextLine(std::string_view* bytes) {
  const std::size_t end = bytes->find_first_of("\r\n");
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view line = bytes->substr(0, end);
  const bool crlf = (*bytes)[end] == '\r' && end + 1 < bytes->size() && (*bytes)[end + 1] == '\n';
  bytes->remove_prefix(end + (crlf ? 2 : 1));
  return line;
}

}  // namespace

bool WrittenRecord::FoldingLess::operator()(const std::string& x, const std::string& y) const {
  return text::CompareFoldingCase(x, y) < 0;
}

bool WrittenRecord::Load(std::string_view bytes) {
  Clear();
  // An editor that saves it as UTF-8 may put a byte-order mark in front.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  const std::optional<std::string_view> header = NextLine(&bytes);
  // Another version's record, or no record at all: what it holds is not
  // known, so none of it is taken.
  bool whole = header && *header == kHeader;
  while (whole && !bytes.empty()) {
    const std::optional<std::string_view> line = NextLine(&bytes);
    whole = line && TakeLine(*line);
  }
  if (!whole) Clear();
  return whole;
}

bool WrittenRecord::TakeLine(std::string_view line) {
  // kscgen writes no NUL (no name holds one, and values hold no control
  // bytes); one here is a damaged file.
  if (line.find('\0') != std::string_view::npos) return false;
  const std::size_t name_end = line.find('\t');
  if (name_end == 0 || name_end == std::string_view::npos) return false;
  if (static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) != kKscFieldCount) {
    return false;
  }
  files_[Key(std::string(line.substr(0, name_end)))] = Entry{std::string(line)};
  return true;
}

const KscValues* WrittenRecord::Find(const std::string& name) {
  const auto found = files_.find(Key(name));
  if (found == files_.end()) return nullptr;
  found->second.seen = true;
  std::string_view rest = found->second.line;
  rest.remove_prefix(rest.find('\t') + 1);
  for (std::string& value : found_) {
    const std::size_t tab = rest.find('\t');
    value.assign(rest.substr(0, tab));
    rest.remove_prefix(tab == std::string_view::npos ? rest.size() : tab + 1);
  }
  return &found_;
}

void WrittenRecord::Set(const std::string& name, const KscValues& values) {
  if (!Recordable(name) || !std::all_of(values.begin(), values.end(),
                                        [](const std::string& v) { return Recordable(v); })) {
    changed_ = files_.erase(Key(name)) != 0 || changed_;
    return;
  }
  std::string line = name;
  for (const std::string& v : values) line.append(1, '\t').append(v);
  auto [at, fresh] = files_.try_emplace(Key(name), Entry{line, true});
  at->second.seen = true;
  if (!fresh && at->second.line == line) return;
  at->second.line = std::move(line);
  changed_ = true;
}

std::string WrittenRecord::Bytes() const {
  std::string out(kHeader);
  out += '\n';
  for (const auto& [key, entry] : files_) {
    out += entry.line;
    out += '\n';
  }
  return out;
}

}  // namespace kscgen
