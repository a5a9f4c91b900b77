// 自动识别: a name read for every field it holds, wherever each stands, for
// libraries that follow no one template (and the titles of videos from video
// sites). Singer and title come from what is left; where the name does not
// say which is which, the singers the library's other names gave decide.
#include "tagging/classification.h"
#include "tagging/file_name.h"
#include "tagging/known_singers.h"
#include "tagging/name_reading.h"

namespace kscgen {
namespace {

using naming::Mark;
using naming::Note;
using naming::Reading;
using text::TrimView;

constexpr std::size_t kNone = std::string_view::npos;

// Where the first piece of `s` ends: at its first separator, blank or
// bracket outside brackets; npos when the piece is all of `s`.
std::size_t FirstPieceEnd(std::string_view s) {
  std::size_t end = kNone;
  naming::WalkChars(s, 0, [&](std::size_t b, std::size_t, Mark m, std::size_t depth) {
    if (depth > 0 || m == Mark::kOther) return true;
    end = b;
    return false;
  });
  return end;
}

// Fields before the singer, bracketed or not (国语 张学友-吻别, KTV 陈奕迅
// 浮夸): a language or style gives its value, tag words are left out with a
// note. Only while what stays still holds a separator or a quoted title.
std::string_view WithoutLeadingFields(std::string_view name, Reading& r) {
  for (;;) {
    name = naming::WithoutLeadingTags(name, r, true);
    const std::size_t end = FirstPieceEnd(name);
    if (end == kNone || end == 0) return name;
    const std::string_view piece = name.substr(0, end);
    const std::string_view rest = naming::TrimSeparators(name.substr(end));
    naming::QuotedTitle quoted;
    if (!naming::IsFieldWord(piece) || naming::IsCatalogueNumber(piece) ||
        !(naming::SplitView(rest).separated || naming::FindQuotedTitle(rest, &quoted))) {
      return name;  // Live Forever is a title
    }
    if (std::optional<std::string> language = LanguageWordOf(piece)) {
      if (r.Open(naming::kLanguageSlot)) r.Give(naming::kLanguageSlot, std::move(*language));
    } else if (std::optional<std::string> style = StyleWordOf(piece)) {
      if (r.Open(naming::kStyleSlot)) r.Give(naming::kStyleSlot, std::move(*style));
    } else {
      Note(r.findings, NameFindingKind::kLeadingTag, piece);
    }
    name = rest;
  }
}

// Whether a side is a singer the library knows and the other is not.
bool KnownOnly(const KnownSingers* known, std::string_view side, std::string_view other) {
  return known != nullptr && known->KnowsOnly(side, other);
}

// Singer and title at a separator: singer first, unless the library knows
// the second as a singer and not the first (后来 - 刘若英).
std::string_view ReadSeparated(const naming::SingerTitleView& split, const KnownSingers* known,
                               Reading& r) {
  if (split.singer.empty()) Note(r.findings, NameFindingKind::kEmptySinger);
  const std::string_view title = naming::ReadTitlePart(split.title_part, r);
  if (!split.singer.empty() && !title.empty() && KnownOnly(known, title, split.singer)) {
    Note(r.findings, NameFindingKind::kKnownSinger, title);
    r.info.title = std::string(split.singer);
    return title;
  }
  r.info.title = std::string(title);
  return split.singer;
}

bool HoldsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) < 0x80) return true;
  }
  return false;
}

