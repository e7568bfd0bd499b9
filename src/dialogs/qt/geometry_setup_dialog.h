#pragma once
// "ARRAYGEOMETRY38": the GPS antenna offsets from the EM38 and the unit they are entered in.
#include "dialogs/geometry_setup.h"
#include "platform/qt/setup_dialog.h"

class QButtonGroup;
class QLineEdit;

namespace obrix {

class GeometrySetupDialog : public SetupDialog {
 public:
  explicit GeometrySetupDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  GeometryForm opened_;
  QLineEdit* lateral_ = nullptr;
  QLineEdit* along_ = nullptr;
  QButtonGroup* units_ = nullptr;
};

// 1 after OK, 0 after Cancel.
int RunGeometrySetupDialog(QWidget* owner);

}  // namespace obrix
