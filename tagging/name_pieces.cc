// What a piece of a name is: a field beside singer and title, a singer's
// Latin name, a tag bracket, a title quoted in 《 》. These decide which
// separator splits and what a leading number is, and which titles still
// hold what names carry beside them.
#include <bitset>

#include "tagging/classification.h"
#include "tagging/classification_tables.h"
#include "tagging/name_reading.h"

namespace kscgen::naming {
namespace {

using text::TrimView;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Calls `visit(piece)` for each non-empty piece of `s` between separators,
// blanks, brackets and title marks, bracketed ones included; stops when it
// returns false.
template <typename Visit>
void ForEachPiece(std::string_view s, Visit visit) {
  std::size_t begin = 0;
  bool go_on = true;
  WalkChars(s, 0, [&](std::size_t b, std::size_t e, Mark m, std::size_t) {
    if (m == Mark::kOther || m == Mark::kTitleOpen || m == Mark::kTitleClose) return true;
    const std::string_view piece = TrimView(s.substr(begin, b - begin));
    begin = e;
    go_on = piece.empty() || visit(piece);
    return go_on;
  });
  const std::string_view last = TrimView(s.substr(begin));
  if (go_on && !last.empty()) visit(last);
}

// A catalogue-like number standing as a field of its own in a title of
// more than one field (a title that is a number, 1874, is a title): four
// digits or more (past nine no number the song manager takes, but no title
// either), or a code with letters.
// A year after a blank at the end is the title's own (恋曲 1980), and noted
// as such where it is read.
bool LooksLikeANumber(std::string_view s) {
  return (s.size() >= 4 && IsDigits(s)) || IsLetteredCode(s);
}

std::string_view NumberIn(std::string_view title) {
  std::size_t begin = 0;
  std::string_view found;
  bool several = false;
  bool blank_before = false;
  WalkChars(title, 0, [&](std::size_t b, std::size_t e, Mark m, std::size_t) {
    if (IsCut(m) || m == Mark::kOpen || m == Mark::kClose) {
      const std::string_view field = TrimView(title.substr(begin, b - begin));
      if (found.empty() && LooksLikeANumber(field)) found = field;
      several = true;
      blank_before = m == Mark::kBlank;
      begin = e;
    }
    return true;
  });
  const std::string_view last = TrimView(title.substr(begin));
  const bool year = blank_before && LooksLikeAYear(last);
  if (found.empty() && !year && LooksLikeANumber(last)) found = last;
  return several ? found : std::string_view();
}

}  // namespace

namespace {

// The bytes a field word can begin with (ASCII letters raised): digits and
// capitals for numbers, codes and sides, and the first bytes of the words
// of the language, style, tag and channel tables. A piece that begins with
// none of them is no field word, whatever follows.
std::bitset<256> FieldWordLeads() {
  std::bitset<256> leads;
  for (char c = '0'; c <= '9'; ++c) leads.set(static_cast<unsigned char>(c));
  for (char c = 'A'; c <= 'Z'; ++c) leads.set(static_cast<unsigned char>(c));
  auto add = [&](std::string_view word) {
    if (!word.empty()) leads.set(static_cast<unsigned char>(text::ToUpperAscii(word[0])));
  };
  for (const WordList* list : {&kLanguageWords, &kTagWords}) {
    for (std::size_t i = 0; i < list->size; ++i) add(list->words[i]);
  }
  for (const KeywordTable* table : {&kStyleTable, &kChannelTable, &kLanguageTable}) {
    for (std::size_t i = 0; i < table->size; ++i) {
      add(table->rules[i].keyword);
      add(table->rules[i].value);
    }
  }
  return leads;
}

// The first two bytes of a text, ASCII letters raised, as one number.
unsigned FirstTwo(std::string_view s) {
  return static_cast<unsigned char>(text::ToUpperAscii(s[0])) << 8 |
         static_cast<unsigned char>(text::ToUpperAscii(s[1]));
}

// The first two bytes (raised) of every word that a language, tag or style
// word begins with: a piece that begins otherwise is none of these, which
// spares a Chinese singer's name the search of each list. Words of one
// byte are kept apart (`single`).
struct RaisedStarts {
  std::bitset<1 << 16> pairs;
  std::bitset<256> single;
};

RaisedStarts FieldWordStarts() {
  RaisedStarts starts;
  auto add = [&](std::string_view word) {
    if (word.size() == 1) starts.single.set(static_cast<unsigned char>(text::ToUpperAscii(word[0])));
    if (word.size() >= 2) starts.pairs.set(FirstTwo(word));
  };
  for (const WordList* list : {&kLanguageWords, &kTagWords}) {
    for (std::size_t i = 0; i < list->size; ++i) add(list->words[i]);
  }
  for (std::size_t i = 0; i < kStyleTable.size; ++i) {
    add(kStyleTable.rules[i].keyword);
    add(kStyleTable.rules[i].value);
  }
  return starts;
}

// Whether a piece may be a language, tag or style word by how it begins.
bool MayBeAWord(std::string_view piece) {
  static const RaisedStarts kStarts = FieldWordStarts();
  piece = TrimView(piece);  // a style word is looked for in the trimmed piece
  if (piece.empty()) return false;
  if (kStarts.single.test(static_cast<unsigned char>(text::ToUpperAscii(piece[0])))) return true;
  return piece.size() >= 2 && kStarts.pairs.test(FirstTwo(piece));
}

}  // namespace

bool IsFieldWord(std::string_view piece) {
  static const std::bitset<256> kLeads = FieldWordLeads();
  if (piece.empty() || !kLeads.test(static_cast<unsigned char>(text::ToUpperAscii(piece[0])))) {
    return false;
  }
  // The cheap tests first: every name's first piece comes here.
  return (piece.size() == 1 && piece[0] >= '0' && piece[0] <= '3') || IsCatalogueNumber(piece) ||
         IsLetteredCode(piece) || ChannelWordOf(piece) ||
         (MayBeAWord(piece) &&
          (LanguageWordOf(piece) || IsTagWords(piece) || StyleWordOf(piece)));
}

bool OnlyFieldWords(std::string_view s) {
  bool any = false;
  bool all = true;
  ForEachPiece(s, [&](std::string_view piece) {
    any = true;
    all = IsFieldWord(piece);
    return all;
  });
  return any && all;
}

std::string_view TagWordsIn(std::string_view title) {
  // Every title is checked, and most hold no tag word.
  static const WordStarts kStarts = StartsOf(kTagWords);
  return FirstWordIn(kTagWords, kStarts, title);
}

bool ReadsAsSingerAndTitle(std::string_view s) {
  constexpr std::size_t kNone = std::string_view::npos;
  std::size_t separator = kNone;
  std::size_t after = 0;
  WalkChars(s, 0, [&](std::size_t b, std::size_t e, Mark m, std::size_t depth) {
    // A bracket before any separator: no singer carries tags.
    if (depth == 0 && (m == Mark::kOpen || m == Mark::kTitleOpen)) return false;
    if (depth > 0 || !IsFieldSeparator(m)) return true;
    separator = b;
    after = e;
    return false;
  });
  if (separator == kNone || TrimSeparators(s.substr(0, separator)).empty()) return false;
  const std::string_view rest = TrimSeparators(s.substr(after));
  std::size_t end = rest.size();
  WalkChars(rest, 0, [&](std::size_t b, std::size_t, Mark m, std::size_t) {
    if (m == Mark::kOther || m == Mark::kBlank) return true;
    end = b;
    return false;
  });
  const std::string_view title = TrimView(rest.substr(0, end));
  return !title.empty() && !IsFieldWord(title);
}

std::string_view WithoutTrailingTagBrackets(std::string_view title, Reading& r) {
  for (;;) {
    title = TrimView(title);
    BracketSpan span;
    BracketSpan last;
    bool found = false;
    for (std::size_t from = 0; NextBracket(title, from, &span); from = span.end) {
      last = span;
      found = true;
    }
    if (!found || !last.closed || last.end != title.size() || last.open == 0) return title;
    bool tags = false;
    ForEachPiece(last.Inside(title), [&](std::string_view piece) {
      tags = IsTagWords(piece);
      return tags;
    });
    const std::string_view before = TrimSeparators(title.substr(0, last.open));
    if (!tags || before.empty()) return title;
    Note(r.findings, NameFindingKind::kTrailingTag, title.substr(last.open));
    title = before;
  }
}

std::string_view WithoutLatinName(std::string_view singer, NameFindings* findings) {
  // The Latin name: from the last blank that follows a character outside
  // ASCII, when all after it is letters, blanks, dots and apostrophes.
  std::size_t cut = std::string_view::npos;
  bool chinese_before = false;
  for (std::size_t i = 0; i < singer.size();) {
    const std::size_t len = text::CharLength(singer, i);
    if (len > 1) {
      const Mark m = MarkOf(singer, i, len);
      if (m == Mark::kBlank && chinese_before) {
        cut = i;
      } else if (m == Mark::kOther) {
        chinese_before = true;
        cut = std::string_view::npos;
      }
    } else if (singer[i] == ' ') {
      if (chinese_before && cut == std::string_view::npos) cut = i;
    } else if (!IsAsciiLetter(singer[i]) && singer[i] != '.' && singer[i] != '\'' &&
               singer[i] != '-') {
      cut = std::string_view::npos;
      chinese_before = false;
    }
    i += len;
  }
  if (cut == std::string_view::npos) return singer;
  const std::string_view latin = TrimView(singer.substr(cut));
  bool letters = false;
  for (char c : latin) letters = letters || IsAsciiLetter(c);
  if (!letters) return singer;
  Note(findings, NameFindingKind::kLatinName, latin);
  return TrimView(singer.substr(0, cut));
}

bool FindQuotedTitle(std::string_view s, QuotedTitle* quoted) {
  // Most names hold no 《: found by its bytes before walking the name by
  // its characters, which tells where it truly begins one.
  if (s.find("《") == std::string_view::npos) return false;
  bool found = false;
  std::size_t open = std::string_view::npos;
  WalkChars(s, 0, [&](std::size_t b, std::size_t e, Mark m, std::size_t depth) {
    if (m == Mark::kTitleOpen && depth == 0) {
      open = b;
    } else if (m == Mark::kTitleClose && depth == 1 && open != std::string_view::npos) {
      const std::size_t inside = open + text::CharLength(s, open);
      const std::string_view title = TrimView(s.substr(inside, b - inside));
      if (!title.empty()) {
        *quoted = {open, e, title};
        found = true;
        return false;
      }
      open = std::string_view::npos;
    }
    return true;
  });
  // A separator before the marks splits singer from a title that holds
  // them (歌手-电影《英雄》主题曲): then they quote a work, not the title.
  return found && !SplitView(TrimSeparators(s.substr(0, quoted->open))).separated;
}

void NoteDoubtfulTitle(std::string_view title, NameFindings* findings) {
  if (!findings) return;
  bool bracket = false;
  WalkChars(title, 0, [&](std::size_t, std::size_t, Mark m, std::size_t) {
    bracket = m == Mark::kOpen || m == Mark::kClose;
    return !bracket;
  });
  if (bracket) {
    BracketSpan span;
    if (NextBracket(title, 0, &span)) {
      Note(findings, NameFindingKind::kTitleBracket, title.substr(span.open, span.end - span.open));
    } else {
      Note(findings, NameFindingKind::kTitleBracket, title);
    }
  }
  if (const std::string_view word = LanguageWordIn(title); !word.empty()) {
    Note(findings, NameFindingKind::kTitleLanguage, word);
  }
  if (const std::string_view number = NumberIn(title); !number.empty()) {
    Note(findings, NameFindingKind::kTitleNumber, number);
  }
}

}  // namespace kscgen::naming
