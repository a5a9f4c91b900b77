// How the parts of a video's name are read, by the templates and by a
// pattern of the user's own alike: which characters separate fields and
// which are brackets, the brackets and fields after a title, the tags
// before a singer, and the notes on a title that may be misread. Used only
// inside tagging/.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tagging/file_name.h"
#include "text/gbk_text.h"

namespace kscgen::naming {

// The full-width dash "－" (GBK A3 AD) that the naming scheme puts between
// singer and title; spelled as bytes, as headers hold no GBK literals.
inline constexpr std::string_view kWideDash = "\xA3\xAD";

// What one character of a name is to the parser. Every kind of bracket
// libraries use counts alike: ( ) （ ） [ ] ［ ］ 【 】 〖 〗 「 」 『 』. The
// title marks 《 》 quote a title or a work: not brackets, but what they
// quote is one piece. A bar (｜, |) separates what video sites put after
// a title, never singer from title.
enum class Mark {
  kOther,
  kAsciiDash,
  kWideDash,
  kUnderscore,
  kBar,
  kBlank,
  kOpen,
  kClose,
  kTitleOpen,
  kTitleClose,
};

inline Mark AsciiMark(char c) {
  switch (c) {
    case '-':
      return Mark::kAsciiDash;
    case '_':
      return Mark::kUnderscore;
    case ' ':
      return Mark::kBlank;
    case '|':
      return Mark::kBar;
    case '(':
    case '[':
      return Mark::kOpen;
    case ')':
    case ']':
      return Mark::kClose;
    default:
      return Mark::kOther;
  }
}

// A character of GBK's row of full-width ASCII (A3), by its second byte.
inline Mark FullWidthFormMark(unsigned char trail) {
  switch (trail) {
    case 0xAD:  // －
      return Mark::kWideDash;
    case 0xDF:  // ＿
      return Mark::kUnderscore;
    case 0xFC:  // ｜
      return Mark::kBar;
    case 0xA8:  // （
    case 0xDB:  // ［
      return Mark::kOpen;
    case 0xA9:  // ）
    case 0xDD:  // ］
      return Mark::kClose;
    default:
      return Mark::kOther;
  }
}

// A character of GBK's row of punctuation (A1), by its second byte.
inline Mark PunctuationMark(unsigned char trail) {
  switch (trail) {
    case text::kFullWidthBlankTrail:
      return Mark::kBlank;
    case 0xAA:  // —
      return Mark::kWideDash;
    case 0xB6:  // 《
      return Mark::kTitleOpen;
    case 0xB7:  // 》
      return Mark::kTitleClose;
    case 0xB8:  // 「
    case 0xBA:  // 『
    case 0xBC:  // 〖
    case 0xBE:  // 【
      return Mark::kOpen;
    case 0xB9:  // 」
    case 0xBB:  // 』
    case 0xBD:  // 〗
    case 0xBF:  // 】
      return Mark::kClose;
    default:
      return Mark::kOther;
  }
}

inline Mark MarkOf(std::string_view s, std::size_t i, std::size_t len) {
  if (len == 1) return AsciiMark(s[i]);
  // By the two bytes rather than through memcmp: every character of a name
  // passes here several times.
  const auto lead = static_cast<unsigned char>(s[i]);
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  if (lead == text::kFullWidthFormsRow) return FullWidthFormMark(trail);
  if (lead == text::kPunctuationRow) return PunctuationMark(trail);
  return Mark::kOther;
}

inline bool IsDash(Mark m) { return m == Mark::kAsciiDash || m == Mark::kWideDash; }
inline bool IsFieldSeparator(Mark m) {
  return IsDash(m) || m == Mark::kUnderscore || m == Mark::kBar;
}
inline bool IsCut(Mark m) { return IsFieldSeparator(m) || m == Mark::kBlank; }

// Calls `visit(begin, end, mark)` for each character of `s` from `from`,
// with the depth of brackets and title marks before it; stops when `visit`
// returns false.
template <typename Visit>
void WalkChars(std::string_view s, std::size_t from, Visit visit) {
  std::size_t depth = 0;
  for (std::size_t i = from; i < s.size();) {
    const std::size_t len = text::CharLength(s, i);
    const Mark m = MarkOf(s, i, len);
    if (!visit(i, i + len, m, depth)) return;
    if (m == Mark::kOpen || m == Mark::kTitleOpen) {
      ++depth;
    } else if ((m == Mark::kClose || m == Mark::kTitleClose) && depth > 0) {
      --depth;
    }
    i += len;
  }
}

// One bracket of a text: where it opens, where its fields start, and where
// it ends (after its closing bracket, or at the end when left open).
struct BracketSpan {
  std::size_t open = 0;
  std::size_t content = 0;
  std::size_t close = 0;  // where its closing bracket begins, or the end
  std::size_t end = 0;
  bool closed = false;

