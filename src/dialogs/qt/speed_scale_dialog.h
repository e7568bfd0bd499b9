#pragma once
// "Set New Speed Bar Scale" ("SPEEDSCALE"): full scale and units of the speed bar.
#include "platform/qt/setup_dialog.h"

class QComboBox;
class QLineEdit;

namespace obrix {

class SpeedScaleDialog : public SetupDialog {
 public:
  explicit SpeedScaleDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  QLineEdit* scale_ = nullptr;
  QComboBox* units_ = nullptr;
};

int RunSpeedScaleDialog(QWidget* owner);

}  // namespace obrix
