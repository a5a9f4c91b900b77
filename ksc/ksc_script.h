// A KSC file that already exists, read line by line: the same `karaoke`
// script is written by lyric editors and KTV players (timed lyric lines,
// the song's name, effects) and corrected by hand, so kscgen puts its
// values into the file's own lines and leaves every other line where and as
// it is.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ksc/ksc_statements.h"

namespace kscgen {

// The encoding a KSC file was found in. The song manager reads GBK only, so
// a file in another is written back in GBK.
enum class KscEncoding { kGbk, kUtf8, kUtf8WithBom, kUtf16Le, kUtf16Be };

// The file's bytes as GBK text: none when they cannot be read as text of
// their encoding, or hold a character GBK lacks (the song manager could not
// read it); `*encoding` says which was found either way. A byte-order mark
// decides; without one, text that is valid UTF-8 and not ASCII is UTF-8
// (GBK text of more than a few characters is almost never valid UTF-8),
// anything else is GBK as it stands.
std::optional<std::string> KscTextAsGbk(std::string_view bytes, KscEncoding* encoding);

// The statement a line holds, read as the song manager's script reader takes
// it (blanks or tabs between the parts, words in either case, single or
// double quotes, a doubled quote one quote), and the value it gives a field:
// a tag's second literal, the member's literal, or the number's text.
struct ScriptStatement {
  StatementKey key;
  std::optional<std::string> value;
  // Where the statement stands in the line: from its first word to its
  // semicolon, which `complete` says it has (a statement without one goes
  // on in the next line, or is cut short).
  std::size_t begin = 0;
  std::size_t end = 0;
  bool complete = false;
};
ScriptStatement ReadStatement(std::string_view line);

class KscScript {
 public:
  // Reads `gbk` into lines at CR LF, LF or CR alone.
  explicit KscScript(std::string gbk);

  // The value of the first line that sets `field` with a value that can be
  // read; none when no line does.
  const std::optional<std::string>& Value(KscField field) const {
    return values_[static_cast<std::size_t>(field)];
  }

  // The value of the first line that sets `field` to other than `value`;
  // none when every line that sets it gives `value` (or none sets it).
  std::optional<std::string> ValueOtherThan(KscField field, std::string_view value) const;

  // The file with `values` put in: a line that sets a field and already
  // gives its value stays byte for byte, however it is spelled; one that
  // does not is written as kscgen writes it; a field no line sets gets kscgen's
  // line after the nearest statement that comes before it in kscgen's
  // order. Every other line, and every line end, stays as it is.
  std::string Merge(const KscValues& values) const;

  // The first line (1-based) whose statement of a value kscgen writes is
  // not whole on it (a value or a semicolon missing: it goes on in the next
  // line, or is cut short); 0 when there is none. Such a file cannot be
  // merged without breaking its script.
  std::size_t incomplete_line() const { return incomplete_line_; }

  // Lines timed by `karaoke.add(`, and lines of no statement kscgen writes
  // (blank ones aside): what a merge keeps that kscgen does not write.
  std::size_t lyric_lines() const { return lyric_lines_; }
  std::size_t other_lines() const { return other_lines_; }

 private:
  struct Line {
    std::size_t start = 0;             // in text_
    std::size_t size = 0;              // without the line end
    std::size_t end_size = 0;          // of the line end: 0 (last line), 1 or 2
    std::size_t order = kNoStatement;  // among the 28 lines
    std::optional<KscField> field;
    std::optional<std::string> value;  // of the field
    std::size_t statement_begin = 0;   // of the field's statement, in the line
    std::size_t statement_end = 0;
  };

  std::string_view TextOf(const Line& line) const {
    return std::string_view(text_).substr(line.start, line.size);
  }
  // Where a line for `field`, which no line of the file sets, goes: after
  // the line returned (npos: before the first line).
  std::size_t InsertAfter(std::size_t order) const;
  // The line end of a line added after line `after` (npos: before the
  // first): the end of that line, or of the first line that has one; CR LF
  // in a file that has none.
  std::string_view LineEndAfter(std::size_t after) const;
  // Appends `line` with `values` in it to `*out`: as it is where it gives
  // its field's value, else with only its statement written anew.
  void MergedLine(const Line& line, const KscValues& values, std::string* out) const;

  std::string text_;
  std::vector<Line> lines_;
  std::array<std::optional<std::string>, kKscFieldCount> values_;
  std::array<std::vector<std::size_t>, kKscFieldCount> lines_of_;  // the lines that set each field
  std::array<bool, kKscFieldCount> set_{};  // a line sets the field, its value read or not
  std::size_t incomplete_line_ = 0;
  std::size_t lyric_lines_ = 0;
  std::size_t other_lines_ = 0;
};

}  // namespace kscgen
