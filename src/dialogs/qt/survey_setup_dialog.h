#pragma once
// "SURVEYSETUP38": reading rate, EM38 component and dipole mode, survey lines and stations.
#include "dialogs/survey_setup.h"
#include "platform/qt/setup_dialog.h"

class QComboBox;
class QLineEdit;

namespace obrix {

class SurveySetupDialog : public SetupDialog {
 public:
  explicit SurveySetupDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  SurveyForm opened_;
  QLineEdit* startStation_ = nullptr;
  QLineEdit* stationIncrement_ = nullptr;
  QLineEdit* lineName_ = nullptr;
  QLineEdit* lineIncrement_ = nullptr;
  QComboBox* lineSequence_ = nullptr;
  QComboBox* lineDirection_ = nullptr;
  QLineEdit* readingsPerSecond_ = nullptr;
  QComboBox* component_ = nullptr;
  QComboBox* dipoleMode_ = nullptr;
};

void RunSurveySetupDialog(QWidget* owner);

}  // namespace obrix
