#include "dialogs/qt/dialog_controls.h"

#include <QGridLayout>

#include "platform/qt/buttons.h"

namespace obrix::form {

QComboBox* MakeList(QWidget* parent, int id, const std::vector<std::string>& entries) {
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  for (const std::string& e : entries) list->addItem(QText(e));
  list->setMaxVisibleItems(12);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  if (id >= 0) SetControlId(list, id);
  return list;
}

QLineEdit* MakeEdit(QWidget* parent, int id, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(maxLength);
  if (id >= 0) SetControlId(edit, id);
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy, int id) {
  auto* label = new QLabel(text, parent);
  if (buddy) label->setBuddy(buddy);
  if (id >= 0) SetControlId(label, id);
  return label;
}

void AddRow(QGridLayout* grid, int row, int column, QLabel* label, QWidget* control) {
  if (label) grid->addWidget(label, row, column, Qt::AlignLeft | Qt::AlignVCenter);
  control->setSizePolicy(QSizePolicy::Expanding, control->sizePolicy().verticalPolicy());
  grid->addWidget(control, row, column + 1);
}

std::string TextOf(const QLineEdit* edit) { return edit->text().toStdString(); }

QString QText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace obrix::form
