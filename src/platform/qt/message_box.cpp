#include "platform/qt/message_box.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <cstdio>

#include "platform/qt/buttons.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/prompts.h"

namespace obrix {
namespace {

constexpr int kDialogWidth = 198, kDialogHeight = 90;
constexpr int kTextLeft = 7, kTextTop = 22, kTextWidth = 184, kTextHeight = 32;
constexpr int kButtonWidth = 50, kButtonHeight = 14, kButtonGap = 26, kBottomMargin = 8;

MessageButtonSet ButtonsOrOk(const std::string& templateName) {
  if (auto set = MessageButtonsFor(templateName)) return *set;
  std::fprintf(stderr, "obrix38: unknown message template \"%s\", shown as %s\n", templateName.c_str(), kMessageOk);
  return *MessageButtonsFor(kMessageOk);
}

}  // namespace

MessageDialog::MessageDialog(const std::string& templateName, const std::string& title, const std::string& text,
                             QWidget* owner)
    : QDialog(owner) {
  const bool known = MessageButtonsFor(templateName).has_value();
  const MessageButtonSet set = ButtonsOrOk(templateName);
  setObjectName(QString::fromStdString(known ? templateName : std::string(kMessageOk)));
  escapeResult_ = templateName == kMessageNoYes ? 1 : 0;
  setWindowTitle(QStringLiteral("Message"));
  setModal(true);

  const QFont font = DialogFont("Microsoft Sans Serif", 16);
  setFont(font);
  const DialogUnits du = UnitsOf(font);

  auto* hidden = new QLabel(this);
  SetControlId(hidden, kMessageHiddenControl);
  hidden->hide();

  text_ = new QLabel(this);
  SetControlId(text_, kMessageTextControl);
  text_->setTextFormat(Qt::PlainText);
  text_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  text_->setWordWrap(true);
  text_->setMinimumSize(du.Size(kTextWidth, kTextHeight));

  auto* row = new QHBoxLayout;
  row->setSpacing(du.X(kButtonGap));
  row->addStretch(1);
  for (const MessageButton& b : {set.left, set.right}) {
    if (b.id == 0) continue;
    auto* button = new QPushButton(QString::fromLatin1(b.caption), this);
    SetControlId(button, b.id);
    button->setFixedSize(du.Size(kButtonWidth, kButtonHeight));
    button->setAutoDefault(false);
    button->setDefault(b.id == set.defaultId);
    const int result = b.id == IDOK ? 1 : 0;
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    buttons_[b.id == IDOK ? 0 : 1] = button;
    row->addWidget(button);
  }
  row->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  layout->setContentsMargins(du.X(kTextLeft), du.Y(kTextTop), du.X(kDialogWidth - kTextLeft - kTextWidth),
                             du.Y(kBottomMargin));
  layout->setSpacing(0);
  layout->addWidget(text_);
  layout->addStretch(1);
  layout->addLayout(row);
  setMinimumSize(du.Size(kDialogWidth, kDialogHeight));
  resize(du.Size(kDialogWidth, kDialogHeight));

  // Initialisation: the text into control 550, the caption from the title.
  text_->setText(QString::fromStdString(ToDisplayLines(text)));
  setWindowTitle(QString::fromStdString(title));

  if (QPushButton* def = button(set.defaultId)) def->setFocus();
}

QPushButton* MessageDialog::button(int id) const {
  if (id == IDOK) return buttons_[0];
  if (id == IDCANCEL) return buttons_[1];
  return nullptr;
}

void MessageDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

namespace {

int ShowOnWindowThread(const std::string& templ, const std::string& title, const std::string& text,
                       QWidget* owner) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return 0;
  if (QThread::currentThread() == app->thread()) return UserPrompts().ShowMessage(templ, title, text, owner);
  int result = 0;
  QMetaObject::invokeMethod(
      app, [&] { result = UserPrompts().ShowMessage(templ, title, text, owner); }, Qt::BlockingQueuedConnection);
  return result;
}

}  // namespace

int ShowMessage(const char* templateName, QWidget* owner) {
  return ShowOnWindowThread(templateName ? templateName : "", MessageTitle(), MessageText(), owner);
}

int ShowMessage(const char* templateName, std::string_view title, std::string_view text, QWidget* owner) {
  const std::string cutTitle = CutToChars(title, kMessageTitleChars - 1);
  const std::string cutText = CutToChars(text, kMessageTextChars - 1);
  SetMessageTitle(cutTitle);
  SetMessageText(cutText);
  return ShowOnWindowThread(templateName ? templateName : "", cutTitle, cutText, owner);
}

}  // namespace obrix
