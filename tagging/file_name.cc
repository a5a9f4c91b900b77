#include "tagging/file_name.h"

#include "tagging/classification.h"
#include "text/gbk_text.h"

namespace kscgen {
namespace {

using text::Pos;
using text::Trim;
using text::TrimView;

constexpr std::string_view kWideDash = "－";
constexpr std::string_view kAsciiOpen = "(";
constexpr std::string_view kWideOpen = "（";
constexpr std::string_view kWideClose = "）";
constexpr std::size_t kNone = std::string_view::npos;

// What one character of a name is to the parser.
enum class Mark { kOther, kAsciiDash, kWideDash, kUnderscore, kOpen, kClose };

Mark MarkOf(std::string_view s, std::size_t i, std::size_t len) {
  if (len == 1) {
    switch (s[i]) {
      case '-':
        return Mark::kAsciiDash;
      case '_':
        return Mark::kUnderscore;
      case '(':
        return Mark::kOpen;
      case ')':
        return Mark::kClose;
      default:
        return Mark::kOther;
    }
  }
  // Byte by byte rather than through memcmp: every character of a name
  // passes here several times.
  auto is = [&](std::string_view wide) { return s[i] == wide[0] && s[i + 1] == wide[1]; };
  if (is(kWideDash)) return Mark::kWideDash;
  if (is(kWideOpen)) return Mark::kOpen;
  if (is(kWideClose)) return Mark::kClose;
  return Mark::kOther;
}

bool IsFieldSeparator(Mark m) {
  return m == Mark::kAsciiDash || m == Mark::kWideDash || m == Mark::kUnderscore;
}

void Note(NameFindings* findings, NameFindingKind kind, std::string_view text = {}) {
  if (findings) findings->push_back({kind, std::string(text)});
}

// One bracket of a title part: where it opens, where its fields start, and
// where it ends (after its closing bracket, or at the end when left open).
struct BracketSpan {
  std::size_t open = 0;
  std::size_t content = 0;
  std::size_t end = 0;
  bool closed = false;
};

// The first bracket that opens at or after `from`, outside any other; a
// bracket inside it closes before it does.
bool NextBracket(std::string_view s, std::size_t from, BracketSpan* span) {
  std::size_t depth = 0;
  for (std::size_t i = from; i < s.size();) {
    const std::size_t len = text::CharLength(s, i);
    const Mark m = MarkOf(s, i, len);
    i += len;
    if (m == Mark::kOpen) {
      if (depth++ == 0) {
        span->open = i - len;
        span->content = i;
      }
    } else if (m == Mark::kClose && depth > 0 && --depth == 0) {
      span->end = i;
      span->closed = true;
      return true;
    }
  }
  if (depth == 0) return false;
  span->end = s.size();
  span->closed = false;
  return true;
}

// Reads, from the end of `text`, the fields that large libraries write after
// the title (七里香-国语-流行-2), split at "-", "－" or "_" outside brackets:
// first the channel (when `with_channel`), then the style, then the
// language, each at most once and each only where the field names one; the
// first field that names nothing ends the reading, and the first `keep`
// fields are never read. Returns how many leading bytes of `text` stay
// unread (before the separator of the first field read).
std::size_t ReadTrailingFields(std::string_view text, bool with_channel, std::size_t keep,
                               SongInfo& info) {
  // At most three fields are read, and the one before them ends the unread
  // part: the last four fields are all that is kept.
  struct Field {
    std::size_t begin = 0;
    std::size_t end = 0;
  };
  constexpr std::size_t kKept = 4;
  Field last[kKept];
  std::size_t count = 0;  // fields so far; field k is last[k % kKept]
  std::size_t depth = 0;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = text::CharLength(text, i);
    const Mark m = MarkOf(text, i, len);
    if (m == Mark::kOpen) {
      ++depth;
    } else if (m == Mark::kClose && depth > 0) {
      --depth;
    } else if (depth == 0 && IsFieldSeparator(m)) {
      last[count++ % kKept] = {begin, i};
      begin = i + len;
    }
    i += len;
  }
  last[count++ % kKept] = {begin, text.size()};

