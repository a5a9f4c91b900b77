// Reading the statements of a KSC file's lines as the song manager's script
// reader takes them: Pascal-like statements, several to a line if need be,
// and comments (`//` to the line's end, `{ ... }` and `(* ... *)` over any
// number of lines) that hold no statement, whatever they look like.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ksc/ksc_statements.h"

namespace kscgen {

// The statement a line holds, read as the song manager's script reader
// takes it (blanks or tabs between the parts, words in either case, single
// or double quotes, a doubled quote one quote), and the value it gives a
// field: a tag's second literal, the member's literal, or the number's text.
struct ScriptStatement {
  StatementKey key;
  std::optional<std::string> value;
  // Where the statement stands in the line: from its first word to its
  // semicolon, which `complete` says it has (a statement without one goes
  // on in the next line, or is cut short).
  std::size_t begin = 0;
  std::size_t end = 0;
  bool complete = false;
  // Found where the song manager's reader takes no statement of its own:
  // after other words of a statement (`begin`, `if … then`), inside an
  // expression, or after a comment that stands inside a statement. What it
  // sets depends on what it stands in, which kscgen does not read.
  bool hidden = false;
};
ScriptStatement ReadStatement(std::string_view line);

// Whether a line starts (or ends) in the script or inside a block comment,
// and which: one opened by `{` ends at `}`, one opened by `(*` at `*)`.
enum class CommentState { kNone, kBrace, kParen };

// The statements of `line` (GBK), in their order, each where it stands in
// the line; `*comment` says whether the line starts inside a block comment
// and is left saying whether it ends inside one. A statement's words stand
// in the script, not in a comment or a quoted literal: `{`, `(*` or `//`
// between quotes opens no comment, and `//` inside a block comment does
// not hide its end. A statement of `karaoke` that stands inside another is
// among them too, `hidden`.
std::vector<ScriptStatement> ReadLineStatements(std::string_view line, CommentState* comment);

}  // namespace kscgen
