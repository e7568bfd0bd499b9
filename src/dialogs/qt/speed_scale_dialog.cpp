#include "dialogs/qt/speed_scale_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/scale_options.h"
#include "platform/numbers.h"
#include "platform/qt/message_box.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"

namespace obrix {

SpeedScaleDialog::SpeedScaleDialog(QWidget* owner)
    : SetupDialog("SPEEDSCALE", "Set New Speed Bar Scale", 172, 77, owner) {
  SetTopDivisor(7);
  SetCloseOnC(false);
  const Settings& s = Config();
  const std::string shown = FormatC("%.2f", s.speedScaleMax);
  QLineEdit* current = MakeReadOnly(this, 1191, shown);
  scale_ = MakeEdit(this, 1192, shown, 12);
  units_ = MakeList(this, 1193, {"m/s", "ft/s", "km/h", "mph"});
  units_->setCurrentIndex(std::clamp(s.speedUnits, 0, 3));

  auto* grid = new QGridLayout;
  AddRow(grid, 0, "Current Speed Bar Scale:", current);
  AddRow(grid, 1, "&New Speed Bar Scale:", scale_);
  AddRow(grid, 2, "Speed Bar &Units:", units_);
  grid->setColumnStretch(1, 1);
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  scale_->setFocus();
  scale_->selectAll();
}

bool SpeedScaleDialog::TakeValues() {
  if (ApplySpeedScale(TextOf(scale_), units_->currentIndex())) return true;
  ShowMessage(kMessageOk, "WARNING", "Speed Bar Scale must be greater than 0", this);
  scale_->setFocus();
  scale_->selectAll();
  return false;
}

int RunSpeedScaleDialog(QWidget* owner) {
  SpeedScaleDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
