#include "dialogs/qt/system_setup_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_values.h"
#include "dialogs/system_setup.h"
#include "platform/qt/buttons.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"

namespace obrix {


SystemSetupDialog::SystemSetupDialog(QWidget* owner, bool narrow)
    : SetupDialog(narrow ? "SYSTEMNARROW" : "SYSTEM", "System Setup", narrow ? 196 : 321, narrow ? 202 : 107,
                  owner) {
  SetTopDivisor(4);
  okButton()->setText("&OK");
  cancelButton()->setText("&Cancel");

  instrumentEnabled_ = MakeList(this, 1126, kEnabledEntries);
  instrumentPort_ = MakeList(this, 1125, SerialPortEntries());
  gpsPort_ = MakeList(this, 1134, SerialPortEntries());
  pauseKey_ = MakeList(this, 1136, kPauseKeyEntries);
  speedUnits_ = MakeList(this, 1138, kSpeedUnitEntries);
  coordinates_ = MakeList(this, 1244, kCoordinatesEntries);
  audioTicks_ = new QCheckBox("Audio &Tiks During Data Collection", this);
  SetControlId(audioTicks_, 603);
  disconnectAlarm_ = new QCheckBox("Audio &Alarm for any Disconnection", this);
  SetControlId(disconnectAlarm_, 601);

  // The instrument-type label and list serve other instruments only.
  QLabel* typeLabel = MakeLabel(this, QString(), nullptr, 1003);
  QComboBox* typeList = MakeList(this, 1121, std::vector<std::string>{});
  typeLabel->hide();
  typeList->hide();

  QLabel* labels[] = {
      MakeLabel(this, "EM38 &State:", instrumentEnabled_, 1001), MakeLabel(this, "EM38 &Port:", instrumentPort_, 1002),
      MakeLabel(this, "&GPS Port:", gpsPort_),                   MakeLabel(this, "Pa&use Key:", pauseKey_),
      MakeLabel(this, "Speed &Bar Units:", speedUnits_),         MakeLabel(this, "Coor&dinates Display:", coordinates_)};
  QComboBox* lists[] = {instrumentEnabled_, instrumentPort_, gpsPort_, pauseKey_, speedUnits_, coordinates_};

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(units().X(6));
  if (narrow) {
    for (int i = 0; i < 6; ++i) AddRowAt(grid, i, 0, labels[i], lists[i]);
    grid->addWidget(audioTicks_, 6, 0, 1, 2);
    grid->addWidget(disconnectAlarm_, 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);
  } else {
    for (int i = 0; i < 4; ++i) AddRowAt(grid, i, 0, labels[i], lists[i]);
    for (int i = 4; i < 6; ++i) AddRowAt(grid, i - 4, 2, labels[i], lists[i]);
    grid->addWidget(audioTicks_, 2, 2, 1, 2);
    grid->addWidget(disconnectAlarm_, 3, 2, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(2, 0);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addLayout(MakeButtonRow());

  const SystemForm f = OpenSystemForm();
  instrumentEnabled_->setCurrentIndex(f.instrumentEnabled);
  instrumentPort_->setCurrentIndex(f.instrumentPort);
  gpsPort_->setCurrentIndex(f.gpsPort);
  pauseKey_->setCurrentIndex(f.pauseKey);
  speedUnits_->setCurrentIndex(f.speedUnits);
  coordinates_->setCurrentIndex(f.coordinatesDisplay);
  audioTicks_->setChecked(f.audioTicks);
  disconnectAlarm_->setChecked(f.disconnectAlarm);

  QWidget* order[] = {instrumentEnabled_, instrumentPort_, gpsPort_,         pauseKey_,  speedUnits_,
                      coordinates_,       audioTicks_,     disconnectAlarm_, okButton(), cancelButton()};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  instrumentEnabled_->setFocus();
}

bool SystemSetupDialog::TakeValues() {
  SystemForm f;
  f.instrumentEnabled = instrumentEnabled_->currentIndex();
  f.instrumentPort = instrumentPort_->currentIndex();
  f.gpsPort = gpsPort_->currentIndex();
  f.pauseKey = pauseKey_->currentIndex();
  f.speedUnits = speedUnits_->currentIndex();
  f.coordinatesDisplay = coordinates_->currentIndex();
  f.audioTicks = audioTicks_->isChecked();
  f.disconnectAlarm = disconnectAlarm_->isChecked();
  ApplySystemForm(f);
  return true;
}

int RunSystemSetupDialog(QWidget* owner, bool narrow) {
  SystemSetupDialog dialog(owner, narrow);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
