#pragma once
// "Audio Options" ("AUDIOFUNCTIONS"): tick sounds, disconnection alarm and the GPS mask warning sound.
#include "platform/qt/setup_dialog.h"

class QCheckBox;

namespace obrix {

class AudioOptionsDialog : public SetupDialog {
 public:
  explicit AudioOptionsDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  QCheckBox* ticks_ = nullptr;
  QCheckBox* alarm_ = nullptr;
  QCheckBox* gpsWarning_ = nullptr;
};

int RunAudioOptionsDialog(QWidget* owner);

}  // namespace obrix
