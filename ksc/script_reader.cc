#include "ksc/script_reader.h"

#include <algorithm>
#include <cstring>

namespace kscgen {

namespace {

bool IsNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// One line of a KSC file's script, read as the song manager's script reader
// takes it: blanks and tabs anywhere between the parts, the words in either
// case, literals in single or double quotes (a doubled quote inside one is
// one quote).
class ScriptLine {
 public:
  explicit ScriptLine(std::string_view line) : line_(line) {}

  // Whether `w` (ASCII, lower case) comes next, after any blanks; taken if so.
  bool Word(std::string_view w) {
    Blanks();
    if (line_.size() - at_ < w.size()) return false;
    for (std::size_t i = 0; i < w.size(); ++i) {
      if (Lower(line_[at_ + i]) != w[i]) return false;
    }
    at_ += w.size();
    return true;
  }

  // The name next (letters, digits, underscores), in lower case.
  std::string Identifier() {
    Blanks();
    std::string name;
    while (at_ < line_.size() && IsNameByte(line_[at_])) name += Lower(line_[at_++]);
    return name;
  }

  // The quoted literal next, after any blanks. No byte of a GBK character is
  // a quote, so it ends at the first quote that is not doubled.
  std::optional<std::string> Literal() {
    Blanks();
    if (at_ >= line_.size() || (line_[at_] != '\'' && line_[at_] != '"')) return std::nullopt;
    const char quote = line_[at_++];
    std::string value;
    for (; at_ < line_.size(); ++at_) {
      if (line_[at_] != quote) {
        value += line_[at_];
      } else if (at_ + 1 < line_.size() && line_[at_ + 1] == quote) {
        value += quote;
        ++at_;
      } else {
        ++at_;
        return value;
      }
    }
    return std::nullopt;
  }

  std::size_t at() const { return at_; }

  // Whether the statement ends here, with its semicolon (taken if so).
  bool End() { return Word(";"); }

  // What stands before the statement's end (a semicolon, or the line's),
  // blanks around it left out: a value written without quotes. A comment
  // ends it too, and is none of it: the statement is then not whole on its
  // line as kscgen reads it, rather than a value whose rewriting would lose
  // the comment.
  std::string Bare() {
    Blanks();
    std::size_t end = line_.find(';', at_);
    if (end == std::string_view::npos) end = line_.size();
    for (std::string_view opens : {"{", "(*", "//"}) end = std::min(end, line_.find(opens, at_));
    std::size_t last = end;
    while (last > at_ && (line_[last - 1] == ' ' || line_[last - 1] == '\t')) --last;
    std::string value(line_.substr(at_, last - at_));
    at_ = end;
    return value;
  }

 private:
  static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
  void Blanks() {
    while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) ++at_;
  }

  std::string_view line_;
  std::size_t at_ = 0;
};

bool StartsWith(std::string_view line, std::size_t at, std::string_view what) {
  return line.substr(at, what.size()) == what;
}

// Where the character at `at` ends: a GBK character of two bytes takes its
// second too, which may be `{`, `}` or `|` (倉 is 82 7D) and so never opens
// or closes a comment.
std::size_t NextCharacter(std::string_view line, std::size_t at) {
  const auto b = static_cast<unsigned char>(line[at]);
  return b >= 0x81 && b <= 0xFE && at + 1 < line.size() ? at + 2 : at + 1;
}

// Where the script goes on after the block comment `*comment` that `line`
// is in at `at`: past its end, which leaves `*comment` kNone, or at the
// line's end when it goes on in the next line.
std::size_t PastComment(std::string_view line, std::size_t at, CommentState* comment) {
  for (; at < line.size(); at = NextCharacter(line, at)) {
    if (*comment == CommentState::kBrace && line[at] == '}') {
      *comment = CommentState::kNone;
      return at + 1;
    }
    if (*comment == CommentState::kParen && StartsWith(line, at, "*)")) {
      *comment = CommentState::kNone;
      return at + 2;
    }
  }
  return at;
}

// Whether a name may start at `at`: the byte before it is no letter, digit
// or underscore, or may be the second byte of a GBK character (which can
// be a letter) and so is taken for one.
bool StartsName(std::string_view line, std::size_t at) {
  return at == 0 || !IsNameByte(line[at - 1]) ||
         (at >= 2 && static_cast<unsigned char>(line[at - 2]) >= 0x81);
}

// Adds the statement of `karaoke` at `at` in `line`, if it is one, to
// `*statements` as hidden.
void AddHidden(std::string_view line, std::size_t at, std::vector<ScriptStatement>* statements) {
  ScriptStatement inner = ReadStatement(line.substr(at));
  if (inner.key.kind == StatementKind::kNone) return;
  inner.begin += at;
  inner.end += at;
  inner.hidden = true;
  statements->push_back(std::move(inner));
}

// Whether `text` holds a `k` or a `K`.
bool HoldsK(std::string_view text) {
  return std::memchr(text.data(), 'k', text.size()) != nullptr ||
         std::memchr(text.data(), 'K', text.size()) != nullptr;
}

// Where the script goes on after the statement at `start`: past its
// semicolon, or at a comment that starts before it, or at the line's end.
// Quoted literals are passed over whole. A statement of `karaoke` that
// starts a name inside it, after its first word, is added to `*statements`
// as hidden: kscgen must not take the statement for one it may add a line
// beside.
std::size_t PastStatement(std::string_view line, std::size_t start,
                          std::vector<ScriptStatement>* statements) {
  std::size_t at = start;
  while (at < line.size()) {
    const char c = line[at];
    if (c == ';') return at + 1;
    if (c == '{' || (c == '(' && StartsWith(line, at, "(*")) ||
        (c == '/' && StartsWith(line, at, "//"))) {
      return at;
    }
    if (c == '\'' || c == '"') {
      // A doubled quote ends one literal and opens the next: the same.
      const std::size_t close = line.find(c, at + 1);
      if (close == std::string_view::npos) return line.size();
      at = close + 1;
      continue;
    }
    // Only a name that may be `karaoke` is read, so a lyric line costs
    // little more than its walk.
    if ((c == 'k' || c == 'K') && at != start && StartsName(line, at)) {
      AddHidden(line, at, statements);
    }
    at = NextCharacter(line, at);
  }
  return at;
}

}  // namespace

