#include "app/qt/setup_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/logging_checks.h"
#include "app/qt/program_exit.h"
#include "background/background_list.h"
#include "dialogs/qt/geometry_setup_dialog.h"
#include "dialogs/qt/gps_setup_dialog.h"
#include "dialogs/qt/map_display_options_dialog.h"
#include "dialogs/qt/profile_display_options_dialog.h"
#include "dialogs/qt/survey_setup_dialog.h"
#include "dialogs/qt/system_setup_dialog.h"
#include "gps/projection.h"
#include "logscreen/qt/log_session.h"
#include "logscreen/qt/log_window.h"
#include "monitor/qt/monitor_window.h"
#include "platform/message_box.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/qt/buttons.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/key_translate.h"
#include "platform/qt/message_box.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/survey_inputs.h"
#include "state/palette.h"
#include "state/session.h"
#include "survey/pane_scales.h"

namespace obrix {
namespace {

constexpr uint32_t kUptimeLimitMs = 1728000000u;  // 20 days

QFont Font(const FontSpec& f) { return SystemFont(f.height, f.weight, f.italic); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The font, made smaller when the caption would not fit the width.
QFont FittedFont(QFont font, const QString& caption, int width) {
  while (font.pixelSize() > 10 && TextWidth(font, caption) > width) font.setPixelSize(font.pixelSize() - 1);
  return font;
}

// The EM38 body across and along, in metres.
constexpr double kBodyAcross = 0.05;
constexpr double kBodyAlong = 1.0;

}  // namespace

SetupWindow::SetupWindow(QSize client, QWidget* parent) : QWidget(parent) {
  setObjectName("Obrix");
  setWindowTitle(kWindowTitle);
  setFixedSize(client);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);

  // 1. Client rectangle and screen class.
  const int cw = client.width(), ch = client.height();
  portrait_ = ComputePortrait(cw, ch);
  largeScreen_ = ComputeLargeScreen(portrait_, cw, ch);
  canvas_.Resize(cw, ch, kButtonFace);

  // 2. Scratch folder, without the temporary files an earlier run may have left.
  MakeFolders(ScratchFolder());
  ClaimScratchFolder();
  // 3. Start-up values of this instrument.
  ApplyStartupValues();
  // 4. Uptime check.
  if (TickMs() > kUptimeLimitMs) Drv().UptimeWarning = true;
  // 5. Settings.
  SaveLoadSettings(Load);
  UpdateReadingsPerInterval();
  InitPaneScales();
  // 6. Fonts.
  fonts_ = ComputeFonts(largeScreen_);
  // 7. Buttons, 10. their layout.
  CreateButtons();

  // 8. The logging screen and the GPS monitor cover the client area, hidden until used.
  auto* log = new LogWindow(this, client, fonts_, portrait_, largeScreen_);
  log->SetSetupHooks([this](bool show) { for (QPushButton* b : buttons_) b->setVisible(show); },
                     [this] { Repaint(); });
  logScreen_ = log;
  auto* monitor = new MonitorWindow(this, client, fonts_, largeScreen_);
  monitor->SetSetupHooks([this](bool show) { for (QPushButton* b : buttons_) b->setVisible(show); },
                         [this] { Repaint(); });
  monitor_ = monitor;

  // 9. Map visibility of the logging screen.
  Sess().MapVisible = UsesGps(Config());
  // 11. Shared pens and brushes.
  CreateSharedPens();
  // 12. Map projection.
  InitProjection();

