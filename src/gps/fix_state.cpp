#include "gps/fix_state.h"

namespace obrix {
namespace {
FixState g_fix;
}

FixState& Fix() { return g_fix; }
void ResetFix() { g_fix = FixState(); }

}  // namespace obrix
