#pragma once
// Every way out of the program ends the logging session the same way: the window closed or destroyed, SIGTERM,
// SIGINT, SIGHUP, the display connection lost.
#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QSocketNotifier;

namespace obrix {

// The end of a session as the program closes: a silent EndLoggingSession (readers stopped and joined, "PAUSED"
// when recording, the data file synced and closed) and the temporary copies of the background files removed.
// Window thread; does nothing more when no session is open.
void EndSessionForExit();

// Routes the outside requests to stop to the window thread: SIGTERM, SIGINT and SIGHUP (through a pipe the
// handler writes to; nothing else runs in the handler) and the destruction of `window`'s native window by the
// display (an X11 DestroyNotify). Each ends the session (EndSessionForExit) and then calls `quit` with 0. One
// at a time; the signal handlers are put back to the default when it is destroyed.
class ExitRequests : public QObject, public QAbstractNativeEventFilter {
 public:
  ExitRequests(QWidget* window, std::function<void(int code)> quit);
  ~ExitRequests() override;
  ExitRequests(const ExitRequests&) = delete;
  ExitRequests& operator=(const ExitRequests&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  void OnSignal();
  void Leave(const char* why);

  QPointer<QWidget> window_;
  std::function<void(int)> quit_;
  QSocketNotifier* notifier_ = nullptr;
  bool leaving_ = false;
};

// For an exit() from inside the event loop (the display's connection lost: the platform ends the process
// itself): stops and joins the readers, writes "PAUSED" when recording, syncs and closes the data file, removes
// the background files' temporary copies and ends the process with 0, all without touching a widget. Does
// nothing once DisarmExitGuard has been called (main's own return).
void InstallExitGuard();
void DisarmExitGuard();

}  // namespace obrix
