#pragma once
// "Map Size" ("MAPSCALE"): page side length, grid interval and the scroll band along the map edges.
#include "platform/qt/setup_dialog.h"

class QComboBox;
class QLineEdit;

namespace obrix {

class MapSizeDialog : public SetupDialog {
 public:
  explicit MapSizeDialog(QWidget* owner);

 protected:
  bool TakeValues() override;
  void RestoreValues() override;

 private:
  QLineEdit* size_ = nullptr;
  QLineEdit* interval_ = nullptr;
  QComboBox* band_ = nullptr;
};

// Its result; the caller saves the settings after OK.
int RunMapSizeDialog(QWidget* owner);

}  // namespace obrix