  Repaint();
}

SetupWindow::~SetupWindow() {
  // Destroyed with a session open (the program ends without a close): the session ends as at a close.
  EndSessionForExit();
}

void SetupWindow::CreateButtons() {
  const int cw = width(), ch = height();
  const auto rects = LayoutSetupButtons(portrait_, cw, ch);
  const QFont font = Font(SetupButtonFont(fonts_, portrait_, cw, ch));
  for (int i = 0; i < kSetupButtonCount; ++i) {
    QPushButton* b = MakeScreenButton(kSetupButtonCaptions[i], kSetupButtonFirstId + i, this);
    b->setFont(FittedFont(font, QString(kSetupButtonCaptions[i]).remove('&'), rects[i].right - rects[i].left - 10));
    b->setGeometry(rects[i].left, rects[i].top, rects[i].right - rects[i].left, rects[i].bottom - rects[i].top);
    connect(b, &QPushButton::clicked, this, [this, i] { HandleInput({KeyInput::Command, kSetupButtonFirstId + i}); });
    buttons_[i] = b;
  }
  SetFocusedButton(Sess().SetupFocusedButton);
}

void SetupWindow::SetFocusedButton(int index) {
  Sess().SetupFocusedButton = index;
  for (int i = 0; i < kSetupButtonCount; ++i) SetDefaultLook(buttons_[i], i == index);
}

void SetupWindow::HandleInput(const KeyInput& input) {
  // Keys go to whichever screen is in front.
  if (logScreen_->isVisible()) { logScreen_->setFocus(); return; }
  if (monitor_->isVisible()) { monitor_->setFocus(); return; }
  setFocus();

  if (input.kind == KeyInput::Command) {
    int index = input.code - kSetupButtonFirstId;
    if (index >= 0 && index < kSetupButtonCount) RunCommand(index);
    return;
  }
  if (input.kind != KeyInput::KeyDown || Sess().ActiveScreen != 0) return;
  int focused = Sess().SetupFocusedButton;
  int command = DecodeSetupKey(input.code, focused);
  if (focused != Sess().SetupFocusedButton) SetFocusedButton(focused);
  if (command >= 0) RunCommand(command);
}

void SetupWindow::RunCommand(int index) {
  switch (index) {
    case 0: StartLogging(); break;
    case 1: RunSurveySetupDialog(this); Repaint(); break;
    case 2: RunSystemSetupDialog(this, width() < 640); Repaint(); break;
    case 3: RunGeometrySetupDialog(this); Repaint(); break;
    case 4: RunGpsSetupDialog(this, width() < 600); Repaint(); break;
    case 5: static_cast<MonitorWindow*>(monitor_)->Open(); break;
    case 6: RunMapDisplayOptionsDialog(this, width() < kMapOptionsNarrowBelow); Repaint(); setFocus(); break;
    case 7: RunProfileDisplayOptionsDialog(this); Repaint(); setFocus(); break;
    case 8: ResetToDefault(); break;
    case 9: close(); break;
    default:
      // The setup dialogs and the GPS monitor open here once they exist.
      break;
  }
}

void SetupWindow::StartLogging() {
  ConfigProblem problem = CheckLoggingConfiguration(Config());
  if (!problem.title.empty()) {
    ShowMessage(kMessageOk, problem.title, problem.text, this);
    Repaint();
    return;
  }
  if (StartLoggingSession(this, *static_cast<LogWindow*>(logScreen_)) == 0) {
    Repaint();
    return;
  }
  for (QPushButton* b : buttons_) b->hide();
  Repaint();
}

void SetupWindow::ResetToDefault() {
  int answer = ShowMessage(kMessageOkCancel, "Reset to Default Setting",
                           "Program settings will be reset to default and the program will close", this);
  if (answer != IDOK) return;
  SaveLoadSettings(Delete);
  DelayMs(100);
  close();
}

void SetupWindow::ShowUptimeWarning() {
  ShowMessage(kMessageOk, "Program Stop",
              "Windows has run for more than 20 days.\r\n"
              "Please restart the system to ensure efficient use of Windows timer.\r\n"
              "Use RESTART not SHUT DOWN.",
              this);
  DelayMs(100);
  close();
}

void SetupWindow::closeEvent(QCloseEvent* event) {
  EndSessionForExit();
  event->accept();
}

bool SetupWindow::event(QEvent* e) {
  if (IsScreenTab(e)) {
    keyPressEvent(static_cast<QKeyEvent*>(e));
    return true;
  }
  return QWidget::event(e);
}

void SetupWindow::keyPressEvent(QKeyEvent* event) {
  HandleInput(TranslateKey(*event));
  event->accept();
}

void SetupWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, CanvasImage(canvas_));
}

