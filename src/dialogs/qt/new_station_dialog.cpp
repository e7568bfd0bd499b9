#include "dialogs/qt/new_station_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/line_station.h"
#include "platform/numbers.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"

namespace obrix {

NewStationDialog::NewStationDialog(QWidget* owner) : SetupDialog("NEWSTATION", "New Station", 132, 91, owner) {
  SetTopDivisor(2);
  SetCloseOnC(false);
  const Settings& s = Config();
  QLineEdit* line = MakeReadOnly(this, 1186, s.lineName);
  QLineEdit* start = MakeReadOnly(this, 1187, FormatC("%.3f", s.startStation));
  QLineEdit* current = MakeReadOnly(this, 1189, FormatC("%.3f", Drv().StationValue));
  station_ = MakeEdit(this, 1188, "", 12);

  auto* grid = new QGridLayout;
  AddRow(grid, 0, "Current Line:", line);
  AddRow(grid, 1, "Start Station:", start);
  AddRow(grid, 2, "Current Station:", current);
  AddRow(grid, 3, "&New Station:", station_);
  grid->setColumnStretch(1, 1);
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  station_->setFocus();
}

bool NewStationDialog::TakeValues() {
  ApplyNewStation(TextOf(station_));
  return true;
}

int RunNewStationDialog(QWidget* owner) {
  NewStationDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
