#include "kscgen_process.h"

#include <sys/wait.h>

#include <cstdlib>

#include "test_support.h"

namespace kscgen::testing {

KscgenRun RunKscgen(const std::string& args, const KscgenStart& start) {
  TempFolder captured;  // apart from the folders the run works in
  const std::string out = start.out_file.empty() ? captured / "out" : start.out_file;
  const std::string err = start.err_file.empty() ? captured / "err" : start.err_file;
  std::string cmd = start.cwd.empty() ? "" : "cd '" + start.cwd + "' && ";
  cmd += "LC_ALL=C.UTF-8 " + start.prefix + " '" + KSCGEN_BIN + "' " + args + " >'" + out + "' " +
         (start.merge_errors ? "2>&1" : "2>'" + err + "'");
  const int status = std::system(cmd.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, start.out_file.empty() ? ReadFile(out) : "",
          start.err_file.empty() && !start.merge_errors ? ReadFile(err) : ""};
}

KscgenRun RunKscgenBehind(const std::string& prefix, const std::string& args) {
  KscgenStart start;
  start.prefix = prefix;
  start.merge_errors = true;
  return RunKscgen(args, start);
}

}  // namespace kscgen::testing