void SetupWindow::Repaint() {
  canvas_.Clear(kButtonFace);
  PaintPanel();
  const int cw = width(), ch = height();
  int summaryTop = 30;
  PaintTitle(summaryTop);

  const auto rects = LayoutSetupButtons(portrait_, cw, ch);
  int buttonsLeft = cw, buttonsTop = ch;
  for (const Rect& r : rects) {
    buttonsLeft = std::min(buttonsLeft, r.left);
    buttonsTop = std::min(buttonsTop, r.top);
  }
  const bool smallScreen = portrait_ && ch < 900;
  Rect frame;
  if (portrait_) {
    PaintSummary(20, cw - 24, summaryTop);
    frame = {20, summaryTop + (smallScreen ? 140 : 200), cw - 24, buttonsTop - 20};
  } else {
    PaintSummary(20, buttonsLeft - 20, 30);
    frame = {20, 250, buttonsLeft - 20, ch - 20};
  }
  PaintSketch(frame);
  update();

  if (Drv().UptimeWarning && !uptimeShown_) {
    uptimeShown_ = true;
    QTimer::singleShot(0, this, [this] { ShowUptimeWarning(); });
  }
}

void SetupWindow::PaintPanel() {
  const int cw = width(), ch = height();
  // A sunken frame around the client area with a round mark in each corner.
  canvas_.SelectBrush(HollowBrush());
  canvas_.SelectPen(SolidPen(1, Rgb(160, 160, 160)));
  canvas_.Rectangle(6, 6, cw - 6, ch - 6);
  canvas_.SelectPen(SolidPen(1, kWhite));
  canvas_.Rectangle(7, 7, cw - 5, ch - 5);
  canvas_.SelectPen(SolidPen(1, Rgb(128, 128, 128)));
  canvas_.SelectBrush(SolidBrush(Rgb(200, 200, 200)));
  const int d = 6;
  const Point corners[4] = {{10, 10}, {cw - 10 - d, 10}, {10, ch - 10 - d}, {cw - 10 - d, ch - 10 - d}};
  for (const Point& c : corners) canvas_.Ellipse(c.x, c.y, c.x + d, c.y + d);
}

void SetupWindow::PaintTitle(int& summaryTop) {
  const int cw = width(), ch = height();
  const QString title = kWindowTitle;
  const QString version = QString("Version ") + kSettingsVersion;
  const QFont labelFont = Font(fonts_.label);
  TextStyle grey{kTextGrey};
  TextStyle blue{kVersionBlue};
  if (!portrait_) {
    const QFont titleFont = Font(fonts_.largeButton);
    DrawTextRight(canvas_, cw - 30, ch - 100, title, titleFont, grey);
    DrawTextRight(canvas_, cw - 30, ch - 70, version, labelFont, blue);
    summaryTop = 30;
    return;
  }
  const QFont titleFont = Font(fonts_.title);
  Rect t = DrawTextCentred(canvas_, cw / 2, 5, title, titleFont, grey);
  Rect v = DrawTextRight(canvas_, t.right, t.bottom, version, labelFont, blue);
  const int line = TextHeight(Font(ch < 900 ? fonts_.smallSummary : fonts_.large));
  summaryTop = v.bottom + (ch > 899 ? 2 * line : static_cast<int>(1.2 * line));
}

void SetupWindow::PaintSummary(int areaLeft, int areaRight, int top) {
  const bool smallScreen = portrait_ && height() < 900;
  const QFont font = Font(smallScreen ? fonts_.smallSummary : fonts_.large);
  const SummaryColumns c = ComputeSummaryColumns(areaLeft, areaRight, smallScreen, TextWidth(font, "1885.000"),
                                                 TextWidth(font, "Pseudo GGA"));
  TextStyle text{kWindowText};
  int y = top;
  DrawTextCentred(canvas_, c.centre, y, "CURRENT PROGRAM SETTINGS", font, text);
  y += SummaryStep(0, smallScreen);
  DrawText(canvas_, c.leftX, y, "SURVEY PARAMETERS", font, text);
  DrawText(canvas_, c.rightX + 50, y, "SYSTEM SETUP", font, text);
  const auto rows = SummaryRows(Config(), Drv());
  for (size_t i = 0; i < rows.size(); ++i) {
    y += SummaryStep(static_cast<int>(i) + 1, smallScreen);
    DrawText(canvas_, c.leftX, y, Q(rows[i].leftLabel), font, text);
    DrawText(canvas_, c.leftX + c.labelOffset, y, Q(rows[i].leftValue), font, text);
    DrawText(canvas_, c.rightX, y, Q(rows[i].rightLabel), font, text);
    DrawText(canvas_, c.rightX + c.labelOffset, y, Q(rows[i].rightValue), font, text);
  }
}

