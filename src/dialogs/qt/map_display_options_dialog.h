#pragma once
// "Map Display Options" ("DISPLAYOPTIONS31" and its narrow form "DISPLAYOPTIONS31NARROW").
#include <QPushButton>

#include "dialogs/map_display_options.h"
#include "platform/qt/setup_dialog.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace obrix {

// Client width below which the narrow form is used.
inline constexpr int kMapOptionsNarrowBelow = 784;

// The owner-drawn preview (control 1223): the grid as chosen, the cursor and sample position marks.
class MapPreview : public QPushButton {
 public:
  explicit MapPreview(QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class MapDisplayOptionsDialog : public SetupDialog {
 public:
  MapDisplayOptionsDialog(QWidget* owner, bool narrow);

 protected:
  bool TakeValues() override;
  void RestoreValues() override;

 private:
  void ShowUnitLabels(int mapUnits);
  void SetGridStyle(int style);
  void PickColour(bool cursor);
  void OnColourViewChosen(int index);

  MapOptionsCopy copy_;
  QComboBox* units_ = nullptr;
  QLineEdit* mapSize_ = nullptr;
  QComboBox* swath_ = nullptr;
  QLabel* sizeUnit_ = nullptr;
  QLabel* swathUnit_ = nullptr;
  QLabel* intervalLabel_ = nullptr;
  QLabel* intervalUnit_ = nullptr;
  QRadioButton* basicGrid_ = nullptr;
  QRadioButton* parallelLines_ = nullptr;
  QLineEdit* interval_ = nullptr;
  QLineEdit* angle_ = nullptr;
  QComboBox* view_ = nullptr;
  MapPreview* preview_ = nullptr;
};

// Opens the narrow form or the wide one (narrow when the caller's client width is below
// kMapOptionsNarrowBelow); its result (1 OK, 0 Cancel).
int RunMapDisplayOptionsDialog(QWidget* owner, bool narrow);

}  // namespace obrix
