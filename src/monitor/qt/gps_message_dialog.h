#pragma once
// "Send Message to GPS Receiver" ("GETGPSMESSAGE"): the command to send, accepted or edited.
#include <QString>

#include "platform/qt/setup_dialog.h"

class QLineEdit;

namespace obrix {

inline constexpr int kGpsMessageEditId = 1001;
inline constexpr int kGpsMessageMaxChars = 99;

class GpsMessageDialog : public SetupDialog {
 public:
  GpsMessageDialog(QWidget* owner, const QString& text);
  QString text() const;

 private:
  QLineEdit* edit_ = nullptr;
};

// Runs the dialog through the prompts with `*text`; on OK puts the (possibly edited) text back and returns true.
bool RunGpsMessageDialog(QWidget* owner, QString* text);

}  // namespace obrix
