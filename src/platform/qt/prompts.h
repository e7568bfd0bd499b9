#pragma once
// The prompt layer: every message box, file dialog, colour chooser, modal dialog and popup menu of the program
// goes through the installed Prompts.
#include <QDialog>
#include <QMenu>
#include <QPoint>
#include <QWidget>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"

namespace obrix {

// One choice of a file-type filter: the text shown and its patterns separated by ';' ("*.TXT;*.ASC").
struct FileChoice {
  std::string description;
  std::string patterns;
  bool operator==(const FileChoice&) const = default;
};

// A file-type filter: the first choice, then any further choices in the order offered. Empty = no filter.
struct FileFilter {
  FileFilter() = default;
  FileFilter(std::string description, std::string patterns, std::vector<FileChoice> more = {})
      : description(std::move(description)), patterns(std::move(patterns)), more(std::move(more)) {}

  std::string description;
  std::string patterns;
  std::vector<FileChoice> more;
  bool empty() const { return patterns.empty(); }
  bool operator==(const FileFilter&) const = default;
};

// The path a save dialog returns: `suffix` appended (after a ".") when the file name has no extension.
std::string ApplyDefaultSuffix(const std::string& path, const std::string& suffix);
// The filter as Qt reads it: the description without its bracketed pattern list, then the patterns in brackets.
QString QtFilterText(const FileFilter& filter);
// `folder` + `name`, with one "/" between them when the folder is not empty.
std::string JoinFolder(const std::string& folder, const std::string& name);

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A message box of the template ("MESSAGEOK", ...); the result of the pressed button (0 for Esc).
  virtual int ShowMessage(const std::string& templateName, const std::string& title, const std::string& text,
                          QWidget* owner) = 0;
  // The chosen path, or nothing when cancelled. No overwrite prompt.
  virtual std::optional<std::string> SaveFileName(QWidget* owner, const std::string& title,
                                                  const std::string& initialFolder,
                                                  const std::string& suggestedName, const FileFilter& filter,
                                                  const std::string& defaultSuffix) = 0;
  virtual std::optional<std::string> OpenFileName(QWidget* owner, const std::string& title,
                                                  const std::string& initialFolder, const FileFilter& filter) = 0;
  // The chosen colour, or nothing when cancelled. Without `initial` the chooser starts at black.
  virtual std::optional<Colour> ChooseColour(QWidget* owner, std::optional<Colour> initial) = 0;
  // Runs a dialog built in code (objectName = its template name) modally; its result code.
  virtual int RunDialog(QDialog& dialog) = 0;
  // Shows the menu at a screen position; the identifier (QAction::data) of the chosen item, 0 for none.
  virtual int PopupMenu(QMenu& menu, QPoint screenPos) = 0;
};

// The installed prompts; the real ones until SetPrompts installs others. SetPrompts(nullptr) restores them.
// The caller keeps ownership. Window thread only.
Prompts& UserPrompts();
void SetPrompts(Prompts* prompts);
// The prompts installed by SetPrompts, nullptr when the real ones are in use.
Prompts* InstalledPrompts();

// The real prompts: our message dialog, Qt's file and colour dialogs, exec().
class QtPrompts : public Prompts {
 public:
  int ShowMessage(const std::string& templateName, const std::string& title, const std::string& text,
                  QWidget* owner) override;
  std::optional<std::string> SaveFileName(QWidget* owner, const std::string& title,
                                          const std::string& initialFolder, const std::string& suggestedName,
                                          const FileFilter& filter, const std::string& defaultSuffix) override;
  std::optional<std::string> OpenFileName(QWidget* owner, const std::string& title,
                                          const std::string& initialFolder, const FileFilter& filter) override;
  std::optional<Colour> ChooseColour(QWidget* owner, std::optional<Colour> initial) override;
  int RunDialog(QDialog& dialog) override;
  int PopupMenu(QMenu& menu, QPoint screenPos) override;
};

// Colour (red in the low byte) to and from QColor.
QColor ToQColor(Colour c);
Colour FromQColor(const QColor& c);

}  // namespace obrix