// A name without a separator (陈奕迅 浮夸 KTV): tags and fields at its end
// are read; of two words left, the one the library knows as a singer is the
// singer, else a first word of Chinese characters alone. Otherwise all of
// it is the title.
std::string_view ReadUnseparated(std::string_view name, const KnownSingers* known, Reading& r) {
  const std::string_view rest = naming::ReadTitlePart(name, r);
  std::size_t blank = kNone;
  naming::WalkChars(rest, 0, [&](std::size_t b, std::size_t, Mark m, std::size_t depth) {
    if (depth > 0 || m != Mark::kBlank) return true;
    blank = b;
    return false;
  });
  if (blank != kNone) {
    const std::string_view first = TrimView(rest.substr(0, blank));
    const std::string_view second = TrimView(rest.substr(blank));
    if (KnownOnly(known, second, first)) {
      Note(r.findings, NameFindingKind::kKnownSinger, second);
      r.info.title = std::string(first);
      return second;
    }
    if (KnownOnly(known, first, second)) {
      Note(r.findings, NameFindingKind::kKnownSinger, first);
      r.info.title = std::string(second);
      return first;
    }
    if (!HoldsAscii(first) && FirstPieceEnd(second) == kNone) {
      Note(r.findings, NameFindingKind::kSingerByOrder, first);
      r.info.title = std::string(second);
      return first;
    }
  }
  Note(r.findings, NameFindingKind::kNoSeparator);
  r.info.title = std::string(rest);
  return {};
}

// The first run of ASCII letters and digits in `title` that is a
// catalogue number or code, glued to other text or not (MB302511怀旧).
std::string_view CodeIn(std::string_view title) {
  auto alnum = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  };
  for (std::size_t i = 0; i < title.size();) {
    if (!alnum(title[i])) {
      i += text::CharLength(title, i);
      continue;
    }
    std::size_t end = i;
    while (end < title.size() && alnum(title[end])) ++end;
    const std::string_view run = title.substr(i, end - i);
    if (naming::IsCatalogueNumber(run) || naming::IsLetteredCode(run)) return run;
    i = end;
  }
  return {};
}

// Where the order is not given, a title may hold what a template's names
// would not: the notes of every template, and tag words or a number
// anywhere in it (12-伴奏, 陈奕迅-1874).
void NoteDoubtfulAutoTitle(std::string_view title, NameFindings* findings) {
  if (findings == nullptr) return;
  const std::size_t before = findings->size();
  naming::NoteDoubtfulTitle(title, findings);
  const std::string_view code = CodeIn(title);
  bool noted = code.empty();  // a year kept in the title is noted as such
  for (std::size_t i = 0; i < findings->size(); ++i) {
    const NameFinding& f = (*findings)[i];
    noted = noted || (i >= before && f.kind == NameFindingKind::kTitleNumber) ||
            (f.kind == NameFindingKind::kYearInTitle && f.text == code);
  }
  if (!noted) Note(findings, NameFindingKind::kTitleNumber, code);
  if (const std::string_view tag = naming::TagWordsIn(title); !tag.empty()) {
    Note(findings, NameFindingKind::kTitleTag, tag);
  }
}

}  // namespace

void ParseAutoName(FolderRole folder_role, std::string_view base_name, std::string_view folder_name,
                   SongInfo& info, NameFindings* findings, const KnownSingers* known) {
  folder_name = TrimView(folder_name);
  const unsigned all = naming::SlotsOf(kTemplateCustom);
  Reading r{info, findings, all, all};
  r.any_order = true;
  const std::string_view name = WithoutLeadingFields(TrimView(base_name), r);
  naming::QuotedTitle quoted;
  std::string_view singer;
  if (naming::FindQuotedTitle(name, &quoted)) {
    singer = naming::ReadQuotedName(name, quoted, r);
  } else if (const naming::SingerTitleView split = naming::SplitView(name); split.separated) {
    singer = ReadSeparated(split, known, r);
  } else {
    singer = ReadUnseparated(name, known, r);
  }
  info.singer = std::string(naming::WithoutLatinName(singer, findings));
  if (info.singer.empty()) info.singer = kUnknownSinger;
  naming::ApplyFolderRole(folder_role, folder_name, false, !singer.empty(), r);
  if (!info.name_number.empty()) Note(findings, NameFindingKind::kNumberTaken, info.name_number);
  if (info.title.empty()) Note(findings, NameFindingKind::kEmptyTitle);
  NoteDoubtfulAutoTitle(info.title, findings);
}

}  // namespace kscgen
