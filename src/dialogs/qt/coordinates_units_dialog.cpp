#include "dialogs/qt/coordinates_units_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/gps_options.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

CoordinatesUnitsDialog::CoordinatesUnitsDialog(QWidget* owner)
    : SetupDialog("COORDINATESUNITS", "Set Coordinates Display Units", 144, 59, owner) {
  SetCloseOnC(false);
  SetTopDivisor(10);
  Settings& s = Config();
  format_ = s.nmeaFormat;
  // Grid coordinates from the receiver have no geodetic readout.
  if (GridCoordinateFormat(format_) && s.coordinatesDisplay == 0) s.coordinatesDisplay = 1;
  units_ = MakeList(this, 1004, CoordinateUnitEntries(format_));
  units_->setCurrentIndex(CoordinateUnitIndex(format_, s.coordinatesDisplay));

  auto* grid = new QGridLayout;
  AddRow(grid, 0, "Coordinates &Units:", units_);
  grid->setColumnStretch(1, 1);
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  units_->setFocus();
}

bool CoordinatesUnitsDialog::TakeValues() {
  Config().coordinatesDisplay = CoordinatesDisplayFromIndex(format_, units_->currentIndex());
  SaveLoadSettings(Save);
  return true;
}

int RunCoordinatesUnitsDialog(QWidget* owner) {
  CoordinatesUnitsDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
