#include "dialogs/qt/new_line_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/line_station.h"
#include "platform/numbers.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"

namespace obrix {

NewLineDialog::NewLineDialog(QWidget* owner) : SetupDialog("GETNEWLINE", "New Survey Line", 148, 147, owner) {
  SetTopDivisor(2);
  const NewLineProposal p = ProposeNewLine();
  QLineEdit* current = MakeReadOnly(this, 1182, p.currentLine);
  QLineEdit* last = MakeReadOnly(this, 1184, FormatC("%.3f", p.lastStation));
  name_ = MakeEdit(this, 1106, p.nextLine, kLineNameEntryChars);
  increment_ = MakeEdit(this, 1107, FormatC("%.2f", p.lineIncrement), 12);
  sequence_ = MakeList(this, 1178, {"Alternate", "One Way"});
  sequence_->setCurrentIndex(p.sequence);
  direction_ = MakeList(this, 1180, {"West", "South", "North", "East"});
  direction_->setCurrentIndex(p.direction);
  start_ = MakeEdit(this, 1108, FormatC("%.3f", p.startStation), 12);
  stationIncrement_ = MakeEdit(this, 1109, FormatC("%.3f", p.stationIncrement), 12);

  auto* grid = new QGridLayout;
  AddRow(grid, 0, "Current Line:", current);
  AddRow(grid, 1, "Last Station:", last);
  AddRow(grid, 2, "&New Line:", name_);
  AddRow(grid, 3, "Line &Increment:", increment_);
  AddRow(grid, 4, "Line Se&quence:", sequence_);
  AddRow(grid, 5, "Line &Direction:", direction_);
  AddRow(grid, 6, "&Start Station:", start_);
  AddRow(grid, 7, "Station Incre&ment:", stationIncrement_);
  grid->setColumnStretch(1, 1);
  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  name_->setFocus();
  name_->selectAll();
}

bool NewLineDialog::TakeValues() {
  NewLineEntry e;
  e.lineName = TextOf(name_);
  e.lineIncrement = TextOf(increment_);
  e.sequence = sequence_->currentIndex();
  e.direction = direction_->currentIndex();
  e.startStation = TextOf(start_);
  e.stationIncrement = TextOf(stationIncrement_);
  ApplyNewLine(e);
  return true;
}

int RunNewLineDialog(QWidget* owner) {
  NewLineDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
