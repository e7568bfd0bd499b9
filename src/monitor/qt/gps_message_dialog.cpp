#include "monitor/qt/gps_message_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "monitor/monitor_commands.h"
#include "platform/control_ids.h"
#include "platform/qt/buttons.h"
#include "platform/qt/prompts.h"

namespace obrix {

GpsMessageDialog::GpsMessageDialog(QWidget* owner, const QString& text)
    : SetupDialog("GETGPSMESSAGE", kMonitorSendTitle, 230, 62, owner) {
  SetCloseOnC(false);
  auto* label = new QLabel("Accept or edit GPS message and click on OK to send", this);
  edit_ = new QLineEdit(this);
  SetControlId(edit_, kGpsMessageEditId);
  edit_->setMaxLength(kGpsMessageMaxChars);
  edit_->setText(text);
  auto* top = new QVBoxLayout(this);
  top->addWidget(label);
  top->addWidget(edit_);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  edit_->setFocus();
}

QString GpsMessageDialog::text() const { return edit_->text(); }

bool RunGpsMessageDialog(QWidget* owner, QString* text) {
  GpsMessageDialog dialog(owner, *text);
  if (UserPrompts().RunDialog(dialog) != IDOK) return false;
  *text = dialog.text();
  return true;
}

}  // namespace obrix
