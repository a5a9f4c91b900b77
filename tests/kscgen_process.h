// kscgen started as a user or another tool starts it: a command through the
// shell, in the UTF-8 locale, its output and exit status collected.
#pragma once

#include <string>

namespace kscgen::testing {

// What a run of kscgen gave back.
struct KscgenRun {
  int exit_code;    // -1 when the run did not end by itself
  std::string out;  // standard output (with standard error, when merged)
  std::string err;  // standard error, when kept apart
};

// How kscgen is started.
struct KscgenStart {
  std::string cwd;            // the folder it starts in; the tests' own when empty
  std::string prefix;         // a command it runs behind: another user, a clock, a limit
  bool merge_errors = false;  // standard error into `out`, in the order written
  std::string out_file;       // where standard output goes instead of `out` (/dev/full)
  std::string err_file;       // where standard error goes instead of `err`
};

// Runs kscgen with `args` (shell words).
KscgenRun RunKscgen(const std::string& args, const KscgenStart& start = {});

// Runs `prefix` kscgen `args`, standard error merged into `out` as a
// terminal shows them.
KscgenRun RunKscgenBehind(const std::string& prefix, const std::string& args);

}  // namespace kscgen::testing
