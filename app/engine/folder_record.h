// The record of one folder as a run keeps it (WrittenRecord): read when the
// run enters the folder, asked for each KSC file, saved as it leaves. A
// record that exists but cannot be read is never taken for none: the hand
// edits it would tell would be reverted and the record written over with
// less than it holds.
#pragma once

#include <string>
#include <vector>

#include "app/engine/written_record.h"
#include "ksc/ksc_statements.h"
#include "os/file_system.h"

namespace kscgen {

class FolderRecord {
 public:
  // What the run does with the files that differ: its warning says it.
  struct RunKind {
    bool force = false;    // replaces them all the same
    bool dry_run = false;  // only tells what it would do
  };

  // Reads the record of `folder`. One that exists but cannot be read or is
  // not a record (not a file, damaged, another version's) makes
  // unreadable() true, with a warning naming it and why in `*warnings`.
  void Load(os::Folder& folder, const RunKind& run, std::vector<std::string>* warnings);

  // Whether the record exists but could not be read: which values a person
  // changed cannot be told, and the record is not saved.
  bool unreadable() const { return unreadable_; }

  // As WrittenRecord's.
  const KscValues* Find(const std::string& name) { return record_.Find(name); }
  void Set(const std::string& name, const KscValues& values) { record_.Set(name, values); }

  // Saves what the run wrote in `folder` for the next run; true when the
  // folder's entries changed (saved, or the old record removed). A record
  // that cannot be saved is told in `*warnings`, and the old one removed:
  // kept, it would make the next run take this run's values for a person's.
  bool Save(os::Folder& folder, std::vector<std::string>* warnings);

  void Clear() {
    record_.Clear();
    unreadable_ = false;
    had_record_ = false;
  }

 private:
  WrittenRecord record_;
  bool unreadable_ = false;
  bool had_record_ = false;  // a record stood in the folder when the run came
};

}  // namespace kscgen
