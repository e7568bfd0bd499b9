#include "dialogs/qt/gps_setup_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_values.h"
#include "gps/nmea_table.h"
#include "platform/numbers.h"
#include "platform/qt/buttons.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"

namespace obrix {


GpsSetupDialog::GpsSetupDialog(QWidget* owner, bool narrow)
    : SetupDialog(narrow ? "GPSINPUTNARROW" : "GPSINPUT", "GPS Port Setup", 270, narrow ? 154 : 158, owner),
      narrow_(narrow) {
  // The template places this dialog centred over its owner.
  SetTopDivisor(2);
  SetCloseOnC(false);
  opened_ = OpenGpsForm();
  opened_.hasSlamOption = !narrow;

  auto* params = new QGroupBox("GPS Parameters Setup", this);
  gpsInput_ = MakeList(params, 1163, kEnabledEntries);
  nmeaFormat_ = MakeList(params, 1164, kNmeaFormatNames);
  port_ = MakeList(params, 1165, SerialPortEntries());
  baud_ = MakeList(params, 1166, kBaudEntries);
  parity_ = MakeList(params, 1167, kParityEntries);
  dataBits_ = MakeList(params, 1168, kDataBitsEntries);
  stopBits_ = MakeList(params, 1169, kStopBitsEntries);
  rtsUnits_ = MakeList(params, 1170, kRtsUnitEntries);
  auto* paramGrid = new QGridLayout(params);
  AddRowAt(paramGrid, 0, 0, MakeLabel(params, "GPS &Input:", gpsInput_), gpsInput_);
  AddRowAt(paramGrid, 1, 0, MakeLabel(params, "&NMEA Data:", nmeaFormat_), nmeaFormat_);
  AddRowAt(paramGrid, 2, 0, MakeLabel(params, "Serial &Port:", port_), port_);
  AddRowAt(paramGrid, 3, 0, MakeLabel(params, "&Baud Rate:", baud_), baud_);
  AddRowAt(paramGrid, 4, 0, MakeLabel(params, "P&arity:", parity_), parity_);
  AddRowAt(paramGrid, 5, 0, MakeLabel(params, "&Data Bits:", dataBits_), dataBits_);
  AddRowAt(paramGrid, 6, 0, MakeLabel(params, "S&top Bits:", stopBits_), stopBits_);
  if (narrow) {
    rtsUnits_->setToolTip("RTS Units");
    rtsUnits_->setAccessibleName("RTS Units");
    paramGrid->addWidget(rtsUnits_, 7, 0, 1, 2);
  } else {
    slam_ = new QCheckBox("pseudo-GGA by &SLAM RTS", params);
    SetControlId(slam_, 1306);
    paramGrid->addWidget(slam_, 7, 0, 1, 2);
    rtsLabel_ = MakeLabel(params, "RTS Units:", rtsUnits_, 1307);
    AddRowAt(paramGrid, 8, 0, rtsLabel_, rtsUnits_);
  }
  paramGrid->setColumnStretch(1, 1);
  paramGrid->setRowStretch(9, 1);

  auto* mask = new QGroupBox("GPS Warning Mask", this);
  warning_ = MakeList(mask, 1246, kEnabledEntries);
  quality_ = MakeList(mask, 1248, kMaskQualityEntries);
  dilution_ = MakeEdit(mask, 1247);
  std::vector<std::string> satellites;
  for (int n = kMaskSatellitesMin; n < kMaskSatellitesMin + kMaskSatellitesCount; ++n)
    satellites.push_back(FormatC("%d", n));
  satellites_ = MakeList(mask, 1249, satellites);
  warningLabel_ = MakeLabel(mask, "Warning:", warning_, 1255);
  qualityLabel_ = MakeLabel(mask, "Quality:", quality_, 1240);
  dilutionLabel_ = MakeLabel(mask, QString(), dilution_, 1254);
  satellitesLabel_ = MakeLabel(mask, "Satellites:", satellites_, 1241);
  audioWarning_ = new QCheckBox("Enable Audio &Warning", mask);
  SetControlId(audioWarning_, 602);
  auto* note = new QLabel(kGpsMaskNote, mask);
  note->setWordWrap(true);
  auto* maskGrid = new QGridLayout(mask);
  AddRowAt(maskGrid, 0, 0, warningLabel_, warning_);
  AddRowAt(maskGrid, 1, 0, qualityLabel_, quality_);
  AddRowAt(maskGrid, 2, 0, dilutionLabel_, dilution_);
  AddRowAt(maskGrid, 3, 0, satellitesLabel_, satellites_);
  maskGrid->addWidget(audioWarning_, 4, 0, 1, 2);
  maskGrid->addWidget(note, 5, 0, 1, 2);
  maskGrid->setColumnStretch(1, 1);
  maskGrid->setRowStretch(6, 1);
  // The labels change between "N/A" and their names: keep the column wide enough for either.
  maskGrid->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance("Quality [m]") + units().X(2));

