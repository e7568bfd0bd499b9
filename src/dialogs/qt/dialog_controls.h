#pragma once
// Controls of the setup dialogs, each carrying its identifier (a namespace of their own beside the option
// dialogs' helpers).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <string>
#include <vector>

class QGridLayout;

namespace obrix::form {

// A drop-down list (not editable) with the entries; `id` < 0 leaves it without identifier.
QComboBox* MakeList(QWidget* parent, int id, const std::vector<std::string>& entries);
template <size_t N>
QComboBox* MakeList(QWidget* parent, int id, const char* const (&entries)[N]) {
  return MakeList(parent, id, std::vector<std::string>(entries, entries + N));
}
// An edit that takes at most `maxLength` characters.
QLineEdit* MakeEdit(QWidget* parent, int id, int maxLength = 32767);
// A label for `buddy` (its "&" mnemonic moves the focus there).
QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy = nullptr, int id = -1);

// A label and its control as one row of a grid, the label in `column`, the control beside it.
void AddRow(QGridLayout* grid, int row, int column, QLabel* label, QWidget* control);

std::string TextOf(const QLineEdit* edit);
QString QText(const std::string& text);

}  // namespace obrix::form
