#pragma once
// Prompts for tests: every call is recorded and answered from a script, never by waiting for a user.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/qt/prompts.h"

namespace obrix {

struct MenuItemInfo {
  int id = 0;          // QAction::data, 0 for separators and items without one
  std::string text;    // with its "&" mnemonic
  bool enabled = true;
  bool separator = false;
};

struct PromptCall {
  enum Kind { Message, SaveFile, OpenFile, ColourChooser, Dialog, Menu };
  Kind kind = Message;
  std::string templateName;  // message template, dialog or menu objectName
  std::string title;         // message title, file dialog title, dialog caption
  std::string text;          // message text
  std::string initialFolder;
  std::string suggestedName;
  std::string defaultSuffix;
  FileFilter filter;
  std::optional<Colour> initialColour;
  std::vector<MenuItemInfo> menuItems;
  QPoint position;
  bool answered = false;
  // The answer given.
  int result = 0;
  std::optional<std::string> path;
  std::optional<Colour> colour;
};
const char* PromptKindName(PromptCall::Kind kind);

// A value to put into a control of a scripted dialog, found by its controlId:
// text -> QLineEdit (typed, so edit signals and the maximum length apply), QComboBox (the item with the text);
// index -> QComboBox (selected as by the user), QSpinBox, QListWidget row; checked -> QAbstractButton (clicked
// when its state differs, so click handlers run).
struct ControlValue {
  int controlId = 0;
  std::variant<std::string, int, bool> value;
  static ControlValue Text(int id, std::string text) { return {id, std::move(text)}; }
  static ControlValue Index(int id, int index) { return {id, index}; }
  static ControlValue Checked(int id, bool checked) { return {id, checked}; }
};

// How a scripted dialog step ends: a click on the control 1 (IDOK) or 2 (IDCANCEL) button (accept() / reject()
// when the dialog has none), done(code), or a key press sent to the focused control.
struct DialogEnd {
  enum How { Ok, Cancel, Done, Key, None };
  How how = Ok;
  int code = 0;      // Done: the result; Key: the Qt key
  std::string text;  // Key: the key's text
  static DialogEnd ClickOk() { return {Ok, 0, {}}; }
  static DialogEnd ClickCancel() { return {Cancel, 0, {}}; }
  static DialogEnd CallDone(int result) { return {Done, result, {}}; }
  static DialogEnd Press(int qtKey, std::string keyText = "") { return {Key, qtKey, std::move(keyText)}; }
  static DialogEnd Stay() { return {None, 0, {}}; }  // values only; the next step continues
};

struct DialogStep {
  std::vector<ControlValue> values;
  DialogEnd end;
};

struct PromptAnswer {
  enum Kind { Button, File, ColourPick, Dialog, Menu };
  Kind kind = Button;
  std::string expectTemplate;  // when not empty, the call must be for this template / objectName
  int result = 0;              // Button: the result; Menu: the identifier (0 = dismissed)
  std::optional<std::string> path;
  bool suggested = false;      // File: accept the suggested name in the initial folder
  std::optional<obrix::Colour> colour;
  std::vector<DialogStep> steps;
  // Button: the message stays up while this holds, the event loop running as under a modal box.
  std::function<bool()> holdWhile;

  static PromptAnswer Press(int result, std::string templ = "");
  static PromptAnswer ChooseFile(std::string path);
  static PromptAnswer AcceptSuggested();
  static PromptAnswer CancelFile();
  static PromptAnswer Pick(obrix::Colour c);
  static PromptAnswer CancelColour();
  static PromptAnswer RunDialog(std::vector<ControlValue> values, DialogEnd end = DialogEnd::ClickOk(),
                                std::string templ = "");
  static PromptAnswer Choose(int menuId);
  // A further dialog step, run when the dialog is still open after the previous one.
  PromptAnswer& Then(std::vector<ControlValue> values, DialogEnd end = DialogEnd::ClickOk());
  // Keeps a message up while `up()` holds (at most a minute, then a script fault), then answers it.
  PromptAnswer& HoldWhile(std::function<bool()> up);
};

class ScriptedPrompts : public Prompts {
 public:
  ScriptedPrompts() = default;
  ScriptedPrompts(const ScriptedPrompts&) = delete;
  ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

  void Push(PromptAnswer answer);
  ScriptedPrompts& operator<<(PromptAnswer answer) { Push(std::move(answer)); return *this; }

  const std::vector<PromptCall>& Calls() const { return calls_; }
  size_t PendingAnswers() const { return script_.size(); }
  const std::vector<std::string>& Failures() const { return failures_; }
  void ClearCalls() { calls_.clear(); }

  int ShowMessage(const std::string& templateName, const std::string& title, const std::string& text,
                  QWidget* owner) override;
  std::optional<std::string> SaveFileName(QWidget* owner, const std::string& title,
                                          const std::string& initialFolder, const std::string& suggestedName,
                                          const FileFilter& filter, const std::string& defaultSuffix) override;
  std::optional<std::string> OpenFileName(QWidget* owner, const std::string& title,
                                          const std::string& initialFolder, const FileFilter& filter) override;
  std::optional<obrix::Colour> ChooseColour(QWidget* owner, std::optional<obrix::Colour> initial) override;
  int RunDialog(QDialog& dialog) override;
  int PopupMenu(QMenu& menu, QPoint screenPos) override;

  // Reports a script fault through the failure handler and keeps it in Failures().
  void Fail(const std::string& message);

  // Where script faults go (a test installs one that fails the running test); nullptr = standard error.
  // Returns the handler it replaces.
  static std::function<void(const std::string&)> SetFailureHandler(std::function<void(const std::string&)> handler);

 private:
  std::optional<PromptAnswer> Next(const PromptCall& call, PromptAnswer::Kind kind);
  void HoldMessage(const PromptCall& call, const std::function<bool()>& up);
  std::string ApplyValue(QDialog& dialog, const ControlValue& v);
  std::string EndStep(QDialog& dialog, const DialogEnd& end);

  std::deque<PromptAnswer> script_;
  std::vector<PromptCall> calls_;
  std::vector<std::string> failures_;
};

// Installs a ScriptedPrompts for the scope; at its end, answers left unused are a script fault, and the
// previous prompts come back.
class ScopedScriptedPrompts : public ScriptedPrompts {
 public:
  ScopedScriptedPrompts();
  ~ScopedScriptedPrompts() override;

 private:
  Prompts* previous_;
};

}  // namespace obrix
