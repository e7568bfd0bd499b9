#include "dialogs/qt/geometry_setup_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/qt/geometry_picture.h"
#include "platform/qt/buttons.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"

namespace obrix {


namespace {
constexpr int kFirstUnitId = 1155;
constexpr const char* kUnitCaptions[4] = {"&meters", "c&entimeters", "&feet", "&inches"};
}  // namespace

GeometrySetupDialog::GeometrySetupDialog(QWidget* owner)
    : SetupDialog("ARRAYGEOMETRY38", "Geometry Setup", 245, 171, owner) {
  SetTopDivisor(10);
  opened_ = OpenGeometryForm();

  lateral_ = MakeEdit(this, 1151);
  along_ = MakeEdit(this, 1152);
  auto* offsets = new QGridLayout;
  AddRowAt(offsets, 0, 0, MakeLabel(this, "GPS &X Offset", lateral_), lateral_);
  AddRowAt(offsets, 1, 0, MakeLabel(this, "GPS &Y Offset", along_), along_);
  offsets->setColumnStretch(1, 1);

  auto* unitBox = new QGroupBox("Geometry Units", this);
  auto* unitLayout = new QVBoxLayout(unitBox);
  units_ = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    auto* radio = new QRadioButton(kUnitCaptions[i], unitBox);
    SetControlId(radio, kFirstUnitId + i);
    units_->addButton(radio, i);
    unitLayout->addWidget(radio);
  }
  unitLayout->addStretch(1);

  auto* pictureBox = new QGroupBox("Geometry Description", this);
  auto* pictureLayout = new QVBoxLayout(pictureBox);
  auto* picture = new GeometryPicture(pictureBox);
  picture->setMinimumSize(units().Size(120, 100));
  pictureLayout->addWidget(picture);

  auto* left = new QVBoxLayout;
  left->addLayout(offsets);
  left->addSpacing(units().Y(4));
  left->addWidget(unitBox);
  left->addStretch(1);
  auto* body = new QHBoxLayout;
  body->addLayout(left, 0);
  body->addWidget(pictureBox, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(MakeButtonRow());

  lateral_->setText(Qs(opened_.lateralOffset));
  along_->setText(Qs(opened_.alongOffset));
  units_->button(opened_.units)->setChecked(true);

  setTabOrder(lateral_, along_);
  setTabOrder(along_, units_->checkedButton());
  setTabOrder(units_->checkedButton(), okButton());
  setTabOrder(okButton(), cancelButton());
  lateral_->setFocus();
}

bool GeometrySetupDialog::TakeValues() {
  GeometryForm f;
  f.units = units_->checkedId();
  f.lateralOffset = TextOf(lateral_);
  f.alongOffset = TextOf(along_);
  ApplyGeometryForm(f, opened_);
  return true;
}

int RunGeometrySetupDialog(QWidget* owner) {
  GeometrySetupDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
