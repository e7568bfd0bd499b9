#pragma once
// "New Survey Line" ("GETNEWLINE"): name, sequence, direction and stations of the next survey line.
#include "platform/qt/setup_dialog.h"

class QComboBox;
class QLineEdit;

namespace obrix {

class NewLineDialog : public SetupDialog {
 public:
  explicit NewLineDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  QLineEdit* name_ = nullptr;
  QLineEdit* increment_ = nullptr;
  QComboBox* sequence_ = nullptr;
  QComboBox* direction_ = nullptr;
  QLineEdit* start_ = nullptr;
  QLineEdit* stationIncrement_ = nullptr;
};

// Opening already replaces the line name with the next one, also when the dialog is cancelled.
int RunNewLineDialog(QWidget* owner);

}  // namespace obrix
