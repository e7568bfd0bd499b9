#pragma once
// "New Station" ("NEWSTATION"): restarts the stations of the line at a new value.
#include "platform/qt/setup_dialog.h"

class QLineEdit;

namespace obrix {

class NewStationDialog : public SetupDialog {
 public:
  explicit NewStationDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  QLineEdit* station_ = nullptr;
};

int RunNewStationDialog(QWidget* owner);

}  // namespace obrix
