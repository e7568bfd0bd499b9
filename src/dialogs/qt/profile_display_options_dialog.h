#pragma once
// "Setup Display Options" ("DISPLAYSETUP31"): colour and thickness of the four profile curves and the channel
// of the profile grid.
#include <QPushButton>
#include <array>

#include "dialogs/profile_display_options.h"
#include "platform/qt/setup_dialog.h"

class QComboBox;

namespace obrix {

// Owner-drawn curve button: a framed button with a line in the curve's colour and thickness, lowered while
// pressed, with a focus rectangle when focused.
class CurveButton : public QPushButton {
 public:
  CurveButton(int curve, QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int curve_;
};

class ProfileDisplayOptionsDialog : public SetupDialog {
 public:
  explicit ProfileDisplayOptionsDialog(QWidget* owner);

 protected:
  bool TakeValues() override;
  void RestoreValues() override;

 private:
  ProfileOptionsCopy copy_;
  std::array<CurveButton*, kProfileOptionCurves> curves_{};
  QComboBox* gridChannel_ = nullptr;
};

int RunProfileDisplayOptionsDialog(QWidget* owner);

}  // namespace obrix
