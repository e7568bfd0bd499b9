#include "platform/qt/buttons.h"

#include <QStyle>
#include <QVariant>

namespace obrix {
namespace {

// Button face (240, 240, 240), black text; the default button has a three-pixel black frame.
const char* const kScreenButtonStyle =
    "QPushButton { background-color: rgb(240, 240, 240); color: black;"
    " border: 1px solid rgb(112, 112, 112); padding: 2px; }"
    "QPushButton:pressed { background-color: rgb(204, 228, 247); }"
    "QPushButton:disabled { color: rgb(160, 160, 160); border-color: rgb(191, 191, 191); }"
    "QPushButton[isDefault=\"true\"] { border: 3px solid black; padding: 0px; }";

}  // namespace

void SetControlId(QWidget* control, int id) {
  if (control) control->setProperty(kControlIdProperty, id);
}

int ControlId(const QWidget* control) {
  if (!control) return -1;
  bool ok = false;
  const int id = control->property(kControlIdProperty).toInt(&ok);
  return ok ? id : -1;
}

QWidget* FindControl(QWidget* root, int id) {
  if (!root) return nullptr;
  if (ControlId(root) == id) return root;
  const auto children = root->findChildren<QWidget*>();
  for (QWidget* w : children)
    if (ControlId(w) == id) return w;
  return nullptr;
}

QPushButton* MakeScreenButton(const QString& caption, int id, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoDefault(false);
  SetControlId(button, id);
  button->setProperty(kIsDefaultProperty, false);
  button->setStyleSheet(kScreenButtonStyle);
  return button;
}

void SetDefaultLook(QPushButton* button, bool isDefault) {
  if (!button) return;
  if (button->styleSheet().isEmpty()) button->setStyleSheet(kScreenButtonStyle);
  button->setProperty(kIsDefaultProperty, isDefault);
  button->style()->unpolish(button);
  button->style()->polish(button);
  button->update();
}

bool HasDefaultLook(const QPushButton* button) {
  return button && button->property(kIsDefaultProperty).toBool();
}

}  // namespace obrix
