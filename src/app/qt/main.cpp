#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "app/qt/program_exit.h"
#include "app/qt/program_icon.h"
#include "app/qt/setup_window.h"
#include "app/program_arguments.h"
#include "app/setup_layout.h"
#include "logscreen/qt/demo_survey.h"
#include "platform/qt/alsa_sound.h"
#include "platform/qt/canvas_text.h"
#include "platform/program_options.h"
#include "platform/qt/prompts.h"
#include "platform/screen_size.h"

int main(int argc, char** argv) {
  if (auto code = obrix::AnswerHelpOrVersion(argc, argv, "obrix38", obrix::kProgramUsage)) return *code;
  QApplication app(argc, argv);
  QApplication::setWindowIcon(obrix::ProgramIcon());
  // The toolkit has taken its own options out of argv; what is left must be the program's.
  if (const std::string wrong = obrix::CheckProgramArguments(argc, argv); !wrong.empty()) {
    obrix::ReportUsageError("obrix38", wrong);
    return 2;
  }
  obrix::InstallFontSubstitutes();
  const std::unique_ptr<obrix::Sound> sound = obrix::MakeSystemSound();
  obrix::SetSound(sound.get());

  int sw = 1280, sh = 800, sx = 0, sy = 0;
  if (auto over = obrix::ScreenSizeOverride(argc, argv)) {
    sw = over->width;
    sh = over->height;
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    // The window's size is its client area: measured from the space the desktop's panels leave, so that the
    // window with its title bar stays on the screen.
    const QRect free = screen->availableGeometry();
    sx = free.left();
    sy = free.top();
    sw = free.width();
    sh = free.height();
  }
  const obrix::WindowPlacement place = obrix::ComputeMainWindow(sw, sh);

  obrix::QtPrompts prompts;
  obrix::DemoPrompts demoPrompts;
  const std::optional<int> demo = obrix::DemoSurveySeconds(argc, argv);
  obrix::SetPrompts(demo ? static_cast<obrix::Prompts*>(&demoPrompts) : &prompts);
  QPointer<obrix::SetupWindow> window = new obrix::SetupWindow(QSize(place.width, place.height));
  window->setAttribute(Qt::WA_DeleteOnClose);
  // Signals, the window destroyed by the display, a lost display: each ends the session before the program.
  auto exits = std::make_unique<obrix::ExitRequests>(window, [](int code) { QCoreApplication::exit(code); });
  obrix::InstallExitGuard();
  window->move(sx + place.left, sy + place.top);
  window->show();

  // --grab FILE: render the window to a PNG once it is shown, then quit (screenshots, offscreen platform).
  std::string grabPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--grab") == 0 && i + 1 < argc) grabPath = argv[i + 1];
  }
  if (!grabPath.empty()) {
    QTimer::singleShot(200, window, [window, grabPath] {
      if (!window) return;
      bool ok = window->grab().save(QString::fromStdString(grabPath));
      QCoreApplication::exit(ok ? 0 : 1);
    });
  }
  // --demo-survey SECONDS: a survey driven by itself (the demo without a display).
  if (demo)
    obrix::StartDemoSurvey(window, *demo, obrix::DemoGrabPrefix(argc, argv), obrix::DemoFixWaitSeconds(argc, argv));
  int code = app.exec();
  // However the loop was left, the readers are stopped and joined and the file closed before anything goes.
  obrix::DisarmExitGuard();
  obrix::EndSessionForExit();
  delete window.data();
  exits.reset();
  obrix::SetPrompts(nullptr);
  obrix::SetSound(nullptr);
  return code;
}
