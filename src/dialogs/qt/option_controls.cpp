#include "dialogs/qt/option_controls.h"

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
  SetControlId(list, id);
  return list;
}

QLineEdit* MakeEdit(QWidget* parent, int id, const std::string& text, int maxLength) {
  auto* edit = new QLineEdit(parent);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setText(Qs(text));
  SetControlId(edit, id);
  return edit;
}

QLineEdit* MakeReadOnly(QWidget* parent, int id, const std::string& text) {
  QLineEdit* edit = MakeEdit(parent, id, text);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* text, QWidget* buddy, int id) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
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

std::string TextOf(const QLineEdit* edit) { return edit ? edit->text().toStdString() : std::string(); }

}  // namespace obrix
