// The statements of a KSC file as kscgen writes them: one table of the 28
// lines, which the writer walks to write a new file and the merge reads to
// put a value into a file someone else wrote (a lyric editor's, a person's).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tagging/song_info.h"

namespace kscgen {

// The values kscgen derives for a KSC file; every other statement it writes
// has a fixed value.
enum class KscField {
  kNumber,  // karaoke.internalnumber
  kTitle,
  kAbbrev,
  kSinger,
  kWordCount,
  kLanguage,
  kStyle,
  kChannel,
  kDate,
  kSingerPinyin,
  kVideo,  // karaoke.CommonVideo
};
constexpr std::size_t kKscFieldCount = 11;

// One value per field, GBK, as it goes between the quotes (unquoted).
using KscValues = std::array<std::string, kKscFieldCount>;
// A value or none for each field; by KscField.
using KscOptionalValues = std::array<std::optional<std::string>, kKscFieldCount>;

// The values of `song`'s KSC file; 字数 is the title's byte count.
KscValues KscValuesOf(const SongInfo& song);

// What a statement does to `karaoke`: creates it, clears it, sets a tag,
// assigns to a member or calls a method (`karaoke.add(` times a lyric line).
enum class StatementKind { kNone, kCreate, kClear, kTag, kAssign, kCall };

// What a statement of a KSC file sets: its kind and its name (the tag's
// name, GBK; the member's name in lower case). Two statements with the same
// key set the same thing.
struct StatementKey {
  StatementKind kind = StatementKind::kNone;
  std::string name;
  bool operator==(const StatementKey& o) const { return kind == o.kind && name == o.name; }
};

// One of the 28 lines: `prefix`, then the field's value quoted (when it
// has one), then `suffix`. The line ends are not part of it.
struct KscStatement {
  std::string_view prefix;
  bool has_field;
  KscField field;
  std::string_view suffix;
  StatementKind kind;  // what the line sets, with `name`
  const char* name;
};

// The 28 lines in the order kscgen writes them.
extern const KscStatement kKscStatements[];
extern const std::size_t kKscStatementCount;

// The place of the first of the 28 lines with `key`; none for a statement
// kscgen does not write.
constexpr std::size_t kNoStatement = static_cast<std::size_t>(-1);
std::size_t StatementOrder(const StatementKey& key);

// The line kscgen writes for `field` with `value`, without its line end.
std::string KscLineFor(KscField field, std::string_view value);

// How the song manager's files quote a value: a quote doubled, a control
// byte as a blank. QuoteInto writes it to `out`, which has room for twice
// the value, and returns the bytes written; AppendQuoted appends it.
std::size_t QuoteInto(std::string_view value, char* out);
void AppendQuoted(std::string_view value, std::string* out);

// `value` as a line kscgen writes reads back: control bytes are blanks.
std::string ValueAsWritten(std::string value);

// Whether a statement that gives `held` for `field` gives `value` (as a
// line kscgen writes reads back): byte for byte, but the song number as a
// number, so that zeros in front make no other (`1` is `00001`).
bool GivesValue(KscField field, std::string_view held, std::string_view value);

// The field's name for the user (UTF-8): 编号, 歌名, ... 视频.
const char* KscFieldLabel(KscField field);

}  // namespace kscgen
