#include "dialogs/qt/survey_setup_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/message_box.h"
#include "platform/qt/message_box.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"

namespace obrix {


SurveySetupDialog::SurveySetupDialog(QWidget* owner)
    : SetupDialog("SURVEYSETUP38", "Survey Setup", 252, 118, owner) {
  SetTopDivisor(10);
  opened_ = OpenSurveyForm();

  auto* stations = new QGroupBox("Stations Parameters", this);
  startStation_ = MakeEdit(stations, 1117);
  stationIncrement_ = MakeEdit(stations, 1118);
  auto* stationGrid = new QGridLayout(stations);
  AddRowAt(stationGrid, 0, 0, MakeLabel(stations, "Start S&tation:", startStation_), startStation_);
  AddRowAt(stationGrid, 1, 0, MakeLabel(stations, "Station I&ncrement:", stationIncrement_, 1119), stationIncrement_);
  stationGrid->setRowStretch(2, 1);

  auto* em38 = new QGroupBox("EM38 Settings", this);
  readingsPerSecond_ = MakeEdit(em38, 1111, {}, kReadingsTextMaxChars);
  component_ = MakeList(em38, 1172, kComponentEntries);
  dipoleMode_ = MakeList(em38, 1173, kDipoleModeEntries);
  auto* em38Grid = new QGridLayout(em38);
  AddRowAt(em38Grid, 0, 0, MakeLabel(em38, "&Readings/second:", readingsPerSecond_), readingsPerSecond_);
  AddRowAt(em38Grid, 1, 0, MakeLabel(em38, "C&omponent:", component_), component_);
  AddRowAt(em38Grid, 2, 0, MakeLabel(em38, "&Dipole Mode:", dipoleMode_), dipoleMode_);

  auto* lines = new QGroupBox("Survey Lines Parameters", this);
  lineName_ = MakeEdit(lines, 1113, {}, kSurveyLineMaxChars);
  lineIncrement_ = MakeEdit(lines, 1114);
  lineSequence_ = MakeList(lines, 1115, kLineSequenceEntries);
  lineDirection_ = MakeList(lines, 1116, kLineDirectionEntries);
  auto* lineGrid = new QGridLayout(lines);
  AddRowAt(lineGrid, 0, 0, MakeLabel(lines, "Survey &Line:", lineName_), lineName_);
  AddRowAt(lineGrid, 1, 0, MakeLabel(lines, "Line &Increment:", lineIncrement_), lineIncrement_);
  AddRowAt(lineGrid, 0, 2, MakeLabel(lines, "Line &Sequence:", lineSequence_), lineSequence_);
  AddRowAt(lineGrid, 1, 2, MakeLabel(lines, "Dir&ection:", lineDirection_), lineDirection_);
  lineGrid->setColumnStretch(1, 1);
  lineGrid->setColumnStretch(3, 1);
  lineGrid->setColumnMinimumWidth(2, 0);
  lineGrid->setHorizontalSpacing(units().X(4));

  auto* top = new QHBoxLayout;
  top->addWidget(stations, 1);
  top->addWidget(em38, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(lines);
  layout->addStretch(1);
  layout->addLayout(MakeButtonRow());

  startStation_->setText(Qs(opened_.startStation));
  stationIncrement_->setText(Qs(opened_.stationIncrement));
  lineName_->setText(Qs(opened_.lineName));
  lineIncrement_->setText(Qs(opened_.lineIncrement));
  lineSequence_->setCurrentIndex(opened_.lineSequence);
  lineDirection_->setCurrentIndex(opened_.lineDirection);
  readingsPerSecond_->setText(Qs(opened_.readingsPerSecond));
  component_->setCurrentIndex(opened_.component);
  dipoleMode_->setCurrentIndex(opened_.dipoleMode);

  QWidget* order[] = {startStation_, stationIncrement_, readingsPerSecond_, component_, dipoleMode_,
                      lineName_,     lineIncrement_,    lineSequence_,      lineDirection_, okButton(),
                      cancelButton()};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  startStation_->setFocus();
}

bool SurveySetupDialog::TakeValues() {
  SurveyForm f;
  f.readingsPerSecond = TextOf(readingsPerSecond_);
  f.component = component_->currentIndex();
  f.dipoleMode = dipoleMode_->currentIndex();
  f.lineName = TextOf(lineName_);
  f.lineIncrement = TextOf(lineIncrement_);
  f.lineSequence = lineSequence_->currentIndex();
  f.lineDirection = lineDirection_->currentIndex();
  f.startStation = TextOf(startStation_);
  f.stationIncrement = TextOf(stationIncrement_);
  const char* refusal = kRateRefusedText;
  if (ApplySurveyForm(f, opened_, &refusal)) return true;
  ShowMessage(kMessageOk, kRateRefusedTitle, refusal, this);
  readingsPerSecond_->setFocus();
  readingsPerSecond_->selectAll();
  return false;
}

void RunSurveySetupDialog(QWidget* owner) {
  SurveySetupDialog dialog(owner);
  UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
