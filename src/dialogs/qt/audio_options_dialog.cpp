#include "dialogs/qt/audio_options_dialog.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "platform/qt/buttons.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

namespace {
QCheckBox* Check(QWidget* parent, int id, const char* text, bool checked) {
  auto* box = new QCheckBox(text, parent);
  SetControlId(box, id);
  box->setChecked(checked);
  return box;
}
}  // namespace

AudioOptionsDialog::AudioOptionsDialog(QWidget* owner)
    : SetupDialog("AUDIOFUNCTIONS", "Audio Options", 192, 100, owner) {
  SetTopDivisor(2);
  SetCloseOnC(false);
  const Settings& s = Config();
  ticks_ = Check(this, 1005, "Audio &Tiks During Data Collection", s.audioTicks != 0);
  alarm_ = Check(this, 1006, "Sound &Alarm for any Disconnection", s.disconnectAlarm != 0);
  gpsWarning_ = Check(this, 1007, "Enable Audio &Warning for GPS Mask", s.gpsAudioWarning != 0);
  auto* top = new QVBoxLayout(this);
  top->addWidget(ticks_);
  top->addWidget(alarm_);
  top->addWidget(gpsWarning_);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  ticks_->setFocus();
}

bool AudioOptionsDialog::TakeValues() {
  Settings& s = Config();
  s.audioTicks = ticks_->isChecked() ? 1 : 0;
  s.disconnectAlarm = alarm_->isChecked() ? 1 : 0;
  s.gpsAudioWarning = gpsWarning_->isChecked() ? 1 : 0;
  SaveLoadSettings(Save);
  return true;
}

int RunAudioOptionsDialog(QWidget* owner) {
  AudioOptionsDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