  enum Slot { kChannel, kStyle, kLanguage, kSlots };
  int slot = with_channel ? kChannel : kStyle;
  std::size_t first_read = count;
  while (first_read > keep && slot < kSlots) {
    const Field& f = last[(first_read - 1) % kKept];
    const std::string_view field = TrimView(text.substr(f.begin, f.end - f.begin));
    bool read = false;
    for (; slot < kSlots && !read; ++slot) {
      std::optional<std::string> value;
      std::string* to = nullptr;
      switch (slot) {
        case kChannel:
          value = ClassifyChannel(field);
          to = &info.channel;
          break;
        case kStyle:
          value = MatchStyle(field);
          to = &info.style;
          break;
        case kLanguage:
          value = LanguageWordOf(field);
          to = &info.language;
          break;
      }
      if (value) {
        *to = std::move(*value);
        read = true;
      }
    }
    if (!read) break;
    --first_read;
  }
  if (first_read == count) return text.size();
  return first_read == 0 ? 0 : last[(first_read - 1) % kKept].end;
}

// What is left of `s` once separators and blanks at its start are removed.
std::string_view WithoutLeadingSeparators(std::string_view s) {
  s = TrimView(s);
  while (!s.empty() && IsFieldSeparator(MarkOf(s, 0, text::CharLength(s, 0)))) {
    s = TrimView(s.substr(text::CharLength(s, 0)));
  }
  return s;
}

std::string JoinFields(const std::vector<std::string>& fields, std::size_t from) {
  std::string joined;
  for (std::size_t i = from; i < fields.size(); ++i) {
    if (i > from) joined.append(kWideDash);
    joined.append(fields[i]);
  }
  return joined;
}

// A bracket that names a language, read field by field: language, style and
// (template 4) channel.
void ReadBracketFields(int naming_template, const std::vector<std::string>& fields, SongInfo& info,
                       NameFindings* findings) {
  const std::size_t reads = naming_template == kTemplateSingerTitleLanguageStyleChannel ? 3 : 2;
  info.language = ClassifyLanguage(fields[0]);
  if (fields.size() > 1 && !fields[1].empty()) {
    if (std::optional<std::string> style = MatchStyle(fields[1])) {
      info.style = std::move(*style);
    } else {
      Note(findings, NameFindingKind::kUnknownStyle, fields[1]);
    }
  }
  if (reads > 2 && fields.size() > 2 && !fields[2].empty()) {
    if (std::optional<std::string> channel = ClassifyChannel(fields[2])) {
      info.channel = std::move(*channel);
    } else {
      Note(findings, NameFindingKind::kUnknownChannel, fields[2]);
    }
  }
  if (fields.size() > reads) {
    Note(findings, NameFindingKind::kExtraFields, JoinFields(fields, reads));
  }
}

// Templates 3 and 4: 歌手－歌名(语种－类别) and 歌手－歌名(语种－类别－声道),
// and the same values written as fields after the title (歌手-歌名-语种-类别).
// The title ends before the first bracket. The first bracket whose first
// field names a language gives the values; brackets that name none are tags
// ((MTV), (Live), (演)), and then the fields after the last of them do.
void ReadFullName(int naming_template, std::string_view title_part, SongInfo& info,
                  NameFindings* findings) {
  const bool with_channel = naming_template == kTemplateSingerTitleLanguageStyleChannel;
  BracketSpan bracket;
  if (!NextBracket(title_part, 0, &bracket)) {
    info.title = Trim(title_part.substr(0, ReadTrailingFields(title_part, with_channel, 1, info)));
    return;
  }
  info.title = Trim(title_part.substr(0, bracket.open));
  BracketSpan last;
  for (bool more = true; more; more = NextBracket(title_part, last.end, &bracket)) {
    last = bracket;
    if (!bracket.closed) Note(findings, NameFindingKind::kUnclosedBracket);
    BracketFields bf = SplitBracketFields(title_part.substr(bracket.content));
    if (!bf.fields.empty() && NamesLanguage(bf.fields[0])) {
      ReadBracketFields(naming_template, bf.fields, info, findings);
      return;
    }
  }
  const std::string_view after = title_part.substr(last.end);
  const std::size_t unread = ReadTrailingFields(after, with_channel, 0, info);
  const std::string_view rest = WithoutLeadingSeparators(after.substr(0, unread));
  if (!rest.empty()) Note(findings, NameFindingKind::kUnreadText, rest);
}

// Template 2: 歌手－歌名(语种). The whole bracket part is classified.
void ReadLanguageBracket(std::string_view title_part, SongInfo& info, NameFindings* findings) {
  TitleAndBracket bracket = SplitBracket(title_part);
  info.title = std::move(bracket.title);
  info.language = ClassifyLanguage(bracket.bracket_part);
  if (Pos(kAsciiOpen, title_part) == 0 && Pos(kWideOpen, title_part) == 0) return;
  BracketFields bf = SplitBracketFields(bracket.bracket_part);
  if (!bf.closed) Note(findings, NameFindingKind::kUnclosedBracket);
  if (!bf.fields.empty() && !bf.fields[0].empty() && !NamesLanguage(bracket.bracket_part)) {
    Note(findings, NameFindingKind::kUnknownLanguage, bf.fields[0]);
  }
  if (bf.fields.size() > 1) Note(findings, NameFindingKind::kExtraFields, JoinFields(bf.fields, 1));
}

// The folder name stands for the singer, language, style or date added.
// Under the template "歌名" the names say nothing but the title, so the folder
// is read by how it begins; under the others by keywords anywhere in it.
void ApplyFolderRole(int naming_template, int folder_role, std::string_view folder_name,
                     SongInfo& info) {
  switch (folder_role) {
    case kRoleNone:
      if (naming_template == kTemplateTitle) info.singer = kUnknownSinger;
      break;
    case kRoleSinger:
      if (naming_template == kTemplateTitle) info.singer = std::string(folder_name);
      break;
    case kRoleLanguage:
      // Template 2's bracket part names the language of each song itself.
      if (naming_template == kTemplateTitle) {
        info.language = ClassifyLanguagePrefix(folder_name);
      } else if (naming_template == kTemplateSingerTitle) {
        info.language = ClassifyLanguage(folder_name);
      }
      break;
    case kRoleStyle:
      if (naming_template == kTemplateTitle) {
        if (auto style = ClassifyStylePrefix(folder_name)) info.style = *style;
      } else {
        info.style = ClassifyStyle(folder_name);
      }
      break;
    case kRoleDateAdded:
      info.date_text = std::string(folder_name);
      break;
    default:
      break;
  }
}

}  // namespace

