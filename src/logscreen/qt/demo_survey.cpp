#include "logscreen/qt/demo_survey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "datafile/data_file.h"
#include "logscreen/qt/log_window.h"
#include "platform/message_box.h"
#include "platform/qt/canvas_text.h"
#include "platform/ticks.h"
#include "state/session.h"

namespace obrix {
namespace {

void SendKey(QWidget* target, int key, const QString& text) {
  if (!target) return;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
}

void Say(const char* text) {
  std::printf("demo: %s\n", text);
  std::fflush(stdout);
}

// Steps of the run, one after the other on the event loop.
struct DemoRun {
  QWidget* setup = nullptr;
  int seconds = 60;
  int fixWaitSeconds = 30;
  uint32_t waitStart = 0;
  std::string dataFile;
  std::string grabPrefix;

  void Grab(const char* suffix) {
    const std::string path = grabPrefix + suffix;
    if (setup->window()->grab().save(QString::fromStdString(path)))
      std::printf("demo: picture %s\n", path.c_str());
    else
      std::fprintf(stderr, "demo: cannot write %s\n", path.c_str());
    std::fflush(stdout);
  }

  void ScheduleGrabs() {
    if (grabPrefix.empty()) return;
    const int first = std::min(seconds * 1000 / 2, 6000);
    QTimer::singleShot(first, setup, [this] {
      Grab(Sess().MapVisible ? "-map.png" : "-nomap.png");
      if (LogWindow* log = TheLogWindow()) log->RunCommand(LoggingCommand::ToggleView);
      QTimer::singleShot(1500, setup, [this] { Grab(Sess().MapVisible ? "-map.png" : "-nomap.png"); });
    });
  }

  // The whole survey on the review map: Enter Review (I), Fit All (F), the map pane's picture, Exit Review (E).
  void GrabReviewMap(LogWindow* log) {
    if (!Sess().MapVisible) log->RunCommand(LoggingCommand::ToggleView);
    if (!Sess().MapVisible) return;
    Say("Enter Review (I), Fit All (F)");
    SendKey(log, Qt::Key_I, "i");
    SendKey(log, Qt::Key_F, "f");
    const std::string path = grabPrefix + "-review-map.png";
    if (log->mapPane()->grab().save(QString::fromStdString(path)))
      std::printf("demo: picture %s\n", path.c_str());
    else
      std::fprintf(stderr, "demo: cannot write %s\n", path.c_str());
    std::fflush(stdout);
    Say("Exit Review (E)");
    SendKey(log, Qt::Key_E, "e");
  }

  void Fail(const char* why) {
    std::fprintf(stderr, "demo: %s\n", why);
    std::fflush(stderr);
    // The readers are stopped and joined (and the file closed) while the event loop still runs.
    EndLoggingSession(1);
    QCoreApplication::exit(1);
  }

  void Start() {
    Say("Logging (L)");
    SendKey(setup, Qt::Key_L, "l");
    LogWindow* log = TheLogWindow();
    if (!log || !log->isVisible()) return Fail("the logging screen did not open (are both simulators running?)");
    waitStart = TickMs();
    Say("waiting for the first valid fix");
    QTimer::singleShot(200, setup, [this] { WaitForFix(); });
  }

  void WaitForFix() {
    LogWindow* log = TheLogWindow();
    if (!log || !log->isVisible()) return Fail("the logging screen closed");
    if (!log->mainButton(1, 3)->isEnabled()) {
      if (TickDiff(TickMs(), waitStart) > static_cast<uint32_t>(fixWaitSeconds) * 1000u) {
        const std::string why = "no valid GPS fix within " + std::to_string(fixWaitSeconds) + " s";
        return Fail(why.c_str());
      }
      QTimer::singleShot(200, setup, [this] { WaitForFix(); });
      return;
    }
    Say("File (F), proposed name accepted");
    SendKey(log, Qt::Key_F, "f");
    if (Sess().LoggingState != StandBy || !DataFileIsOpen()) return Fail("no data file was opened");
    dataFile = DataFile().DataFilePath;
    Say("Go (G)");
    SendKey(log, Qt::Key_G, "g");
    if (Sess().LoggingState != Logging) return Fail("recording did not start");
    std::printf("demo: recording for %d s into %s\n", seconds, dataFile.c_str());
    std::fflush(stdout);
    ScheduleGrabs();
    QTimer::singleShot(seconds * 1000, setup, [this] { Finish(); });
  }

  void Finish() {
    LogWindow* log = TheLogWindow();
    if (!log) return Fail("the logging screen went away");
    Say("Pause (any key)");
    SendKey(log, Qt::Key_Space, " ");
    if (!grabPrefix.empty()) GrabReviewMap(log);
    Say("Exit (X), Yes");
    SendKey(log, Qt::Key_X, "x");
    if (Sess().LoggingState != Closed) return Fail("the session did not end");
    std::printf("demo: data file written: %s\n", dataFile.c_str());
    std::fflush(stdout);
    QCoreApplication::exit(0);
  }
};

}  // namespace

int DemoPrompts::ShowMessage(const std::string& templateName, const std::string& title, const std::string& text,
                             QWidget*) {
  std::printf("demo: message \"%s\": %s\n", title.c_str(), ToDisplayLines(text).c_str());
  std::fflush(stdout);
  return IDOK;  // Yes, OK
}

std::optional<std::string> DemoPrompts::SaveFileName(QWidget*, const std::string&, const std::string& initialFolder,
                                                     const std::string& suggestedName, const FileFilter&,
                                                     const std::string& defaultSuffix) {
  return ApplyDefaultSuffix(JoinFolder(initialFolder, suggestedName), defaultSuffix);
}

int DemoPrompts::RunDialog(QDialog&) { return 0; }
int DemoPrompts::PopupMenu(QMenu&, QPoint) { return 0; }

std::optional<int> DemoSurveySeconds(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--demo-survey") != 0) continue;
    char* end = nullptr;
    const long v = std::strtol(argv[i + 1], &end, 10);
    if (end == argv[i + 1] || *end != '\0' || v < 1 || v > 86400) return std::nullopt;
    return static_cast<int>(v);
  }
  return std::nullopt;
}

int DemoFixWaitSeconds(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--demo-fix-wait") != 0) continue;
    char* end = nullptr;
    const long v = std::strtol(argv[i + 1], &end, 10);
    if (end != argv[i + 1] && *end == '\0' && v >= 1 && v <= 3600) return static_cast<int>(v);
  }
  return 30;
}

std::string DemoGrabPrefix(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--demo-grab") == 0) return argv[i + 1];
  return {};
}

void StartDemoSurvey(QWidget* setup, int seconds, const std::string& grabPrefix, int fixWaitSeconds) {
  auto* run = new DemoRun;
  run->setup = setup;
  run->seconds = seconds;
  run->fixWaitSeconds = fixWaitSeconds;
  run->grabPrefix = grabPrefix;
  QObject::connect(setup, &QObject::destroyed, [run] { delete run; });
  QTimer::singleShot(300, setup, [run] { run->Start(); });
}

}  // namespace obrix
