#pragma once
// "Set Coordinates Display Units" ("COORDINATESUNITS"): the units of the position readout.
#include "platform/qt/setup_dialog.h"

class QComboBox;

namespace obrix {

class CoordinatesUnitsDialog : public SetupDialog {
 public:
  explicit CoordinatesUnitsDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  int format_ = 0;
  QComboBox* units_ = nullptr;
};

int RunCoordinatesUnitsDialog(QWidget* owner);

}  // namespace obrix
