// What libraries write after a title, read from the end of the name back
// towards it: the library's number or code, a site's tag, tag words, and
// the fields of the template (后来-国语-103962, 雨中的思念_国语_流行).
#include <optional>

#include "tagging/classification.h"
#include "tagging/name_reading.h"

namespace kscgen::naming {
namespace {

using text::TrimView;

// What a video site or sharer adds after a library's code (NCA20417_MTVP2P):
// two to twelve capital ASCII letters and digits, at least one a letter.
bool IsSiteTag(std::string_view s) {
  bool letter = false;
  for (char c : s) {
    if (c >= 'A' && c <= 'Z') {
      letter = true;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return letter && s.size() >= 2 && s.size() <= 12;
}

// The value a field after the title names for `slot`, if any.
std::optional<std::string> TrailingValue(Slot slot, std::string_view field) {
  switch (slot) {
    case kChannelSlot:
      return ClassifyChannel(field);
    case kStyleSlot:
      return MatchStyle(field);
    case kLanguageSlot:
      return LanguageWordOf(field);
  }
  return std::nullopt;
}

// The template field a field after the title gives, channel first, then
// style, then language, from the end: a later field never gives one that an
// earlier-read one comes after. `next` is the first slot still allowed.
// Under a template that reads some of the fields (2, 3), a field that names
// none of those it reads but one it does not (国语_流行 under 2) is passed
// over, once, where template 4 would read it: left out of the title, and
// the fields before it are still read. `passed` holds the slots passed over
// so.
bool ReadTrailingField(std::string_view field, unsigned* next, unsigned* passed, Reading& r) {
  static constexpr Slot kOrder[] = {kChannelSlot, kStyleSlot, kLanguageSlot};
  if (r.any_order) *next = 0;  // each value still once: a given one is closed
  for (unsigned n = *next; n < 3; ++n) {
    if (!r.Open(kOrder[n])) continue;
    if (std::optional<std::string> value = TrailingValue(kOrder[n], field)) {
      r.Give(kOrder[n], std::move(*value));
      *next = n + 1;
      return true;
    }
  }
  for (unsigned n = *next; r.reads != 0 && n < 3; ++n) {
    const Slot slot = kOrder[n];
    if (r.Reads(slot) || (*passed & slot) != 0 || !TrailingValue(slot, field)) continue;
    *passed |= slot;
    *next = n + 1;
    return true;
  }
  return false;
}

}  // namespace

namespace {

// A run of separators and blanks outside brackets.
struct Cut {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool field = false;  // holds a dash or "_", not blanks only
};

// Only the last few runs are kept, for no name has more fields after its
// title than that.
constexpr std::size_t kKeptCuts = 16;

// The runs of `text`, the last kKeptCuts of them in `cuts` (a ring);
// returns how many there are.
std::size_t CollectCuts(std::string_view text, Cut* cuts) {
  std::size_t count = 0;
  WalkChars(text, 0, [&](std::size_t begin, std::size_t end, Mark m, std::size_t depth) {
    if (depth > 0 || m == Mark::kOpen || !IsCut(m)) return true;
    Cut& last = cuts[(count + kKeptCuts - 1) % kKeptCuts];
    if (count > 0 && last.end == begin) {
      last.end = end;
      last.field = last.field || m != Mark::kBlank;
    } else {
      cuts[count++ % kKeptCuts] = {begin, end, m != Mark::kBlank};
    }
    return true;
  });
  return count;
}

enum class CodeWord { kNone, kTaken, kStop };

// A word at the very end, after `before` (empty when there is none): a
// site's tag after a code, the library's number, a year after a blank
// (which stays the title's: 恋曲 1980, Party Like 1999), a code with
// letters. Each once.
CodeWord ReadCodeWord(std::string_view word, std::string_view before, bool after_blank,
                      Reading& r) {
  if (r.number_read) return CodeWord::kNone;
  if (IsSiteTag(word) && (IsCatalogueNumber(before) || IsLetteredCode(before))) {
    Note(r.findings, NameFindingKind::kTrailingTag, word);
    return CodeWord::kTaken;
  }
  if (IsCatalogueNumber(word)) {
    if (after_blank && LooksLikeAYear(word)) {
      Note(r.findings, NameFindingKind::kYearInTitle, word);
      return CodeWord::kStop;
    }
    ReadNumber(word, r);
    return CodeWord::kTaken;
  }
  if (IsLetteredCode(word)) {
    Note(r.findings, NameFindingKind::kCatalogueCode, word);
    r.number_read = true;
    return CodeWord::kTaken;
  }
  return CodeWord::kNone;
}

}  // namespace

namespace {

// ReadTrailing's walk from the end of a text back towards its title, over
// the runs of separators in it (the last kKeptCuts of them, a ring).
class TrailingWalk {
 public:
  TrailingWalk(std::string_view text, bool keep_first, Reading& r)
      : text_(text), keep_first_(keep_first), r_(r), end_(text.size()) {
    k_ = CollectCuts(text, cuts_);
    oldest_ = k_ > kKeptCuts ? k_ - kKeptCuts : 0;
    if (k_ > oldest_ && CutBefore(k_).end == end_) end_ = CutBefore(k_--).begin;
  }

  std::size_t Walk() {
    while (k_ > oldest_) {
      const Cut& cut = CutBefore(k_);
      if (keep_first_ && cut.begin == 0) break;
      const std::string_view word = TrimView(text_.substr(cut.end, end_ - cut.end));
      if (only_tags_) {
        const CodeWord code = ReadCodeWord(word, WordBefore(), !cut.field, r_);
        if (code == CodeWord::kStop) break;
        if (code == CodeWord::kTaken) {
          Take(cut.begin, k_ - 1);
          continue;
        }
      }
      if (IsTagWords(word)) {
        Note(r_.findings, NameFindingKind::kTrailingTag, word);
        Take(cut.begin, k_ - 1);
        continue;
      }
      if (!Field()) break;
    }
    if (held_) {  // no field the template reads came before those passed over
      end_ = held_->end;
      if (r_.findings) r_.findings->resize(held_->findings);
    }
    return end_;
  }

 private:
  // The run of separators before the k-th word from the start (1-based).
  const Cut& CutBefore(std::size_t k) const { return cuts_[(k - 1) % kKeptCuts]; }

  // The word before the one being read, for a site's tag after a code.
  std::string_view WordBefore() const {
    if (k_ - 1 <= oldest_ && keep_first_) return {};
    const std::size_t from = k_ - 1 > oldest_ ? CutBefore(k_ - 1).end : 0;
    return TrimView(text_.substr(from, CutBefore(k_).begin - from));
  }

  // A word read: fields passed over before it stay out of the title.
  void Take(std::size_t end, std::size_t k) {
    end_ = end;
    k_ = k;
    held_.reset();
  }

  // A field of the template, which reaches back to the separator before it.
  bool Field() {
    std::size_t f = k_;
    while (f > oldest_ && !CutBefore(f).field) --f;
    if (f == oldest_) return false;
    const Cut& sep = CutBefore(f);
    if (keep_first_ && sep.begin == 0) return false;
    const Held before{end_, r_.findings ? r_.findings->size() : 0};
    const unsigned passed = passed_;
    if (!ReadTrailingField(TrimView(text_.substr(sep.end, end_ - sep.end)), &next_slot_,
                           &passed_, r_)) {
      return false;
    }
    // A field passed over stays out of the title only when a word read
    // comes before it (国语_流行, 伴唱_流行): 水手-3 keeps its 3 under
    // template 2.
    const std::optional<Held> held = passed_ != passed && !held_ ? before : held_;
    Take(sep.begin, f - 1);
    if (passed_ != passed) held_ = held;
    only_tags_ = false;
    return true;
  }

  struct Held {
    std::size_t end;       // where the title ended before the first field passed over
    std::size_t findings;  // how many notes there were then
  };

  std::string_view text_;
  bool keep_first_;
  Reading& r_;
  Cut cuts_[kKeptCuts];
  std::size_t oldest_ = 0;
  std::size_t k_ = 0;
  std::size_t end_;
  unsigned next_slot_ = 0;
  unsigned passed_ = 0;
  bool only_tags_ = true;
  std::optional<Held> held_;
};

}  // namespace

std::size_t ReadTrailing(std::string_view text, bool keep_first, Reading& r) {
  return TrailingWalk(text, keep_first, r).Walk();
}

}  // namespace kscgen::naming
