#pragma once
// The setup screen: the main window "Obrix" with its ten command buttons, settings summary and geometry sketch.
#include <QWidget>
#include <array>

#include "app/setup_layout.h"
#include "platform/canvas.h"
#include "platform/key_input.h"

class QPushButton;

namespace obrix {

class SetupWindow : public QWidget {
 public:
  // `client` is the client size the window is given (the sizing rule of the screen).
  explicit SetupWindow(QSize client, QWidget* parent = nullptr);
  ~SetupWindow() override;

  // Runs command 0..9 (the button order).
  void RunCommand(int index);
  // Key and command input as the decoder receives it.
  void HandleInput(const KeyInput& input);
  // Paints the whole screen into its canvas and shows it.
  void Repaint();

  Canvas& canvas() { return canvas_; }
  QPushButton* button(int index) const { return buttons_[index]; }
  QWidget* loggingScreen() const { return logScreen_; }
  QWidget* gpsMonitor() const { return monitor_; }
  bool portrait() const { return portrait_; }
  bool largeScreen() const { return largeScreen_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateButtons();
  void SetFocusedButton(int index);
  void PaintPanel();
  void PaintTitle(int& summaryTop);
  void PaintSummary(int areaLeft, int areaRight, int top);
  void PaintSketch(const Rect& frame);
  void StartLogging();
  void ResetToDefault();
  void ShowUptimeWarning();

  Canvas canvas_;
  std::array<QPushButton*, kSetupButtonCount> buttons_{};
  QWidget* logScreen_ = nullptr;
  QWidget* monitor_ = nullptr;
  bool portrait_ = false;
  bool largeScreen_ = false;
  bool uptimeShown_ = false;
  FontSet fonts_;
};

}  // namespace obrix
