#include "app/program_arguments.h"

#include <cstring>

#include "platform/numbers.h"
#include "platform/screen_size.h"

namespace obrix {

const char kProgramUsage[] =
    "usage: obrix38 [options]\n"
    "Logs EM38 readings with GNSS positions into survey data files, with a live map.\n"
    "\n"
    "  --screen WxH            lay the screens out for a display of W x H pixels (also $OBRIX38_SCREEN)\n"
    "  --grab FILE             write the first screen to the PNG FILE once shown, then end\n"
    "  --demo-survey SECONDS   run a survey by itself for SECONDS (1 to 86400) and print the data file's path\n"
    "  --demo-grab PREFIX      with --demo-survey: pictures of the logging screen as PREFIX-*.png\n"
    "  --demo-fix-wait SECONDS with --demo-survey: wait this long for the first fix (1 to 3600, default 30)\n"
    "  --help                  this text\n"
    "  --version               the version\n"
    "\n"
    "The toolkit's own options (-platform NAME, -display NAME, ...) are accepted as well.\n"
    "Data root: $OBRIX38_HOME, else ~/.local/share/Wendral/ (settings and the port links ports/COMn).\n";

namespace {

bool WholeNumberIn(const char* text, int lo, int hi) {
  if (!*text) return false;
  for (const char* p = text; *p; ++p)
    if (*p < '0' || *p > '9') return false;
  if (std::strlen(text) > 9) return false;
  const int v = ParseIntC(text);
  return v >= lo && v <= hi;
}

}  // namespace

std::string CheckProgramArguments(int argc, const char* const* argv) {
  for (int i = 1; i < argc && argv[i]; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--screen=", 0) == 0) {
      if (!ParseScreenSize(a.substr(9))) return "--screen needs WxH (for example 1024x768)";
      continue;
    }
    const bool takesValue =
        a == "--screen" || a == "--grab" || a == "--demo-survey" || a == "--demo-grab" || a == "--demo-fix-wait";
    if (!takesValue) return a.size() > 1 && a[0] == '-' ? "unknown option " + a : "unexpected argument " + a;
    if (i + 1 >= argc || !argv[i + 1]) return a + " needs a value";
    const char* v = argv[++i];
    if (a == "--screen" && !ParseScreenSize(v)) return "--screen needs WxH (for example 1024x768)";
    if (a == "--demo-survey" && !WholeNumberIn(v, 1, 86400)) return "--demo-survey needs 1 to 86400 seconds";
    if (a == "--demo-fix-wait" && !WholeNumberIn(v, 1, 3600)) return "--demo-fix-wait needs 1 to 3600 seconds";
  }
  return {};
}

}  // namespace obrix
