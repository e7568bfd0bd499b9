#include "dialogs/qt/comment_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/line_station.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"

namespace obrix {

CommentDialog::CommentDialog(QWidget* owner) : SetupDialog("COMMENT", "Enter Comment", 172, 51, owner) {
  SetTopDivisor(6);
  SetCloseOnC(false);
  SetOkResult(0);
  text_ = MakeEdit(this, 1190, "", kCommentChars);
  auto* row = new QGridLayout;
  row->addWidget(text_, 0, 0);
  row->addWidget(MakeLabel(this, "Maximum 11 characters"), 0, 1);
  row->setColumnStretch(0, 1);
  auto* top = new QVBoxLayout(this);
  top->addLayout(row);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  text_->setFocus();
}

bool CommentDialog::TakeValues() {
  ApplyComment(TextOf(text_));
  return true;
}

int RunCommentDialog(QWidget* owner) {
  CommentDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
