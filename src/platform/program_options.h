#pragma once
// The options every program of the project answers alike: --help (or -h) prints its usage to standard output,
// --version its name and version; both end the program with exit code 0.
#include <optional>
#include <string>

namespace obrix {

// The version of the programs, "2.15".
const char* ProgramVersion();

// "NAME 2.15\n".
std::string VersionLine(const std::string& program);

// --help, -h or --version among the arguments (the first of them counts): prints the usage or the version line
// to standard output and gives 0, the program's exit code. Otherwise gives nothing.
std::optional<int> AnswerHelpOrVersion(int argc, const char* const* argv, const std::string& program,
                                       const std::string& usage);

// True for an argument that looks like an option ("-x", "--xyz"); "-" alone (standard input/output) is not.
bool LooksLikeOption(const std::string& arg);

// "NAME: WHAT (see NAME --help)\n" on standard error.
void ReportUsageError(const std::string& program, const std::string& what);

}  // namespace obrix