ScriptStatement ReadStatement(std::string_view text) {
  ScriptLine line(text);
  ScriptStatement statement;
  statement.begin = text.find_first_not_of(" \t");
  if (statement.begin == std::string_view::npos) statement.begin = text.size();
  if (!line.Word("karaoke")) return statement;
  if (line.Word(":=")) {
    if (line.Word("createkaraokeobject")) statement.key.kind = StatementKind::kCreate;
    return statement;
  }
  if (!line.Word(".")) return statement;
  std::string name = line.Identifier();
  if (name == "tag" && line.Word("(")) {
    std::optional<std::string> tag = line.Literal();
    if (!tag) return statement;
    statement.key = {StatementKind::kTag, std::move(*tag)};
    if (line.Word(",")) statement.value = line.Literal();
    statement.complete = statement.value && line.Word(")") && line.End();
    statement.end = line.at();
    return statement;
  }
  if (name == "clear") {
    statement.key.kind = StatementKind::kClear;
  } else if (line.Word(":=")) {
    statement.key = {StatementKind::kAssign, std::move(name)};
    statement.value = line.Literal();
    if (!statement.value) statement.value = line.Bare();
    statement.complete = line.End();
    statement.end = line.at();
  } else if (line.Word("(")) {
    statement.key = {StatementKind::kCall, std::move(name)};
  }
  return statement;
}

std::vector<ScriptStatement> ReadLineStatements(std::string_view line, CommentState* comment) {
  std::vector<ScriptStatement> statements;
  std::size_t at = 0;
  bool continued = false;  // the last statement ended at a comment, not its semicolon
  while (at < line.size()) {
    if (*comment != CommentState::kNone) {
      at = PastComment(line, at, comment);
    } else if (line[at] == ' ' || line[at] == '\t') {
      ++at;
    } else if (StartsWith(line, at, "//")) {
      break;
    } else if (line[at] == '{') {
      *comment = CommentState::kBrace;
      ++at;
    } else if (StartsWith(line, at, "(*")) {
      *comment = CommentState::kParen;
      at += 2;
    } else {
      ScriptStatement statement = ReadStatement(line.substr(at));
      // A statement cut short is passed over as one kscgen does not read.
      const std::size_t end = statement.complete ? at + statement.end : std::string_view::npos;
      if (statement.key.kind != StatementKind::kNone) {
        statement.begin += at;
        statement.end += at;
        // After a comment inside a statement (`if a then { … } karaoke.…`)
        // the same statement goes on.
        statement.hidden = continued;
        statements.push_back(std::move(statement));
      }
      // A whole statement of `karaoke` holds another only if a `k` or `K`
      // follows its first word (kscgen's own lines hold none).
      std::size_t next = end;
      if (end == std::string_view::npos || HoldsK(line.substr(at + 7, end - at - 7))) {
        const std::size_t past = PastStatement(line, at, &statements);
        if (end == std::string_view::npos) next = past;
      }
      continued = next < line.size() && line[next - 1] != ';';
      at = next;
    }
  }
  return statements;
}

}  // namespace kscgen
