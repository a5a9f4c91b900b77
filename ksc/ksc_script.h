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
#include "ksc/script_reader.h"

namespace kscgen {

// The encoding a KSC file was found in. The song manager reads GBK only, so
// a file in another is written back in GBK.
// kUnrecognised: UTF-16 without a byte-order mark, UTF-32, or other text
// of many NUL bytes, which cannot be told apart from one another safely.
enum class KscEncoding { kGbk, kUtf8, kUtf8WithBom, kUtf16Le, kUtf16Be, kUnrecognised };

// The file's bytes as GBK text: none when they cannot be read as text of
// their encoding, or hold a character GBK lacks (the song manager could not
// read it); `*encoding` says which was found either way. A byte-order mark
// decides; without one, text that is valid UTF-8 and not ASCII is UTF-8
// (GBK text of more than a few characters is almost never valid UTF-8),
// anything else is GBK as it stands (a NUL byte here and there among it
// too), unless a large share of its bytes are NUL.
std::optional<std::string> KscTextAsGbk(std::string_view bytes, KscEncoding* encoding);

class KscScript {
 public:
  // Reads `gbk` into lines at CR LF, LF or CR alone.
  explicit KscScript(std::string gbk);

  // The value of the first statement that sets `field` with a value that
  // can be read; none when none does. A statement in a comment sets nothing.
  const std::optional<std::string>& Value(KscField field) const {
    return values_[static_cast<std::size_t>(field)];
  }

  // The value of the first statement that sets `field` to other than
  // `value` (GivesValue); none when every one that sets it gives `value`
  // (or none sets it).
  std::optional<std::string> ValueOtherThan(KscField field, std::string_view value) const;

  // The file with `values` put in: a statement that sets a field and
  // already gives its value stays byte for byte, however it is spelled; one
  // that does not is written as kscgen writes it, whatever else its line
  // holds kept around it; a field no statement sets gets kscgen's line after
  // the nearest statement that comes before it in kscgen's order (after the
  // end of a block comment it opens). Every other line, every line inside a
  // block comment, and every line end, stays as it is. For a field that
  // `only_over` gives a value (what kscgen wrote before a person changed
  // some of its lines), only the statements still giving that value are
  // written anew: the person's stay as they are.
  std::string Merge(const KscValues& values, const KscOptionalValues& only_over = {}) const;

  // The first line (1-based) whose statement of a value kscgen writes is
  // not whole on it (a value or a semicolon missing: it goes on in the next
  // line, or is cut short); 0 when there is none. Such a file cannot be
  // merged without breaking its script.
  std::size_t incomplete_line() const { return incomplete_line_; }

  // The first line (1-based) with a statement of a value kscgen writes
  // where the song manager's reader takes no statement of its own (after
  // `begin` or `then`, inside an expression); 0 when there is none. What it
  // sets cannot be told, and a line kscgen added for its field might not
  // be the one that counts.
  std::size_t hidden_line() const { return hidden_line_; }

  // The line (1-based) of a block comment that the file does not close; 0
  // when there is none. A line added after it would be part of it.
  std::size_t unclosed_comment_line() const { return unclosed_comment_line_; }

  // Lines timed by `karaoke.add(`, and lines of no statement kscgen writes
  // (blank ones aside): what a merge keeps that kscgen does not write.
  std::size_t lyric_lines() const { return lyric_lines_; }
  std::size_t other_lines() const { return other_lines_; }

 private:
  // A statement kscgen writes (its place among the 28 lines known), where
  // it stands in its line.
  struct Statement {
    std::size_t line = 0;
    std::size_t order = kNoStatement;
    std::optional<KscField> field;
    std::optional<std::string> value;  // of the field
    std::size_t begin = 0;             // in the line
    std::size_t end = 0;
  };
  struct Line {
    std::size_t start = 0;     // in text_
    std::size_t size = 0;      // without the line end
    std::size_t end_size = 0;  // of the line end: 0 (last line), 1 or 2
    std::size_t first = 0;     // its statements: statements_[first, first + count)
    std::size_t count = 0;
    // Inside a block comment at its start or its end: no line goes in there.
    bool starts_in_comment = false;
    bool ends_in_comment = false;
  };

  std::string_view TextOf(const Line& line) const {
    return std::string_view(text_).substr(line.start, line.size);
  }
  // Takes in the statements read from line `index` (the last of lines_).
  void AddStatements(std::size_t index, const std::vector<ScriptStatement>& read);
  // Where a line for `field`, which no line of the file sets, goes: after
  // the line returned (npos: before the first line).
  std::size_t InsertAfter(std::size_t order) const;
  // The line end of a line added after line `after` (npos: before the
  // first): the end of that line, or of the first line that has one; CR LF
  // in a file that has none.
  std::string_view LineEndAfter(std::size_t after) const;
  // Appends `line` with `values` in it to `*out`: as it is where it gives
  // its fields' values, else with only the statements that do not written anew.
  void MergedLine(const Line& line, const KscValues& values, const KscOptionalValues& only_over,
                  std::string* out) const;

  std::string text_;
  std::vector<Line> lines_;
  std::array<std::optional<std::string>, kKscFieldCount> values_;
  std::vector<Statement> statements_;
  std::array<std::vector<std::size_t>, kKscFieldCount> statements_of_;  // that set each field
  std::array<bool, kKscFieldCount> set_{};  // a line sets the field, its value read or not
  std::size_t incomplete_line_ = 0;
  std::size_t hidden_line_ = 0;
  std::size_t unclosed_comment_line_ = 0;
  std::size_t lyric_lines_ = 0;
  std::size_t other_lines_ = 0;
};

}  // namespace kscgen