  auto* body = new QHBoxLayout;
  body->addWidget(params, 1);
  body->addWidget(mask, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(MakeButtonRow());

  gpsInput_->setCurrentIndex(opened_.gpsInput);
  nmeaFormat_->setCurrentIndex(opened_.nmeaFormat);
  port_->setCurrentIndex(opened_.gpsPort);
  baud_->setCurrentIndex(opened_.gpsBaud);
  parity_->setCurrentIndex(opened_.gpsParity);
  dataBits_->setCurrentIndex(opened_.gpsDataBits);
  stopBits_->setCurrentIndex(opened_.gpsStopBits);
  if (slam_) slam_->setChecked(opened_.slamPseudoGga);
  rtsUnits_->setCurrentIndex(opened_.rtsUnits);
  warning_->setCurrentIndex(opened_.maskWarning);
  quality_->setCurrentIndex(opened_.maskQuality);
  dilution_->setText(Qs(opened_.maskDilution));
  satellites_->setCurrentIndex(opened_.maskSatellitesIndex);
  audioWarning_->setChecked(opened_.audioWarning);
  ApplyDependents(false);
  connect(nmeaFormat_, &QComboBox::activated, this, [this](int) { ApplyDependents(true); });

  std::vector<QWidget*> order = {gpsInput_, nmeaFormat_, port_, baud_, parity_, dataBits_, stopBits_};
  if (slam_) order.push_back(slam_);
  order.insert(order.end(), {rtsUnits_, warning_, quality_, dilution_, satellites_, audioWarning_, okButton(),
                             cancelButton()});
  for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  gpsInput_->setFocus();
}

void GpsSetupDialog::ApplyDependents(bool afterChange) {
  const GpsDependents g = GpsDependentsFor(nmeaFormat_->currentIndex(), afterChange);
  warningLabel_->setText(g.warningLabel);
  qualityLabel_->setText(g.qualityLabel);
  satellitesLabel_->setText(g.satellitesLabel);
  dilutionLabel_->setText(g.dilutionLabel);
  for (QWidget* w : {static_cast<QWidget*>(warning_), static_cast<QWidget*>(quality_),
                     static_cast<QWidget*>(dilution_), static_cast<QWidget*>(satellites_)})
    w->setEnabled(g.maskEnabled);
  if (afterChange && g.totalStationEnabled) {
    // Refilled with its entries and the stored choice before it is enabled.
    rtsUnits_->clear();
    for (const char* e : kRtsUnitEntries) rtsUnits_->addItem(e);
    rtsUnits_->setCurrentIndex(opened_.rtsUnits);
  }
  rtsUnits_->setEnabled(g.totalStationEnabled);
  if (slam_) slam_->setEnabled(g.totalStationEnabled);
  if (rtsLabel_) rtsLabel_->setEnabled(g.totalStationEnabled);
}

bool GpsSetupDialog::TakeValues() {
  GpsForm f;
  f.gpsInput = gpsInput_->currentIndex();
  f.nmeaFormat = nmeaFormat_->currentIndex();
  f.gpsPort = port_->currentIndex();
  f.gpsBaud = baud_->currentIndex();
  f.gpsParity = parity_->currentIndex();
  f.gpsDataBits = dataBits_->currentIndex();
  f.gpsStopBits = stopBits_->currentIndex();
  f.hasSlamOption = slam_ != nullptr;
  f.slamPseudoGga = slam_ && slam_->isChecked();
  f.rtsUnits = rtsUnits_->currentIndex();
  f.maskWarning = warning_->currentIndex();
  f.maskQuality = quality_->currentIndex();
  f.maskDilution = TextOf(dilution_);
  f.maskSatellitesIndex = satellites_->currentIndex();
  f.audioWarning = audioWarning_->isChecked();
  ApplyGpsForm(f, opened_);
  return true;
}

int RunGpsSetupDialog(QWidget* owner, bool narrow) {
  GpsSetupDialog dialog(owner, narrow);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
