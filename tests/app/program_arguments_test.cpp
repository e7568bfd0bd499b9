// The program's own arguments, after the toolkit took its options.
#include <gtest/gtest.h>

#include <vector>

#include "app/program_arguments.h"

namespace obrix {
namespace {

TEST(ProgramArguments, AcceptsItsOptionsAndNamesWhatIsWrong) {
  struct Case {
    std::vector<const char*> args;
    const char* wrong;  // "" when accepted
  } cases[] = {
      {{}, ""},
      {{"--screen", "1024x768"}, ""},
      {{"--screen=800x1280", "--grab", "/tmp/x.png"}, ""},
      {{"--demo-survey", "60", "--demo-grab", "p", "--demo-fix-wait", "5"}, ""},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"-x"}, "unknown option -x"},
      {{"file.T38"}, "unexpected argument file.T38"},
      {{"--grab"}, "--grab needs a value"},
      {{"--screen", "big"}, "--screen needs WxH (for example 1024x768)"},
      {{"--screen=0x600"}, "--screen needs WxH (for example 1024x768)"},
      {{"--demo-survey", "0"}, "--demo-survey needs 1 to 86400 seconds"},
      {{"--demo-survey", "12s"}, "--demo-survey needs 1 to 86400 seconds"},
      {{"--demo-fix-wait", "99999999999"}, "--demo-fix-wait needs 1 to 3600 seconds"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv{"obrix38"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(CheckProgramArguments(static_cast<int>(argv.size()), argv.data()), c.wrong)
        << (c.args.empty() ? "(none)" : c.args[0]);
  }
}

}  // namespace
}  // namespace obrix
