#pragma once
// Runs one of the command-line tools from the build's bin folder with a shell argument string, capturing its
// exit status, standard output and standard error.
#include <climits>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace obrix::test {

inline std::string ToolPath(const std::string& name) {
  if (const char* bin = std::getenv("OBRIX_BIN")) return std::string(bin) + "/" + name;
  char self[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir(self, n > 0 ? static_cast<size_t>(n) : 0);
  return dir.substr(0, dir.find_last_of('/') + 1) + name;
}

struct ToolRun {
  int status;
  std::string out, err;
};

// `program` is a tool name of the build or a command found on the PATH (with `onPath`); `home` is its data root
// (OBRIX38_HOME) when not empty.
inline ToolRun RunTool(const TempDir& dir, const std::string& program, const std::string& args, bool onPath = false,
                       const std::string& home = "") {
  const std::string out = dir.file("stdout"), err = dir.file("stderr");
  std::string command = onPath ? program : "'" + ToolPath(program) + "'";
  if (!home.empty()) command = "OBRIX38_HOME='" + home + "' " + command;
  const int rc = std::system((command + " " + args + " >'" + out + "' 2>'" + err + "'").c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadFile(out), ReadFile(err)};
}

// Whether a command is on the PATH.
inline bool OnPath(const std::string& command) {
  return std::system(("command -v " + command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace obrix::test
