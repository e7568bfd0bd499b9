#include "platform/qt/setup_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

#include "platform/control_ids.h"
#include "platform/qt/buttons.h"

namespace obrix {

SetupDialog::SetupDialog(const char* templateName, const char* caption, int width, int height, QWidget* owner,
                         double points)
    : QDialog(owner) {
  setObjectName(templateName);
  setWindowTitle(caption);
  setModal(true);
  QFont font = DialogFont("Microsoft Sans Serif", points);
  setFont(font);
  units_ = UnitsOf(font);
  templateSize_ = units_.Size(width, height);
  resize(templateSize_);

  ok_ = new QPushButton("OK", this);
  SetControlId(ok_, IDOK);
  ok_->setDefault(true);
  ok_->setAutoDefault(true);
  cancel_ = new QPushButton("Cancel", this);
  SetControlId(cancel_, IDCANCEL);
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, [this] { OnOk(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

QHBoxLayout* SetupDialog::MakeButtonRow() {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  const int w = std::max(units_.X(50), ok_->sizeHint().width());
  ok_->setMinimumWidth(w);
  cancel_->setMinimumWidth(w);
  row->addWidget(ok_);
  row->addWidget(cancel_);
  return row;
}

void SetupDialog::OnOk() {
  if (!TakeValues()) return;
  if (okResult_ == Accepted)
    accept();
  else
    done(okResult_);
}

void SetupDialog::reject() {
  RestoreValues();
  QDialog::reject();
}

void SetupDialog::keyPressEvent(QKeyEvent* event) {
  // Reaches here only when the focused control did not take the key (an edit takes letters).
  if (closeOnC_ && event->key() == Qt::Key_C && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

void SetupDialog::showEvent(QShowEvent* event) {
  QSize size = templateSize_.expandedTo(sizeHint());
  resize(size);
  if (QWidget* owner = parentWidget()) {
    const QRect o = owner->window()->frameGeometry();
    const int left = o.left() + (o.width() - size.width()) / 2;
    const int top = o.top() + (o.height() - size.height()) / std::max(1, topDivisor_);
    move(left, top);
  }
  QDialog::showEvent(event);
}

}  // namespace obrix
