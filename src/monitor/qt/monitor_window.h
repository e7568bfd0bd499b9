#pragma once
// The GPS monitor ("MonitorGPSWnd"): every line the receiver sends, with Go/Pause, Send (a command to the
// receiver through "GETGPSMESSAGE") and Exit. It has its own reader thread on the GPS port while it is open.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "monitor/monitor_commands.h"
#include "platform/canvas.h"
#include "platform/font_set.h"
#include "platform/key_input.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace obrix {

class MonitorLinePoster;

class MonitorWindow : public QWidget {
 public:
  // Covers the parent's client area of `client`; created hidden.
  MonitorWindow(QWidget* parent, QSize client, const FontSet& fonts, bool largeScreen);
  ~MonitorWindow() override;

  // The setup screen's part: show or hide its buttons, repaint it.
  void SetSetupHooks(std::function<void(bool show)> showSetupButtons, std::function<void()> repaintSetup);

  // The setup command: opens the GPS port and starts the reader (when gpsInput is 1; a failed open ends here),
  // then shows the monitor as the active screen.
  void Open();
  // Runs a button's command (kMonitorGo .. kMonitorExit); only while the monitor is the active screen.
  void RunCommand(int button);
  void HandleInput(const KeyInput& input);

  QListWidget* list() const { return list_; }
  QLineEdit* edit() const { return edit_; }
  QPushButton* button(int index) const { return buttons_[index]; }
  bool running() const { return running_; }
  int focusButton() const { return focus_; }
  // Lines kept in the list; older ones are dropped beyond it.
  static constexpr int kMaxListLines = 5000;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class MonitorLinePoster;
  void AddLine(const QString& line, uint64_t session);
  void Go();
  void Pause();
  void Send();
  void Exit();
  void SetRunningLook(bool running);
  void SetFocusButton(int index);
  void PaintLabel();

  Canvas canvas_;
  std::array<QPushButton*, kMonitorButtonCount> buttons_{};
  QListWidget* list_ = nullptr;
  QLineEdit* edit_ = nullptr;
  FontSet fonts_;
  bool running_ = true;
  int focus_ = kMonitorPause;
  uint64_t session_ = 0;  // lines of an earlier opening are dropped
  std::shared_ptr<MonitorLinePoster> poster_;
  std::function<void(bool)> showSetupButtons_;
  std::function<void()> repaintSetup_;
};

}  // namespace obrix
