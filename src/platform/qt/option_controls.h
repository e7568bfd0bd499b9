#pragma once
// Controls of the setup and option dialogs, each created with its identifier.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

class QGridLayout;

namespace obrix {

// A non-editable drop-down list holding the items.
QComboBox* MakeList(QWidget* parent, int id, std::initializer_list<const char*> items);
QComboBox* MakeList(QWidget* parent, int id, const std::vector<std::string>& items);
template <size_t N>
QComboBox* MakeList(QWidget* parent, int id, const char* const (&items)[N]) {
  return MakeList(parent, id, std::vector<std::string>(items, items + N));
}
// An edit; maxLength 0 keeps Qt's default.
QLineEdit* MakeEdit(QWidget* parent, int id, const std::string& text = {}, int maxLength = 0);
QLineEdit* MakeReadOnly(QWidget* parent, int id, const std::string& text);
// A label, its buddy taking the focus for the label's mnemonic; id -1 for none.
QLabel* MakeLabel(QWidget* parent, const char* text, QWidget* buddy = nullptr, int id = -1);
QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy = nullptr, int id = -1);

// A label / field row of a grid: the label right of column 0, the field in column 1.
QLabel* AddRow(QGridLayout* grid, int row, const char* label, QWidget* field, int labelId = -1);
// A label and its field as one row of a grid: the label left-aligned in `column`, the field beside it.
void AddRowAt(QGridLayout* grid, int row, int column, QLabel* label, QWidget* field);

// UTF-8 text of an edit, and QString from UTF-8.
std::string TextOf(const QLineEdit* edit);
inline QString Qs(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace obrix
