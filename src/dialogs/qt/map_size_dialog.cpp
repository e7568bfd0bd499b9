#include "dialogs/qt/map_size_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/map_size_options.h"
#include "platform/numbers.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"

namespace obrix {

MapSizeDialog::MapSizeDialog(QWidget* owner) : SetupDialog("MAPSCALE", "Map Size", 197, 102, owner) {
  SetCloseOnC(false);
  SetTopDivisor(8);
  const Settings& s = Config();
  SaveMapSizeCopies();

  size_ = MakeEdit(this, 1204, FormatC("%d", s.mapSize), 10);
  interval_ = MakeEdit(this, 1205, FormatC("%.2f", s.gridInterval), 12);
  band_ = MakeList(this, 1245, {"10", "15", "20", "25", "30", "35", "40"});
  band_->setCurrentIndex(std::clamp(s.cursorBandIndex, 0, kCursorBandChoices - 1));

  auto* grid = new QGridLayout;
  AddRow(grid, 0, "Map &Size (one side length):", size_);
  grid->addWidget(MakeLabel(this, MapScaleUnitLabel(s.mapUnits), nullptr, 1206), 0, 2);
  AddRow(grid, 1, s.gridStyle == 1 ? "&Guide Lines Interval:" : "&Grid Lines Interval:", interval_, 1018);
  grid->addWidget(MakeLabel(this, MapScaleUnitLabel(s.mapUnits), nullptr, 1207), 1, 2);
  AddRow(grid, 2, "Cursor &Band (along edges):", band_);
  grid->addWidget(MakeLabel(this, "% of Size"), 2, 2);
  grid->setColumnStretch(1, 1);
  auto* note = MakeLabel(this, "Cursor Band - area along map edges where map starts to scroll");
  note->setWordWrap(true);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addWidget(note);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  // Typed digits replace the size.
  size_->setFocus();
  size_->selectAll();

  connect(size_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (MapSizeTextNeedsReset(text.toStdString())) size_->setText("1");
  });
}

bool MapSizeDialog::TakeValues() {
  ApplyMapSize({TextOf(size_), TextOf(interval_), band_->currentIndex()});
  return true;
}

void MapSizeDialog::RestoreValues() { CancelMapSize(); }

int RunMapSizeDialog(QWidget* owner) {
  MapSizeDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
