#pragma once
// "GPSINPUT" and "GPSINPUTNARROW" (without the SLAM option and the RTS Units label): GPS input, NMEA data,
// serial line, total-station options and the GPS warning mask.
#include "dialogs/gps_setup.h"
#include "platform/qt/setup_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace obrix {

class GpsSetupDialog : public SetupDialog {
 public:
  GpsSetupDialog(QWidget* owner, bool narrow);

 protected:
  bool TakeValues() override;

 private:
  // The controls that follow the NMEA Data choice.
  void ApplyDependents(bool afterChange);

  GpsForm opened_;
  bool narrow_ = false;
  QComboBox* gpsInput_ = nullptr;
  QComboBox* nmeaFormat_ = nullptr;
  QComboBox* port_ = nullptr;
  QComboBox* baud_ = nullptr;
  QComboBox* parity_ = nullptr;
  QComboBox* dataBits_ = nullptr;
  QComboBox* stopBits_ = nullptr;
  QCheckBox* slam_ = nullptr;       // not in the narrow template
  QLabel* rtsLabel_ = nullptr;      // not in the narrow template
  QComboBox* rtsUnits_ = nullptr;
  QLabel* warningLabel_ = nullptr;
  QLabel* qualityLabel_ = nullptr;
  QLabel* dilutionLabel_ = nullptr;
  QLabel* satellitesLabel_ = nullptr;
  QComboBox* warning_ = nullptr;
  QComboBox* quality_ = nullptr;
  QLineEdit* dilution_ = nullptr;
  QComboBox* satellites_ = nullptr;
  QCheckBox* audioWarning_ = nullptr;
};

// Runs "GPSINPUTNARROW" when `narrow`, else "GPSINPUT"; 1 after OK, 0 after Cancel.
int RunGpsSetupDialog(QWidget* owner, bool narrow);

}  // namespace obrix
