#include "monitor/qt/monitor_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <atomic>
#include <mutex>

#include "monitor/monitor_reader.h"
#include "monitor/qt/gps_message_dialog.h"
#include "platform/message_box.h"
#include "platform/qt/buttons.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/key_translate.h"
#include "platform/qt/message_box.h"
#include "platform/net_source.h"
#include "platform/serial.h"
#include "platform/text.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/qt/reader_bridge.h"
#include "serial/reader_thread.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/palette.h"
#include "state/session.h"

namespace obrix {

// The reader's sink: posts a copy of each line to the window thread and never waits for it. It outlives the
// window (the reader thread holds it), so the window detaches itself when it goes.
class MonitorLinePoster : public MonitorSink {
 public:
  explicit MonitorLinePoster(MonitorWindow* window) : window_(window) {}
  void SetSession(uint64_t session) { session_.store(session); }
  void Detach() {
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = nullptr;
  }
  void ListLine(const std::string& line) override {
    const QString text = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    const uint64_t session = session_.load();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!window_) return;
    MonitorWindow* w = window_;
    // Queued to a live object; Qt drops the call if the window is deleted before it runs.
    QMetaObject::invokeMethod(w, [w, text, session] { w->AddLine(text, session); }, Qt::QueuedConnection);
  }

 private:
  std::mutex mutex_;
  MonitorWindow* window_;
  std::atomic<uint64_t> session_{0};
};

