#include "app/session.h"

namespace obrix {
namespace {
Session g_session;
}

Session& Sess() { return g_session; }
void ResetSession() { g_session = Session(); }

int EndLoggingSession(int silent) {
  (void)silent;
  Session& s = g_session;
  s.MapUpdatesEnabled = false;
  if (s.LoggingState == Closed) return 1;
  // Sessions with ports and files are ended by the logging screen once it exists.
  s.LoggingState = Closed;
  return 1;
}

}  // namespace obrix
