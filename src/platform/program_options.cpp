#include "platform/program_options.h"

#include <cstdio>
#include <cstring>

#ifndef OBRIX_VERSION
#define OBRIX_VERSION "unknown"
#endif

namespace obrix {

const char* ProgramVersion() { return OBRIX_VERSION; }

std::string VersionLine(const std::string& program) { return program + " " + ProgramVersion() + "\n"; }

std::optional<int> AnswerHelpOrVersion(int argc, const char* const* argv, const std::string& program,
                                       const std::string& usage) {
  for (int i = 1; i < argc && argv && argv[i]; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
      std::fputs(usage.c_str(), stdout);
      return 0;
    }
    if (std::strcmp(a, "--version") == 0) {
      std::fputs(VersionLine(program).c_str(), stdout);
      return 0;
    }
  }
  return std::nullopt;
}

bool LooksLikeOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

void ReportUsageError(const std::string& program, const std::string& what) {
  std::fprintf(stderr, "%s: %s (see %s --help)\n", program.c_str(), what.c_str(), program.c_str());
}

}  // namespace obrix