namespace {

QFont Font(const FontSpec& f) { return SystemFont(f.height, f.weight, f.italic); }

void Place(QWidget* w, const Rect& r) { w->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

MonitorWindow::MonitorWindow(QWidget* parent, QSize client, const FontSet& fonts, bool largeScreen)
    : QWidget(parent), fonts_(fonts), poster_(std::make_shared<MonitorLinePoster>(this)) {
  setObjectName("MonitorGPSWnd");
  setWindowTitle("Monitor GPS");
  SetControlId(this, kMonitorWindowId);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setGeometry(0, 0, client.width(), client.height());

  const MonitorLayout layout = ComputeMonitorLayout(client.width(), client.height());
  const QFont buttonFont = Font(largeScreen ? fonts.largeButton : fonts.button);
  for (int i = 0; i < kMonitorButtonCount; ++i) {
    QPushButton* b = MakeScreenButton(kMonitorButtonCaptions[i], kMonitorFirstButtonId + i, this);
    b->setFont(buttonFont);
    Place(b, layout.buttons[i]);
    connect(b, &QPushButton::clicked, this,
            [this, i] { HandleInput({KeyInput::Command, kMonitorFirstButtonId + i}); });
    buttons_[i] = b;
  }
  buttons_[kMonitorGo]->hide();
  buttons_[kMonitorGo]->setEnabled(false);

  list_ = new QListWidget(this);
  SetControlId(list_, kMonitorListId);
  list_->setFocusPolicy(Qt::NoFocus);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list_->setUniformItemSizes(true);
  Place(list_, layout.list);

  edit_ = new QLineEdit(kMonitorInitialCommand, this);
  SetControlId(edit_, kMonitorEditId);
  Place(edit_, layout.edit);

  SetFocusButton(focus_);
  PaintLabel();
  hide();
}

MonitorWindow::~MonitorWindow() {
  poster_->Detach();
  // Still open (the program closes): stop the reader quietly rather than leave it reading a port.
  ReaderThread& thread = GpsReaderThread();
  if (Sess().ActiveScreen == 2 && thread.Running()) {
    PortGlobals& ports = Ports();
    ports.GpsPortClosing.exchange(1);
    if (thread.WaitEnded(1000)) {
      thread.Join();
      SerialPurge(ports.GpsPortHandle);
      SerialClose(ports.GpsPortHandle);
      ports.GpsPortHandle = kInvalidPort;
      ports.GpsPortClosing.exchange(0);
    }
  }
}

void MonitorWindow::SetSetupHooks(std::function<void(bool)> showSetupButtons, std::function<void()> repaintSetup) {
  showSetupButtons_ = std::move(showSetupButtons);
  repaintSetup_ = std::move(repaintSetup);
}

void MonitorWindow::Open() {
  if (UsesGps(Config())) {
    QWidget* owner = parentWidget() ? parentWidget() : this;
    InstallPortMessages(owner);
    ReaderThread& thread = GpsReaderThread();
    if (thread.Held() && !thread.Running()) thread.Join();
    if (thread.Held()) {
      // A reader of an earlier opening never stopped; the port is still held by it.
      ShowMessage(kMessageOk, kSerialPortTitle, kGpsPortNotClosedText, owner);
      return;
    }
    if (OpenGpsPort() == 0) return;
    ++session_;
    poster_->SetSession(session_);
    MonitorShared().MonitorReaderPaused = 0;
    std::shared_ptr<MonitorLinePoster> poster = poster_;
    thread.Start([poster] { MonitorReaderLoop(*poster); });
  }
  // Every opening starts listing, whatever state the last one was left in.
  running_ = true;
  SetRunningLook(true);
  if (focus_ == kMonitorGo) SetFocusButton(kMonitorPause);
  if (showSetupButtons_) showSetupButtons_(false);
  Sess().ActiveScreen = 2;
  show();
  raise();
  setFocus();
}

void MonitorWindow::AddLine(const QString& line, uint64_t session) {
  if (session != session_ || !UsesGps(Config())) return;
  list_->addItem(line);
  while (list_->count() > kMaxListLines) delete list_->takeItem(0);
  list_->scrollToItem(list_->item(list_->count() - 1), QAbstractItemView::PositionAtTop);
}

void MonitorWindow::RunCommand(int button) {
  if (Sess().ActiveScreen != 2) return;
  switch (button) {
    case kMonitorGo: Go(); break;
    case kMonitorPause: Pause(); break;
    case kMonitorSend: Send(); break;
    case kMonitorExit: Exit(); break;
    default: break;
  }
}

void MonitorWindow::HandleInput(const KeyInput& input) {
  if (Sess().ActiveScreen != 2) return;
  if (input.kind == KeyInput::Command) {
    RunCommand(input.code - kMonitorFirstButtonId);
    return;
  }
  if (input.kind != KeyInput::KeyDown) return;
  int focus = focus_;
  const int command = DecodeMonitorKey(input.code, &focus, running_);
  if (focus != focus_) SetFocusButton(focus);
  if (command >= 0) RunCommand(command);
}

void MonitorWindow::SetRunningLook(bool running) {
  QPushButton* go = buttons_[kMonitorGo];
  QPushButton* pause = buttons_[kMonitorPause];
  go->setVisible(!running);
  go->setEnabled(!running);
  pause->setVisible(running);
  pause->setEnabled(running);
}

void MonitorWindow::SetFocusButton(int index) {
  focus_ = index;
  for (int i = 0; i < kMonitorButtonCount; ++i) SetDefaultLook(buttons_[i], i == index);
}

void MonitorWindow::Pause() {
  MonitorShared().MonitorReaderPaused = 1;
  SerialPurge(Ports().GpsPortHandle);
  SetRunningLook(false);
  running_ = false;
  // "&Go" takes the place (and the default look) of "&Pause".
  if (focus_ == kMonitorPause) SetFocusButton(kMonitorGo);
}

void MonitorWindow::Go() {
  SerialPurge(Ports().GpsPortHandle);
  MonitorShared().MonitorReaderPaused = 0;
  SetRunningLook(true);
  running_ = true;
  if (focus_ == kMonitorGo) SetFocusButton(kMonitorPause);
}

void MonitorWindow::Send() {
  if (NetSourceKind(Ports().GpsPortHandle) == NetKind::Gpsd) {
    ShowMessage(kMessageOk, kMonitorSendTitle, kMonitorSendGpsdText, this);
    setFocus();
    return;
  }
  QString text = edit_->text();
  if (!RunGpsMessageDialog(this, &text)) {
    setFocus();
    return;
  }
  edit_->setText(text);
  std::string bytes;
  const std::string text8 = NarrowLatin1(text.toStdString());
  if (!MonitorCommandBytes(text8, &bytes)) {
    ShowMessage(kMessageOk, kMonitorSendTitle, MonitorCommandTooLongText(text8.size()), this);
    setFocus();
    return;
  }
  if (running_) {
    MonitorShared().MonitorReaderPaused = 1;
    DelayMs(2);
  }
  const int fd = Ports().GpsPortHandle;
  SerialPurge(fd);
  DelayMs(2);
  DelayMs(2);
  SerialWrite(fd, bytes.data(), bytes.size(), kGpsWriteTimeoutMs + 10 * static_cast<int>(bytes.size()));
  SetRunningLook(true);
  running_ = true;
  SetFocusButton(kMonitorPause);
  MonitorShared().MonitorReaderPaused = 0;
  setFocus();
}

void MonitorWindow::Exit() {
  Sess().ActiveScreen = 0;
  MonitorShared().MonitorReaderPaused = 1;
  if (UsesGps(Config())) CloseGpsPortForMonitor();
  MonitorShared().MonitorReaderPaused = 0;
  ++session_;  // lines still on their way are dropped
  hide();
  if (parentWidget()) parentWidget()->setFocus();
  if (repaintSetup_) repaintSetup_();
  if (showSetupButtons_) showSetupButtons_(true);
}

void MonitorWindow::PaintLabel() {
  canvas_.Resize(width(), height(), kButtonFace);
  canvas_.Clear(kButtonFace);
  const MonitorLayout layout = ComputeMonitorLayout(width(), height());
  DrawText(canvas_, layout.labelX, layout.labelY, kMonitorLabel, Font(fonts_.label));
  update();
}

void MonitorWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, CanvasImage(canvas_));
}

void MonitorWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (Sess().ActiveScreen == 2) setFocus();
}

bool MonitorWindow::event(QEvent* e) {
  if (IsScreenTab(e)) {
    keyPressEvent(static_cast<QKeyEvent*>(e));
    return true;
  }
  return QWidget::event(e);
}

void MonitorWindow::keyPressEvent(QKeyEvent* event) {
  HandleInput(TranslateKey(*event));
  event->accept();
}

}  // namespace obrix