  std::string_view Inside(std::string_view s) const { return s.substr(content, close - content); }
};

// The first bracket that opens at or after `from`, outside any other; a
// bracket inside it closes before it does.
bool NextBracket(std::string_view s, std::size_t from, BracketSpan* span);

void Note(NameFindings* findings, NameFindingKind kind, std::string_view text = {});

// The fields a reading fills, as bits.
enum Slot : unsigned { kLanguageSlot = 1, kStyleSlot = 2, kChannelSlot = 4 };

// The fields a template reads from names (a pattern reads them all).
unsigned SlotsOf(NamingTemplate naming_template);

// One name's reading: where its values go, and which fields the template
// reads that nothing has given yet.
struct Reading {
  SongInfo& info;
  NameFindings* findings;
  unsigned reads = 0;  // the fields the template reads
  unsigned open = 0;   // those of them still to be given
  unsigned given = 0;  // the fields the name gave, read by the template or not
  bool number_read = false;
  bool any_order = false;  // fields after the title in any order (自动识别)

  bool Reads(Slot s) const { return (reads & s) != 0; }
  bool Open(Slot s) const { return (open & s) != 0; }
  void Give(Slot s, std::string value) {
    open &= ~s;
    given |= s;
    switch (s) {
      case kLanguageSlot:
        info.language = std::move(value);
        break;
      case kStyleSlot:
        info.style = std::move(value);
        break;
      case kChannelSlot:
        info.channel = std::move(value);
        break;
    }
  }
};

// Takes `number` for the library's own (name_number), with a note when it
// may be a year.
void ReadNumber(std::string_view number, Reading& r);

// Whether a word is made of tag words only (伴奏KTV, Live), without regard
// to the case of ASCII letters.
bool IsTagWords(std::string_view word);

// `s` without the separators and blanks at its ends.
std::string_view TrimSeparators(std::string_view s);

// Whether `s` is one or more ASCII digits.
bool IsDigits(std::string_view s);

// A number in the years songs come from (1900 to 2099), which a name may
// carry as a year rather than as the library's number.
bool LooksLikeAYear(std::string_view s);

// A library's own song number: four to nine ASCII digits (nine fit the song
// manager's numbers; a longer run of digits is something else).
bool IsCatalogueNumber(std::string_view s);

// A library's catalogue code with letters: one to four capital ASCII
// letters, then four to nine digits (MB302511, NCA20417). Unlike a number
// of digits it cannot be the song manager's number, so it is only left out.
bool IsLetteredCode(std::string_view s);

// Whether a piece of a name is one of the fields names carry beside singer
// and title rather than either: a language, style or channel word, tag
// words, a catalogue number or code.
bool IsFieldWord(std::string_view piece);

// Whether every piece of `s`, split at separators, blanks and brackets, is
// a field word (国语 - 怀旧, [KTV] 伴奏); false for an empty `s`.
bool OnlyFieldWords(std::string_view s);

// The first tag word `title` holds as the list spells it, capitals
// included (KTV in 勇气KTV, 伴奏; not Live in Live Forever), or empty.
std::string_view TagWordsIn(std::string_view title);

// Whether `s` reads as singer and title: a first piece that a separator
// (not a bracket: a singer carries no tags) ends, then a piece that is no
// field word (孙燕姿-遇见, not 我难过(MTV)-国语).
bool ReadsAsSingerAndTitle(std::string_view s);

// `title` without the brackets of tag words at its end (相思风雨中 [KTV]),
// each noted; never the whole title.
std::string_view WithoutTrailingTagBrackets(std::string_view title, Reading& r);

// `singer` without a Latin name after a blank that follows a Chinese one
// (陈奕迅 Eason Chan, 王菲 Faye Wong): it names the same singer, and is
// left out with a note.
std::string_view WithoutLatinName(std::string_view singer, NameFindings* findings);

// Singer and title of a name, split at the first "－" outside brackets, else
// at the first "-" with a blank on each side (unless only fields follow
// it), else at the first "-"; both parts trimmed of separators.
struct SingerTitleView {
  std::string_view singer;
  std::string_view title_part;
  bool separated = false;
};
SingerTitleView SplitView(std::string_view text);

// A title quoted in 《 》 outside brackets: where its marks are.
struct QuotedTitle {
  std::size_t open = 0;  // where 《 begins
  std::size_t end = 0;   // after 》
  std::string_view title;
};

// The first title quoted in 《 》 at the top level of `s`, closed and not
// empty, with no separator before it but at its very end (孙燕姿《遇见》,
// Coldplay - 《Yellow》, not 歌手-电影《英雄》主题曲); false when there is none.
bool FindQuotedTitle(std::string_view s, QuotedTitle* quoted);

// Reads a name whose title `quoted` marks: the title is what the marks
// hold, the singer the text before them, else the first piece after them;
// what follows is read as what follows any title. Returns the singer.
std::string_view ReadQuotedName(std::string_view name, const QuotedTitle& quoted, Reading& r);

// Reads, from the end of `text`, what large libraries write after the title
// (后来-国语-103962, 七里香-国语-流行-2, 遇见 伴奏KTV): its own number (four
// or more digits, once, last), tag words (after a blank or a dash), and the
// template's fields (after "-", "－" or "_"); the first word that is none of
// these ends the reading. A run of separators counts as one. With
// `keep_first`, what precedes the first separator is never read. Returns
// how many leading bytes of `text` stay unread.
std::size_t ReadTrailing(std::string_view text, bool keep_first, Reading& r);

// The title part of templates 2 to 4 and of a pattern's last placeholder:
// the title ends before the first bracket; the brackets after it, then the
// fields after the last of them, then those at the end of the title itself
// give the values. Returns the title, trimmed.
// With `keep_first` false (the text after a pattern's last literal), a field
// at its very start may be read too.
std::string_view ReadTitlePart(std::string_view part, Reading& r, bool keep_first = true);

// Brackets at the very start of a name are tags ([高清]王菲-红豆): they are
// left out, with a note unless they hold a known tag word or name a
// language ([粤语], which gives it). With `numbers`, one of four or more
// digits alone ([0153]), or such digits before a separator that another
// follows (0153-孙燕姿-遇见), is the library's number. Returns the rest, or
// the whole name when nothing would be left.
std::string_view WithoutLeadingTags(std::string_view name, Reading& r, bool numbers);

// What the folder's name gives by its role that the name did not: the
// singer (when `singer_read` is false), the language, the style, or the
// date added; a folder that names no language or style under its role gets
// a note. With `title_only` (the template 歌名, whose names give nothing
// else), the folder is read by how it begins.
void ApplyFolderRole(FolderRole folder_role, std::string_view folder, bool title_only, bool singer_read,
                     Reading& r);

// Notes a title that still holds what names usually carry beside it: a
// bracket, a language word or a catalogue-like number.
void NoteDoubtfulTitle(std::string_view title, NameFindings* findings);

}  // namespace kscgen::naming
