#pragma once
// "Enter Comment" ("COMMENT"): a comment record in the data file.
#include "platform/qt/setup_dialog.h"

class QLineEdit;

namespace obrix {

class CommentDialog : public SetupDialog {
 public:
  explicit CommentDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  QLineEdit* text_ = nullptr;
};

// Closes with 0 after OK as after Cancel.
int RunCommentDialog(QWidget* owner);

}  // namespace obrix
