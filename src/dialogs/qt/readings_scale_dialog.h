#pragma once
// "Conductivity/Inphase Readings Scales" ("READINGSCALE31"): the scale limits of both components.
#include "dialogs/scale_options.h"
#include "platform/qt/setup_dialog.h"

class QLineEdit;

namespace obrix {

class ReadingsScaleDialog : public SetupDialog {
 public:
  explicit ReadingsScaleDialog(QWidget* owner);

 protected:
  bool TakeValues() override;
  void RestoreValues() override;

 private:
  void OnEdited(ScaleLimit which, const QString& text);

  ReadingScaleCopy copy_;
  QLineEdit* condMin_ = nullptr;
  QLineEdit* condMax_ = nullptr;
  QLineEdit* inphMin_ = nullptr;
  QLineEdit* inphMax_ = nullptr;
};

int RunReadingsScaleDialog(QWidget* owner);

}  // namespace obrix
