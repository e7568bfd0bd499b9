#include "state/session.h"

#include "state/session_end.h"

namespace obrix {
namespace {
Session g_session;
SessionEndHandler g_endHandler;
}

void SetSessionEndHandler(SessionEndHandler handler) { g_endHandler = std::move(handler); }

Session& Sess() { return g_session; }
void ResetSession() { g_session = Session(); }

int EndLoggingSession(int silent) {
  if (g_endHandler) return g_endHandler(silent);
  Session& s = g_session;
  s.MapUpdatesEnabled = false;
  if (s.LoggingState == Closed) return 1;
  // Sessions with ports and files are ended by the logging screen once it exists.
  s.LoggingState = Closed;
  return 1;
}

}  // namespace obrix
