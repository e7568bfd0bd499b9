#include "dialogs/qt/profile_display_options_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include "platform/qt/buttons.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"

namespace obrix {

namespace {
constexpr int kFirstCurveButton = 658;
constexpr int kFirstThicknessList = 666;
}  // namespace

CurveButton::CurveButton(int curve, QWidget* parent) : QPushButton(parent), curve_(curve) {
  SetControlId(this, kFirstCurveButton + curve);
  setAutoDefault(false);
  setAccessibleName(kProfileCurveNames[curve]);
}

QSize CurveButton::sizeHint() const { return {90, QPushButton::sizeHint().height()}; }

void CurveButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionButton frame;
  initStyleOption(&frame);
  frame.state &= ~QStyle::State_HasFocus;
  p.drawControl(QStyle::CE_PushButtonBevel, frame);

  const Settings& s = Config();
  const int thickness = std::clamp(s.traceThickness[curve_], 1, 4);
  const int y = height() / 2 + (isDown() ? 4 : 0);
  p.setPen(QPen(ToQColor(s.traceColour[curve_]), thickness, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(10, y, width() - 10, y);

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(4, 4, -4, -4);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

ProfileDisplayOptionsDialog::ProfileDisplayOptionsDialog(QWidget* owner)
    : SetupDialog("DISPLAYSETUP31", "Setup Display Options", 244, 130, owner, 12) {
  SetTopDivisor(2);
  SetCloseOnC(false);
  Settings& s = Config();
  copy_ = ProfileOptionsCopy::Of(s);

  auto* grid = new QGridLayout;
  grid->addWidget(MakeLabel(this, "Component/Dipole"), 0, 0);
  grid->addWidget(MakeLabel(this, "Color (click to change)"), 0, 1, Qt::AlignHCenter);
  grid->addWidget(MakeLabel(this, "Thickness"), 0, 2);
  for (int i = 0; i < kProfileOptionCurves; ++i) {
    curves_[i] = new CurveButton(i, this);
    QComboBox* thickness =
        MakeList(this, kFirstThicknessList + i, {"1 pixel", "2 pixels", "3 pixels", "4 pixels"});
    thickness->setCurrentIndex(ThicknessIndex(s.traceThickness[i]));
    grid->addWidget(MakeLabel(this, kProfileCurveNames[i], curves_[i]), i + 1, 0);
    grid->addWidget(curves_[i], i + 1, 1);
    grid->addWidget(thickness, i + 1, 2);

    connect(curves_[i], &QPushButton::clicked, this, [this, i] {
      Colour& c = Config().traceColour[i];
      c = UserPrompts().ChooseColour(this, c).value_or(c);
      curves_[i]->update();
    });
    connect(thickness, &QComboBox::currentIndexChanged, this, [this, i](int index) {
      Config().traceThickness[i] = ThicknessFromIndex(index);
      curves_[i]->update();
    });
  }
  grid->setColumnStretch(1, 1);

  gridChannel_ = MakeList(this, 1202, {"Conductivity", "Inphase"});
  gridChannel_->setCurrentIndex(s.profileGridChannel == 1 ? 1 : 0);
  auto* channelRow = new QGridLayout;
  AddRow(channelRow, 0, "&Display Grid Lines for:", gridChannel_);
  channelRow->addWidget(MakeLabel(this, "(Grid Lines selection affects only display)"), 1, 1);
  channelRow->setColumnStretch(1, 1);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addSpacing(units().Y(4));
  top->addLayout(channelRow);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
}

bool ProfileDisplayOptionsDialog::TakeValues() {
  ApplyProfileOptions(gridChannel_->currentIndex());
  return true;
}

void ProfileDisplayOptionsDialog::RestoreValues() { copy_.RestoreTo(Config()); }

int RunProfileDisplayOptionsDialog(QWidget* owner) {
  ProfileDisplayOptionsDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
