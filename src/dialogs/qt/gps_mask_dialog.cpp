#include "dialogs/qt/gps_mask_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/gps_options.h"
#include "platform/numbers.h"
#include "platform/qt/buttons.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

GpsMaskDialog::GpsMaskDialog(QWidget* owner) : SetupDialog("GPSMASK", "GPS Warning Mask", 146, 150, owner) {
  SetTopDivisor(2);
  SetCloseOnC(false);
  const Settings& s = Config();
  const GpsMaskLabels labels = GpsMaskLabelsFor(s.nmeaFormat);

  warning_ = MakeList(this, 1250, {"Disabled", "Enabled"});
  warning_->setCurrentIndex(s.gpsMaskWarning == 1 ? 1 : 0);
  quality_ = MakeList(this, 1251, {"Raw (AGPS)", "DGPS", "RTK 3", "RTK 4", "RTK 5"});
  quality_->setCurrentIndex(std::clamp(s.gpsMaskQuality, 0, 4));
  dilution_ = MakeEdit(this, 1252, FormatC("%.1f", s.gpsMaskDilution), 10);
  std::vector<std::string> counts;
  for (int n = 3; n <= 12; ++n) counts.push_back(std::to_string(n));
  satellites_ = MakeList(this, 1253, counts);
  satellites_->setCurrentIndex(std::clamp(s.gpsMaskSatellites - 3, 0, 9));
  audio_ = new QCheckBox("Enable &Audio Warning", this);
  SetControlId(audio_, 604);
  audio_->setChecked(s.gpsAudioWarning != 0);

  auto* grid = new QGridLayout;
  AddRow(grid, 0, labels.warning, warning_, 1255);
  AddRow(grid, 1, labels.quality, quality_, 1240);
  AddRow(grid, 2, labels.dilution, dilution_, 1254);
  AddRow(grid, 3, labels.satellites, satellites_, 1241);
  grid->setColumnStretch(1, 1);
  auto* note = MakeLabel(this,
                         "If any of above not met then GPS circle indicator will blink in red and audio warning "
                         "will sound if enabled");
  note->setWordWrap(true);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addWidget(audio_);
  top->addWidget(note);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  warning_->setFocus();
}

bool GpsMaskDialog::TakeValues() {
  Settings& s = Config();
  s.gpsMaskWarning = warning_->currentIndex();
  s.gpsMaskQuality = quality_->currentIndex();
  const double dilution = ParseRealC(TextOf(dilution_));
  s.gpsMaskDilution = std::isfinite(dilution) ? dilution : 0.0;
  s.gpsMaskSatellites = satellites_->currentIndex() + 3;
  s.gpsAudioWarning = audio_->isChecked() ? 1 : 0;
  SaveLoadSettings(Save);
  return true;
}

int RunGpsMaskDialog(QWidget* owner) {
  GpsMaskDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
