#pragma once
// The message dialogs ("MESSAGEOK", "MESSAGEYESNO", "MESSAGEOKCANCEL", "MESSAGENOYES") and ShowMessage.
#include <QDialog>
#include <QWidget>
#include <string>
#include <string_view>

#include "platform/message_box.h"

class QLabel;
class QPushButton;

namespace obrix {

// One dialog for the four templates; objectName = the template. Button 1 closes with 1, button 2 with 0. Esc
// (or closing the window) gives 0, except in "MESSAGENOYES", where it gives 1 like its default "No": there 0
// means Yes, and a question asked with that template is one where Yes is the answer not to give by accident.
// An unknown template shows as "MESSAGEOK".
class MessageDialog : public QDialog {
  Q_OBJECT
 public:
  MessageDialog(const std::string& templateName, const std::string& title, const std::string& text,
                QWidget* owner);

  QLabel* textControl() const { return text_; }
  QPushButton* button(int id) const;  // IDOK or IDCANCEL, nullptr when the template has none

  void reject() override { done(escapeResult_); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* text_ = nullptr;
  QPushButton* buttons_[2] = {nullptr, nullptr};
  int escapeResult_ = 0;
};

// Shows the template with the current MessageTitle and MessageText through the prompt layer; its result.
// From another thread the message is shown on the window thread while the caller waits.
int ShowMessage(const char* templateName, QWidget* owner);
// Fills the buffers (cut to their sizes) and shows the template.
int ShowMessage(const char* templateName, std::string_view title, std::string_view text, QWidget* owner);

}  // namespace obrix
