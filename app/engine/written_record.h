// What kscgen last wrote into each KSC file of a folder, so that a later run
// can tell a value a person changed by hand (which it keeps) from one its
// own options changed (which it updates).
//
// The record is a file of its own in the folder, beside the KSC files: it
// goes wherever the folder is copied or moved, the song manager (which reads
// only KSC files) never sees it, and losing it costs nothing but the
// knowledge of hand edits: each file is then treated as one kscgen knows
// nothing about, its derived values updated and every other line kept.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ksc/ksc_statements.h"

namespace kscgen {

class WrittenRecord {
 public:
  // The record's name in its folder.
  static constexpr const char* kFileName = ".kscgen.written";

  // Reads a record from the bytes of its file; false, with nothing taken,
  // when they are not a whole record of this version (another header, a
  // line cut short, blank or of other fields, a NUL): the hand edits such a
  // file tells of cannot be told, and must not be taken for none.
  bool Load(std::string_view bytes);

  // What kscgen last wrote into the KSC file `name` (as the folder spells
  // it; names the song manager takes for one, in another case or the other
  // encoding, are one); null when the record does not know it. Good until
  // the next Find.
  const KscValues* Find(const std::string& name);

  // Records `values` as what `name` holds of kscgen's now.
  void Set(const std::string& name, const KscValues& values);

  // Forgets the files the run neither looked up nor set for which
  // `exists(name)` is false: a KSC file gone since, whose name a file of
  // another program may take later.
  template <typename Exists>
  void ForgetGone(Exists exists) {
    for (auto it = files_.begin(); it != files_.end();) {
      if (!it->second.seen && !exists(std::string(it->second.name()))) {
        it = files_.erase(it);
        changed_ = true;
      } else {
        ++it;
      }
    }
  }

  // Whether Set changed the record since Load.
  bool changed() const { return changed_; }

  // The record's file.
  std::string Bytes() const;

  void Clear() {
    files_.clear();
    changed_ = false;
  }

 private:
  // A file's line of the record, as the file holds it: its name as the
  // folder spells it, then each value after a tab. One string a file, not
  // one a value: a folder of 200,000 videos holds 200,000 of them.
  struct Entry {
    std::string line;
    bool seen = false;  // looked up or set by this run
    std::string_view name() const { return std::string_view(line).substr(0, line.find('\t')); }
  };
  // By the name the song manager reads (GBK, compared as it compares them).
  struct FoldingLess {
    bool operator()(const std::string& x, const std::string& y) const;
  };
  // Takes one line of a record; false when it is no record line.
  bool TakeLine(std::string_view line);

  std::map<std::string, Entry, FoldingLess> files_;
  KscValues found_;  // the values Find gave last
  bool changed_ = false;
};

}  // namespace kscgen
