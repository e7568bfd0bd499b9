#include "platform/qt/prompts.h"

#include <QAction>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QPointer>
#include <QStringList>

#include "platform/qt/message_box.h"

namespace obrix {
namespace {

Prompts* g_prompts = nullptr;

QString PathToQt(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

namespace {

// Qt reads the patterns from the last bracketed group, separated by blanks.
QString ChoiceText(const FileChoice& filter) {
  QString text = QString::fromStdString(filter.description).trimmed();
  if (text.endsWith(QLatin1Char(')'))) {
    const qsizetype open = text.lastIndexOf(QLatin1Char('('));
    if (open >= 0) text = text.left(open).trimmed();
  }
  QStringList patterns = QString::fromStdString(filter.patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& p : patterns) p = p.trimmed();
  if (text.isEmpty()) text = QStringLiteral("Files");
  return text + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace

QString QtFilterText(const FileFilter& filter) { return ChoiceText({filter.description, filter.patterns}); }

namespace {

void SetUpFileDialog(QFileDialog& dialog, const std::string& initialFolder, const FileFilter& filter) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (!initialFolder.empty()) dialog.setDirectory(PathToQt(initialFolder));
  if (filter.empty()) return;
  QStringList filters{QtFilterText(filter)};
  for (const FileChoice& choice : filter.more) filters << ChoiceText(choice);
  dialog.setNameFilters(filters);
}

}  // namespace

std::string ApplyDefaultSuffix(const std::string& path, const std::string& suffix) {
  if (suffix.empty() || path.empty() || path.back() == '/') return path;
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (path.find('.', nameStart) != std::string::npos) return path;
  return path + "." + suffix;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || (!name.empty() && name.front() == '/')) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

QColor ToQColor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
Colour FromQColor(const QColor& c) {
  return static_cast<Colour>(c.red()) | (static_cast<Colour>(c.green()) << 8) |
         (static_cast<Colour>(c.blue()) << 16);
}

namespace {
// Gives the keyboard back to the owner's window when a modal prompt closes; without a window manager (or with a
// forgetful one) the focus would otherwise stay nowhere and the next key would be lost.
class FocusReturn {
 public:
  explicit FocusReturn(QWidget* owner) : window_(owner ? owner->window() : nullptr) {}
  ~FocusReturn() {
    if (window_ && window_->isVisible()) window_->activateWindow();
  }
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;

 private:
  QPointer<QWidget> window_;
};
}  // namespace

Prompts& UserPrompts() {
  static QtPrompts real;
  return g_prompts ? *g_prompts : real;
}

void SetPrompts(Prompts* prompts) { g_prompts = prompts; }

Prompts* InstalledPrompts() { return g_prompts; }

int QtPrompts::ShowMessage(const std::string& templateName, const std::string& title, const std::string& text,
                           QWidget* owner) {
  FocusReturn focus(owner);
  MessageDialog dialog(templateName, title, text, owner);
  return dialog.exec();
}

std::optional<std::string> QtPrompts::SaveFileName(QWidget* owner, const std::string& title,
                                                   const std::string& initialFolder,
                                                   const std::string& suggestedName, const FileFilter& filter,
                                                   const std::string& defaultSuffix) {
  FocusReturn focus(owner);
  QFileDialog dialog(owner, QString::fromStdString(title));
  SetUpFileDialog(dialog, initialFolder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
  if (!suggestedName.empty()) dialog.selectFile(PathToQt(suggestedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ApplyDefaultSuffix(PathFromQt(dialog.selectedFiles().front()), defaultSuffix);
}

std::optional<std::string> QtPrompts::OpenFileName(QWidget* owner, const std::string& title,
                                                   const std::string& initialFolder, const FileFilter& filter) {
  FocusReturn focus(owner);
  QFileDialog dialog(owner, QString::fromStdString(title));
  SetUpFileDialog(dialog, initialFolder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return PathFromQt(dialog.selectedFiles().front());
}

std::optional<Colour> QtPrompts::ChooseColour(QWidget* owner, std::optional<Colour> initial) {
  FocusReturn focus(owner);
  const QColor chosen = QColorDialog::getColor(ToQColor(initial.value_or(0)), owner);
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

int QtPrompts::RunDialog(QDialog& dialog) {
  FocusReturn focus(dialog.parentWidget());
  return dialog.exec();
}

int QtPrompts::PopupMenu(QMenu& menu, QPoint screenPos) {
  FocusReturn focus(menu.parentWidget());
  QAction* chosen = menu.exec(screenPos);
  return chosen ? chosen->data().toInt() : 0;
}

}  // namespace obrix
