#pragma once
// Common frame of the setup and option dialogs: template name, caption, size from dialog units, placement over
// the owner, OK (control 1, default) and Cancel (control 2), and "C" closing like Cancel.
#include <QDialog>

#include "platform/qt/dialog_units.h"

class QBoxLayout;
class QHBoxLayout;
class QPushButton;

namespace obrix {

class SetupDialog : public QDialog {
 public:
  // `width`/`height` in dialog units of the dialog font ("Microsoft Sans Serif" at `points`).
  SetupDialog(const char* templateName, const char* caption, int width, int height, QWidget* owner,
              double points = 12);

  const DialogUnits& units() const { return units_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // A right-aligned row with OK and Cancel, to add at the bottom of the dialog's layout.
  QHBoxLayout* MakeButtonRow();
  // Top edge of the placement over the owner: owner top + (owner height - height) / topDivisor.
  void SetTopDivisor(int divisor) { topDivisor_ = divisor; }
  // Whether a "C" reaching the dialog closes it like Cancel (on by default).
  void SetCloseOnC(bool on) { closeOnC_ = on; }
  // The result OK closes with (1 by default).
  void SetOkResult(int result) { okResult_ = result; }

  void reject() override;

 protected:
  // OK: take the values; returning false keeps the dialog open.
  virtual bool TakeValues() { return true; }
  // Cancel, Esc or "C": put back what the dialog changed while open.
  virtual void RestoreValues() {}

  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnOk();

  DialogUnits units_;
  QSize templateSize_;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  int topDivisor_ = 10;
  bool closeOnC_ = true;
  int okResult_ = Accepted;
};

}  // namespace obrix