void SetupWindow::PaintSketch(const Rect& frame) {
  if (frame.right - frame.left < 40 || frame.bottom - frame.top < 40) return;
  const QFont headFont = Font(fonts_.smallBold);
  const QFont dimFont = Font(fonts_.label);
  const int headHeight = TextHeight(headFont);
  DrawTextCentred(canvas_, (frame.left + frame.right) / 2, frame.top - headHeight - 2, "Geometry Setup", headFont,
                  TextStyle{kDarkGrey});
  canvas_.SelectPen(SolidPen(1, kDarkGrey));
  canvas_.SelectBrush(SolidBrush(kWhite));
  canvas_.Rectangle(frame);

  const double lateral = Config().lateralOffset;
  const double along = Drv().AlongOffsetInUse;
  const int fw = frame.right - frame.left, fh = frame.bottom - frame.top;
  const SketchScale k = ComputeSketchScale(lateral, along, fw, fh);
  // Bounding box of body and antenna, centred in the frame; x grows to the right, the direction of travel is up.
  const double minX = std::min(-kBodyAcross / 2, lateral), maxX = std::max(kBodyAcross / 2, lateral);
  const double minY = std::min(-kBodyAlong / 2, along), maxY = std::max(kBodyAlong / 2, along);
  const double cx = (frame.left + frame.right) / 2.0 - (minX + maxX) / 2 * k.pixelsPerMetre;
  const double cy = (frame.top + frame.bottom) / 2.0 + (minY + maxY) / 2 * k.pixelsPerMetre;
  auto px = [&](double x) { return static_cast<int>(std::lround(cx + x * k.pixelsPerMetre)); };
  auto py = [&](double y) { return static_cast<int>(std::lround(cy - y * k.pixelsPerMetre)); };

  // The sensor body.
  canvas_.SelectPen(SolidPen(1, kWindowText));
  canvas_.SelectBrush(SolidBrush(Rgb(255, 200, 60)));
  int bl = px(-kBodyAcross / 2), br = px(kBodyAcross / 2);
  if (br - bl < 4) { bl = px(0) - 2; br = px(0) + 3; }
  canvas_.Rectangle(bl, py(kBodyAlong / 2), br, py(-kBodyAlong / 2));
  // Direction of travel.
  canvas_.SelectPen(SolidPen(1, kDarkGrey));
  const int ax = frame.left + 18, ay0 = frame.bottom - 20, ay1 = frame.bottom - 60;
  canvas_.MoveTo(ax, ay0);
  canvas_.LineTo(ax, ay1);
  canvas_.MoveTo(ax - 5, ay1 + 6);
  canvas_.LineTo(ax, ay1);
  canvas_.LineTo(ax + 6, ay1 + 7);

  // Dimension lines from the body centre to the antenna.
  const int ox = px(0), oy = py(0), gx = px(lateral), gy = py(along);
  canvas_.SelectPen(SolidPen(1, Rgb(0, 0, 255)));
  if (gx != ox) {
    canvas_.MoveTo(ox, gy);
    canvas_.LineTo(gx, gy);
    DrawTextCentred(canvas_, gx, gy + 10, FormatC("X %.2f m", lateral).c_str(), dimFont, TextStyle{Rgb(0, 0, 255)});
  }
  if (gy != oy) {
    canvas_.MoveTo(gx, oy);
    canvas_.LineTo(gx, gy);
    DrawText(canvas_, gx + 8, (oy + gy) / 2, FormatC("Y %.2f m", along).c_str(), dimFont, TextStyle{Rgb(0, 0, 255)});
  }
  // The antenna.
  canvas_.SelectPen(SolidPen(1, kWindowText));
  canvas_.SelectBrush(SolidBrush(Rgb(255, 0, 0)));
  canvas_.Ellipse(gx - 7, gy - 7, gx + 8, gy + 8);
  DrawTextCentred(canvas_, gx, gy - 10 - TextHeight(dimFont), "GPS", dimFont, TextStyle{kWindowText});
  DrawText(canvas_, br + 6, py(kBodyAlong / 2), "EM38", dimFont, TextStyle{kWindowText});
}

}  // namespace obrix
