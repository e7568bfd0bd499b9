#pragma once
// "SYSTEM" (two columns) and "SYSTEMNARROW" (one column): EM38 state and port, GPS port, pause key, units
// and audio options.
#include "platform/qt/setup_dialog.h"

class QCheckBox;
class QComboBox;

namespace obrix {

class SystemSetupDialog : public SetupDialog {
 public:
  SystemSetupDialog(QWidget* owner, bool narrow);

 protected:
  bool TakeValues() override;

 private:
  QComboBox* instrumentEnabled_ = nullptr;
  QComboBox* instrumentPort_ = nullptr;
  QComboBox* gpsPort_ = nullptr;
  QComboBox* pauseKey_ = nullptr;
  QComboBox* speedUnits_ = nullptr;
  QComboBox* coordinates_ = nullptr;
  QCheckBox* audioTicks_ = nullptr;
  QCheckBox* disconnectAlarm_ = nullptr;
};

// Runs "SYSTEMNARROW" when `narrow`, else "SYSTEM"; 1 after OK, 0 after Cancel.
int RunSystemSetupDialog(QWidget* owner, bool narrow);

}  // namespace obrix
