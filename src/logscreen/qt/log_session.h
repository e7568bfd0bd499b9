#pragma once
// Start and end of a logging session: the Logging command after its configuration checks, and the full
// EndLoggingSession of the logging screen.
#include <QWidget>

namespace obrix {

class LogWindow;

// The Logging command from the preparation of the session to the shown logging screen: opens the ports,
// checks the instrument's record format, starts the readers and the timer. `setupButtons` hides or shows the
// setup screen's buttons, `repaintSetup` repaints it. Returns 1 when the logging screen is shown; otherwise
// the ports are closed again, the session is Closed and the setup screen stays.
int StartLoggingSession(QWidget* setup, LogWindow& log);

// Installs the logging screen's end of a session as EndLoggingSession (nullptr restores the plain end).
void InstallSessionEnd(LogWindow* log);

}  // namespace obrix
