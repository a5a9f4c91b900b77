#include "tagging/name_reading.h"

#include <bitset>
#include <optional>

#include "tagging/classification.h"
#include "tagging/classification_tables.h"

namespace kscgen::naming {
namespace {

using text::TrimView;

// Whether a text holds, at a character boundary and without regard to the
// case of ASCII letters, one of the words of `list` (stored raised).
bool HoldsWord(const WordList& list, std::string_view s) {
  std::bitset<256> leads;  // the first bytes of its characters, raised
  for (std::size_t i = 0; i < s.size(); i += text::CharLength(s, i)) {
    leads.set(static_cast<unsigned char>(text::ToUpperAscii(s[i])));
  }
  for (std::size_t i = 0; i < list.size; ++i) {
    const std::string_view word = list.words[i];
    if (leads.test(static_cast<unsigned char>(word[0])) && text::ContainsUpper(s, word)) return true;
  }
  return false;
}

// Fields, as a bracket holds them.
struct FieldSpan {
  const std::string* begin;
  std::size_t size;
  const std::string& operator[](std::size_t i) const { return begin[i]; }
};

std::string JoinFields(FieldSpan fields, std::size_t from) {
  std::string joined;
  for (std::size_t i = from; i < fields.size; ++i) {
    if (i > from) joined.append(kWideDash);
    joined.append(fields[i]);
  }
  return joined;
}

// A bracket of the template's fields: the language (when `language` is
// given), then style and channel, as far as the template reads them. Only
// values still open are given: the first field that names one wins.
void ReadFieldBracket(FieldSpan fields, const std::optional<std::string>& language, Reading& r) {
  if (language && r.Open(kLanguageSlot)) r.Give(kLanguageSlot, *language);
  std::size_t reads = 1;
  if (r.Reads(kStyleSlot)) {
    ++reads;
    if (fields.size > 1 && !fields[1].empty() && r.Open(kStyleSlot)) {
      if (std::optional<std::string> style = MatchStyle(fields[1])) {
        r.Give(kStyleSlot, std::move(*style));
      } else {
        Note(r.findings, NameFindingKind::kUnknownStyle, fields[1]);
      }
    }
  }
  if (r.Reads(kChannelSlot)) {
    ++reads;
    if (fields.size > 2 && !fields[2].empty() && r.Open(kChannelSlot)) {
      if (std::optional<std::string> channel = ClassifyChannel(fields[2])) {
        r.Give(kChannelSlot, std::move(*channel));
      } else {
        Note(r.findings, NameFindingKind::kUnknownChannel, fields[2]);
      }
    }
  }
  if (fields.size > reads) {
    Note(r.findings, NameFindingKind::kExtraFields, JoinFields(fields, reads));
  }
}

// One bracket after the title. Tag words before its fields are passed over
// ((MTV-粤语)). A bracket of several fields whose first names a language,
// or is empty (the language left out: (－儿歌－1)), gives the template's
// fields; one whose first names none (火星语－流行－1) is taken for them
// too, with a note, unless it is a tag (Live-2008). A bracket of one field
// gives the language it names, else a style word or a side (R, 左声道).
// Any other is a tag.
void ReadBracket(std::string_view content, Reading& r) {
  const BracketFields bf = SplitBracketFields(content);
  std::size_t first = 0;
  while (first + 1 < bf.fields.size() && IsTagWords(bf.fields[first])) ++first;
  if (first == bf.fields.size()) return;
  const FieldSpan fields{bf.fields.data() + first, bf.fields.size() - first};
  if (fields.size > 1 && r.reads != 0) {
    if (fields[0].empty() || NamesLanguage(fields[0])) {
      ReadFieldBracket(
          fields, fields[0].empty() ? std::nullopt : std::optional(ClassifyLanguage(fields[0])), r);
    } else if (r.Open(kLanguageSlot) && !HoldsWord(kTagWords, fields[0])) {
      Note(r.findings, NameFindingKind::kUnknownLanguage, fields[0]);
      ReadFieldBracket(fields, std::string(kDefaultLanguage), r);
    }
    return;
  }
  if (fields.size > 1 || fields[0].empty()) return;
  if (r.Open(kLanguageSlot)) {
    if (std::optional<std::string> language = BracketLanguage(fields[0])) {
      r.Give(kLanguageSlot, std::move(*language));
      return;
    }
  }
  if (r.Open(kStyleSlot)) {
    if (std::optional<std::string> style = StyleWordOf(fields[0])) {
      r.Give(kStyleSlot, std::move(*style));
      return;
    }
  }
  if (r.Open(kChannelSlot)) {
    if (std::optional<std::string> channel = ChannelWordOf(fields[0])) {
      r.Give(kChannelSlot, std::move(*channel));
    }
  }
}

}  // namespace

void ReadNumber(std::string_view number, Reading& r) {
  r.info.name_number = std::string(number);
  r.number_read = true;
  if (LooksLikeAYear(number)) Note(r.findings, NameFindingKind::kYearAsNumber, number);
}

namespace {

// Whether a word may begin with a tag word, by its first two bytes (ASCII
// letters raised): most words that come here begin with none, and are told
// so without a look at each tag word.
bool MayBeginATagWord(std::string_view word) {
  static const std::bitset<1 << 16> kPairs = [] {
    std::bitset<1 << 16> pairs;
    for (std::size_t w = 0; w < kTagWords.size; ++w) {
      const std::string_view tag = kTagWords.words[w];
      if (tag.size() >= 2) {
        pairs.set(static_cast<unsigned char>(text::ToUpperAscii(tag[0])) << 8 |
                  static_cast<unsigned char>(text::ToUpperAscii(tag[1])));
      }
    }
    return pairs;
  }();
  static const bool kShortTag = [] {
    for (std::size_t w = 0; w < kTagWords.size; ++w) {
      if (kTagWords.words[w].size() < 2) return true;
    }
    return false;
  }();
  if (kShortTag || word.size() < 2) return true;
  return kPairs.test(static_cast<unsigned char>(text::ToUpperAscii(word[0])) << 8 |
                     static_cast<unsigned char>(text::ToUpperAscii(word[1])));
}

}  // namespace

bool IsTagWords(std::string_view word) {
  if (word.empty() || !MayBeginATagWord(word)) return false;
  for (std::size_t i = 0; i < word.size();) {
    std::size_t longest = 0;
    const char first = text::ToUpperAscii(word[i]);
    for (std::size_t w = 0; w < kTagWords.size; ++w) {
      const std::string_view tag = kTagWords.words[w];
      if (tag[0] != first || tag.size() <= longest || word.size() - i < tag.size()) continue;
      bool same = true;
      for (std::size_t k = 0; k < tag.size() && same; ++k) {
        same = text::ToUpperAscii(word[i + k]) == tag[k];
      }
      if (same) longest = tag.size();
    }
    if (longest == 0) return false;
    i += longest;
  }
  return true;
}

void Note(NameFindings* findings, NameFindingKind kind, std::string_view text) {
  if (findings) findings->push_back({kind, std::string(text)});
}

// The first bracket that opens at or after `from`, outside any other; a
// bracket inside it closes before it does.
bool NextBracket(std::string_view s, std::size_t from, BracketSpan* span) {
  bool found = false;
  WalkChars(s, from, [&](std::size_t begin, std::size_t end, Mark m, std::size_t depth) {
    if (m == Mark::kOpen && depth == 0) {
      found = true;
      *span = {begin, end, s.size(), s.size(), false};
    } else if (m == Mark::kClose && depth == 1) {
      span->close = begin;
      span->end = end;
      span->closed = true;
      return false;
    }
    return true;
  });
  return found;
}

namespace {

// Whether a byte may begin, or end, a separator or a blank: "-", "_", "|",
// a blank, or the first or last byte of "－", "＿", "｜", "　" or "—".
bool MayBeginACut(unsigned char b) {
  return b == '-' || b == '_' || b == '|' || b == 0xA3 || b == text::kPunctuationRow ||
         text::IsBlank(b);
}
bool MayEndACut(unsigned char b) {
  return b == '-' || b == '_' || b == '|' || b == 0xAD || b == 0xDF || b == 0xFC ||
         b == text::kFullWidthBlankTrail || b == 0xAA || text::IsBlank(b);
}

}  // namespace

std::string_view TrimSeparators(std::string_view s) {
  // Every piece of a name is trimmed, most of them of nothing: a text whose
  // first and last bytes can be no part of a separator needs no walk.
  if (s.empty() || (!MayBeginACut(static_cast<unsigned char>(s.front())) &&
                    !MayEndACut(static_cast<unsigned char>(s.back())))) {
    return s;
  }
  std::size_t begin = std::string_view::npos;
  std::size_t end = 0;
  WalkChars(s, 0, [&](std::size_t b, std::size_t e, Mark m, std::size_t) {
    if (IsCut(m) || text::IsBlank(static_cast<unsigned char>(s[b]))) return true;
    if (begin == std::string_view::npos) begin = b;
    end = e;
    return true;
  });
  return begin == std::string_view::npos ? std::string_view() : s.substr(begin, end - begin);
}

bool IsDigits(std::string_view s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return !s.empty();
}

bool LooksLikeAYear(std::string_view s) {
  return s.size() == 4 && ((s[0] == '1' && s[1] == '9') || (s[0] == '2' && s[1] == '0'));
}

bool IsCatalogueNumber(std::string_view s) { return s.size() >= 4 && s.size() <= 9 && IsDigits(s); }

bool IsLetteredCode(std::string_view s) {
  std::size_t letters = 0;
  while (letters < s.size() && s[letters] >= 'A' && s[letters] <= 'Z') ++letters;
  const std::size_t digits = s.size() - letters;
  return letters >= 1 && letters <= 4 && digits >= 4 && digits <= 9 && IsDigits(s.substr(letters));
}

unsigned SlotsOf(NamingTemplate naming_template) {
  switch (naming_template) {
    case kTemplateSingerTitleLanguage:
      return kLanguageSlot;
    case kTemplateSingerTitleLanguageStyle:
      return kLanguageSlot | kStyleSlot;
    case kTemplateSingerTitleLanguageStyleChannel:
    case kTemplateCustom:
      return kLanguageSlot | kStyleSlot | kChannelSlot;
    default:
      return 0;
  }
}

std::string_view ReadTitlePart(std::string_view part, Reading& r, bool keep_first) {
  BracketSpan bracket;
  bool found = NextBracket(part, 0, &bracket);
  // A title that begins with a bracket of its own ((我是)一只小小鸟) keeps
  // it; one of the template's fields ((粤语－流行)小河水) is read as such.
  if (found && bracket.open == 0 && bracket.closed) {
    const std::string_view after = TrimView(part.substr(bracket.end));
    const std::string_view inside = bracket.Inside(part);
    const bool fields = NamesLanguage(inside) || text::Contains(inside, kWideDash) ||
                        inside.find('-') != std::string_view::npos;
    // A title that is all in its bracket (歌手-(海阔天空)): the bracket's text.
    if (!fields && after.empty() && !TrimView(inside).empty() && !IsTagWords(inside)) {
      return TrimView(inside);
    }
    if (!fields && !after.empty() && MarkOf(after, 0, text::CharLength(after, 0)) != Mark::kOpen) {
      found = NextBracket(part, bracket.end, &bracket);
    } else if (fields && !TrimSeparators(after).empty()) {
      // Fields before the title ((粤语)小河水): the title follows them.
      ReadBracket(part.substr(bracket.content, bracket.end - bracket.content), r);
      return ReadTitlePart(TrimSeparators(after), r, keep_first);
    }
  }
  if (!found) return TrimView(part.substr(0, ReadTrailing(part, keep_first, r)));
  std::string_view title = part.substr(0, bracket.open);
  std::size_t gap = bracket.open;  // where the text before this bracket began
  do {
    const std::string_view between = TrimSeparators(part.substr(gap, bracket.open - gap));
    if (!between.empty() && !IsTagWords(between)) {
      Note(r.findings, NameFindingKind::kUnreadText, between);
    }
    if (!bracket.closed) Note(r.findings, NameFindingKind::kUnclosedBracket);
    ReadBracket(part.substr(bracket.content, bracket.end - bracket.content), r);
    gap = bracket.end;
  } while (NextBracket(part, gap, &bracket));
  const std::string_view after = part.substr(gap);
  const std::string_view rest = TrimSeparators(after.substr(0, ReadTrailing(after, false, r)));
  if (!rest.empty()) Note(r.findings, NameFindingKind::kUnreadText, rest);
  return TrimView(title.substr(0, ReadTrailing(title, true, r)));
}

std::string_view WithoutLeadingTags(std::string_view name, Reading& r, bool numbers) {
  std::string_view rest = TrimView(name);
  BracketSpan bracket;
  while (!rest.empty()) {
    if (MarkOf(rest, 0, text::CharLength(rest, 0)) == Mark::kOpen &&
        NextBracket(rest, 0, &bracket) && bracket.closed) {
      const std::string_view after = TrimView(rest.substr(bracket.end));
      if (after.empty()) break;
      const std::string_view inside = TrimView(bracket.Inside(rest));
      if (numbers && !r.number_read && IsCatalogueNumber(inside)) {
        ReadNumber(inside, r);
      } else if (std::optional<std::string> language =
                     r.Open(kLanguageSlot) ? BracketLanguage(inside) : std::nullopt) {
        r.Give(kLanguageSlot, std::move(*language));
      } else if (!HoldsWord(kTagWords, rest.substr(0, bracket.end))) {
        Note(r.findings, NameFindingKind::kLeadingTag, rest.substr(0, bracket.end));
      }
      rest = after;
      continue;
    }
    // The library's number before the singer (0153-孙燕姿-遇见), when what
    // follows it still reads as singer and title: else it names the singer
    // (5566-我难过(MTV)-国语).
    if (!numbers || r.number_read) break;
    std::size_t cut = std::string_view::npos;
    std::size_t cut_end = 0;
    bool separator_after = false;
    WalkChars(rest, 0, [&](std::size_t b, std::size_t e, Mark m, std::size_t depth) {
      if (depth > 0 || !IsCut(m)) return true;
      if (cut == std::string_view::npos) {
        cut = b;
        cut_end = e;
      } else if (b == cut_end) {
        cut_end = e;  // the run of separators goes on
      } else if (IsFieldSeparator(m)) {
        separator_after = true;
        return false;
      }
      return true;
    });
    if (!separator_after || !IsCatalogueNumber(rest.substr(0, cut)) ||
        !ReadsAsSingerAndTitle(rest.substr(cut_end))) {
      break;
    }
    ReadNumber(rest.substr(0, cut), r);
    rest = TrimView(rest.substr(cut_end));
  }
  return rest;
}

}  // namespace kscgen::naming
