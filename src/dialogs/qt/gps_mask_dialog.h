#pragma once
// "GPS Warning Mask" ("GPSMASK"): the fix quality the survey requires.
#include "platform/qt/setup_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace obrix {

class GpsMaskDialog : public SetupDialog {
 public:
  explicit GpsMaskDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  QComboBox* warning_ = nullptr;
  QComboBox* quality_ = nullptr;
  QLineEdit* dilution_ = nullptr;
  QComboBox* satellites_ = nullptr;
  QCheckBox* audio_ = nullptr;
};

int RunGpsMaskDialog(QWidget* owner);

}  // namespace obrix
