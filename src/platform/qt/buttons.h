#pragma once
// Controls by identifier, and the push buttons of the screens.
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace obrix {

// The dynamic property that carries a control's identifier.
inline constexpr const char* kControlIdProperty = "controlId";
// The dynamic property that marks the default button outside dialogs.
inline constexpr const char* kIsDefaultProperty = "isDefault";

void SetControlId(QWidget* control, int id);
// The identifier of a control, or -1 when it has none.
int ControlId(const QWidget* control);

// The first widget under `root` (root included) with the identifier, or nullptr.
QWidget* FindControl(QWidget* root, int id);
template <class T>
T* FindControl(QWidget* root, int id) {
  return qobject_cast<T*>(FindControl(root, id));
}

// A push button of a screen: takes no keyboard focus, carries its identifier and shows the default look when
// marked with SetDefaultLook.
QPushButton* MakeScreenButton(const QString& caption, int id, QWidget* parent);

// Marks (or unmarks) the button as the default one: sets `isDefault` and the thicker frame.
void SetDefaultLook(QPushButton* button, bool isDefault);
bool HasDefaultLook(const QPushButton* button);

}  // namespace obrix
