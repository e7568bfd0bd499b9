#pragma once
// The program's own command line: its usage text and the check of what is left after the toolkit took its
// options (-platform, -display, ...).
#include <string>

namespace obrix {

extern const char kProgramUsage[];

// Empty when every argument is one of the program's options with a fitting value; otherwise what is wrong
// ("unknown option --x", "--screen needs WxH", ...).
std::string CheckProgramArguments(int argc, const char* const* argv);

}  // namespace obrix
