#include "app/qt/program_exit.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <fcntl.h>
#include <unistd.h>

#include "background/background_list.h"
#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "serial/reader_thread.h"
#include "state/session.h"

namespace obrix {
namespace {

constexpr int kExitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe the signal handler writes to; the window thread reads it.
int g_signalPipe[2] = {-1, -1};

void OnExitSignal(int sig) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(sig);
  if (g_signalPipe[1] >= 0) (void)!::write(g_signalPipe[1], &byte, 1);
  errno = saved;
}

// The X11 event that tells a window was destroyed, as it arrives (the protocol's layout).
struct DestroyNotifyEvent {
  uint8_t responseType;
  uint8_t pad;
  uint16_t sequence;
  uint32_t event;
  uint32_t window;
};
constexpr uint8_t kDestroyNotify = 17;

std::atomic<bool> g_guardArmed{false};

// Stops a reader thread that may be waiting for the window thread: its run flag is already cleared, so its
// hand-over gives up; a thread that does not end within `ms` is left alone.
void JoinWithin(ReaderThread& thread, uint32_t ms) {
  if (thread.WaitEnded(ms)) thread.Join();
}

void ExitGuard() {
  if (!g_guardArmed.exchange(false)) return;
  ReaderValues& r = Readers();
  r.Em38ReaderRun = 0;
  r.GpsReaderRun = 0;
  Ports().GpsPortClosing.store(1);  // the GPS monitor's reader
  InstrumentReaderThread().Wake();
  GpsReaderThread().Wake();
  JoinWithin(InstrumentReaderThread(), 1000);
  JoinWithin(GpsReaderThread(), 1000);
  Session& s = Sess();
  if (s.LoggingState == Logging) {
    WriteEventRecord(s.MapOverflowState == MapOverflow::AtPageEdge ? "PAUSED BMP" : "PAUSED", 'X');
  }
  s.LoggingState = Closed;
  CloseDataFile();
  DeleteAllBackgroundFiles();
  std::fprintf(stderr, "obrix38: the display is gone; the session was ended and the data file closed\n");
  std::fflush(nullptr);
  // The rest of the exit would join reader threads that belong to a window thread that no longer runs.
  ::_exit(0);
}

}  // namespace

void EndSessionForExit() {
  EndLoggingSession(1);
  DeleteAllBackgroundFiles();
}

ExitRequests::ExitRequests(QWidget* window, std::function<void(int)> quit) : window_(window), quit_(std::move(quit)) {
  if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_signalPipe[0] = g_signalPipe[1] = -1;
  } else {
    notifier_ = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { OnSignal(); });
    struct sigaction sa{};
    sa.sa_handler = OnExitSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : kExitSignals) ::sigaction(sig, &sa, nullptr);
  }
  QCoreApplication::instance()->installNativeEventFilter(this);
}

ExitRequests::~ExitRequests() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
  for (int sig : kExitSignals) std::signal(sig, SIG_DFL);
  delete notifier_;
  for (int& fd : g_signalPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

bool ExitRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t" || !message || !window_) return false;
  const auto* e = static_cast<const DestroyNotifyEvent*>(message);
  if ((e->responseType & 0x7F) != kDestroyNotify) return false;
  if (!window_->testAttribute(Qt::WA_WState_Created) || e->window != window_->winId()) return false;
  // Not inside the platform's event handling: once it has returned.
  QTimer::singleShot(0, this, [this] { Leave("the window was destroyed"); });
  return false;
}

void ExitRequests::OnSignal() {
  unsigned char byte = 0;
  int sig = 0;
  while (::read(g_signalPipe[0], &byte, 1) == 1) sig = byte;
  if (sig == 0) return;
  const char* name = sig == SIGTERM ? "SIGTERM" : sig == SIGINT ? "SIGINT" : sig == SIGHUP ? "SIGHUP" : "a signal";
  std::string why = std::string(name) + " received";
  Leave(why.c_str());
}

void ExitRequests::Leave(const char* why) {
  if (leaving_) return;
  leaving_ = true;
  std::fprintf(stderr, "obrix38: %s; the session is ended and the program closes\n", why);
  std::fflush(stderr);
  EndSessionForExit();
  if (quit_) quit_(0);
}

void InstallExitGuard() {
  // The reader threads' holders exist before the guard is registered, so the guard runs before they are
  // destroyed.
  (void)InstrumentReaderThread();
  (void)GpsReaderThread();
  g_guardArmed.store(true);
  static const bool registered = std::atexit(ExitGuard) == 0;
  (void)registered;
}

void DisarmExitGuard() { g_guardArmed.store(false); }

}  // namespace obrix
