#include "platform/qt/option_controls.h"

#include <QGridLayout>

#include "platform/qt/buttons.h"

namespace obrix {

QComboBox* MakeList(QWidget* parent, int id, std::initializer_list<const char*> items) {
  std::vector<std::string> v(items.begin(), items.end());
  return MakeList(parent, id, v);
}

QComboBox* MakeList(QWidget* parent, int id, const std::vector<std::string>& items) {
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  for (const std::string& item : items) list->addItem(Qs(item));
  list->setMaxVisibleItems(12);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  if (id >= 0) SetControlId(list, id);
  return list;
}

QLineEdit* MakeEdit(QWidget* parent, int id, const std::string& text, int maxLength) {
  auto* edit = new QLineEdit(parent);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setText(Qs(text));
  if (id >= 0) SetControlId(edit, id);
  return edit;
}

QLineEdit* MakeReadOnly(QWidget* parent, int id, const std::string& text) {
  QLineEdit* edit = MakeEdit(parent, id, text);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* text, QWidget* buddy, int id) {
  return MakeLabel(parent, QString::fromUtf8(text), buddy, id);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy, int id) {
  auto* label = new QLabel(text, parent);
  if (buddy) label->setBuddy(buddy);
  if (id >= 0) SetControlId(label, id);
  return label;
}

QLabel* AddRow(QGridLayout* grid, int row, const char* label, QWidget* field, int labelId) {
  QLabel* l = MakeLabel(grid->parentWidget(), label, field, labelId);
  grid->addWidget(l, row, 0, Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(field, row, 1);
  return l;
}

void AddRowAt(QGridLayout* grid, int row, int column, QLabel* label, QWidget* field) {
  if (label) grid->addWidget(label, row, column, Qt::AlignLeft | Qt::AlignVCenter);
  field->setSizePolicy(QSizePolicy::Expanding, field->sizePolicy().verticalPolicy());
  grid->addWidget(field, row, column + 1);
}

std::string TextOf(const QLineEdit* edit) { return edit ? edit->text().toStdString() : std::string(); }

}  // namespace obrix