BracketFields SplitBracketFields(std::string_view bracket_part) {
  BracketFields result;
  std::vector<std::string>& fields = result.fields;
  if (bracket_part.empty()) return result;
  fields.reserve(4);  // language, style, channel, and rarely more
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bracket_part.size()) {
    const std::size_t len = text::CharLength(bracket_part, i);
    const Mark m = MarkOf(bracket_part, i, len);
    if (m == Mark::kClose) {
      result.closed = true;
      break;
    }
    if (m == Mark::kAsciiDash || m == Mark::kWideDash) {
      fields.emplace_back(TrimView(bracket_part.substr(start, i - start)));
      start = i + len;
    }
    i += len;
  }
  fields.emplace_back(TrimView(bracket_part.substr(start, i - start)));
  return result;
}

namespace {

// Splits at the first "－" outside brackets, else at the first "-" outside
// brackets: a dash between an opening bracket and its closing bracket (or
// the end, for a bracket left open) is part of a field, never a separator
// (Beyond-富士山下(国语－流行)). With neither, the singer is empty and the
// title part is the whole text. Both parts are trimmed.
struct SingerTitleView {
  std::string_view singer;
  std::string_view title_part;
  bool separated = false;
};

SingerTitleView SplitView(std::string_view text) {
  std::size_t depth = 0;
  std::size_t wide = kNone;
  std::size_t ascii = kNone;
  for (std::size_t i = 0; i < text.size() && wide == kNone;) {
    const std::size_t len = text::CharLength(text, i);
    switch (MarkOf(text, i, len)) {
      case Mark::kOpen:
        ++depth;
        break;
      case Mark::kClose:
        if (depth > 0) --depth;
        break;
      case Mark::kWideDash:
        if (depth == 0) wide = i;
        break;
      case Mark::kAsciiDash:
        if (depth == 0 && ascii == kNone) ascii = i;
        break;
      default:
        break;
    }
    i += len;
  }
  SingerTitleView split;
  const std::size_t at = wide != kNone ? wide : ascii;
  if (at == kNone) {
    split.title_part = TrimView(text);
    return split;
  }
  split.separated = true;
  split.singer = TrimView(text.substr(0, at));
  split.title_part = TrimView(text.substr(at + (wide != kNone ? kWideDash.size() : 1)));
  return split;
}

}  // namespace

TitleAndBracket SplitBracket(std::string_view title_part) {
  const std::size_t q1 = Pos(kAsciiOpen, title_part);
  const std::size_t q2 = Pos(kWideOpen, title_part);
  if (q1 == 0 && q2 == 0) return {Trim(title_part), std::string()};
  const std::size_t at = q2 > q1 ? q2 : q1;
  const std::size_t width = q2 > q1 ? kWideOpen.size() : kAsciiOpen.size();
  return {Trim(title_part.substr(0, at - 1)), std::string(title_part.substr(at - 1 + width))};
}

void ParseSongName(int naming_template, int folder_role, std::string_view base_name,
                   std::string_view folder_name, SongInfo& info, NameFindings* findings) {
  base_name = TrimView(base_name);
  folder_name = TrimView(folder_name);
  if (naming_template == kTemplateTitle) {
    info.title = std::string(base_name);
    ApplyFolderRole(naming_template, folder_role, folder_name, info);
    return;
  }
  if (naming_template < kTemplateSingerTitle || naming_template >= kTemplateCount) return;

  const SingerTitleView split = SplitView(base_name);
  if (!split.separated) {
    Note(findings, NameFindingKind::kNoSeparator);
  } else if (split.singer.empty()) {
    Note(findings, NameFindingKind::kEmptySinger);
  }
  switch (naming_template) {
    case kTemplateSingerTitle:
      info.title = std::string(split.title_part);
      info.singer = split.singer.empty() ? std::string(kUnknownSinger) : std::string(split.singer);
      ApplyFolderRole(naming_template, folder_role, folder_name, info);
      break;
    case kTemplateSingerTitleLanguage:
      info.singer = std::string(split.singer);
      ReadLanguageBracket(split.title_part, info, findings);
      ApplyFolderRole(naming_template, folder_role, folder_name, info);
      break;
    default:
      // The name itself carries language and style, so of the folder roles
      // only the date added still applies.
      info.singer = std::string(split.singer);
      ReadFullName(naming_template, split.title_part, info, findings);
      if (folder_role == kRoleDateAdded) info.date_text = std::string(folder_name);
      break;
  }
  if (info.title.empty()) Note(findings, NameFindingKind::kEmptyTitle);
}

}  // namespace kscgen
