#include "platform/qt/scripted_prompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/control_ids.h"
#include "platform/qt/buttons.h"

namespace obrix {
namespace {

std::mutex g_handlerMutex;
std::function<void(const std::string&)> g_failureHandler;

const char* AnswerKindName(PromptAnswer::Kind kind) {
  switch (kind) {
    case PromptAnswer::Button: return "button";
    case PromptAnswer::File: return "file";
    case PromptAnswer::ColourPick: return "colour";
    case PromptAnswer::Dialog: return "dialog";
    case PromptAnswer::Menu: return "menu";
  }
  return "?";
}

std::string Describe(const PromptCall& c) {
  std::string s = PromptKindName(c.kind);
  if (!c.templateName.empty()) s += " \"" + c.templateName + "\"";
  if (!c.title.empty()) s += " title \"" + c.title + "\"";
  if (!c.text.empty()) s += " text \"" + c.text + "\"";
  return s;
}

void CollectMenu(const QMenu& menu, std::vector<MenuItemInfo>& items, std::vector<QAction*>& actions) {
  for (QAction* a : menu.actions()) {
    MenuItemInfo item;
    item.separator = a->isSeparator();
    item.text = a->text().toStdString();
    item.enabled = a->isEnabled();
    item.id = a->data().toInt();
    items.push_back(item);
    actions.push_back(a);
    if (a->menu()) CollectMenu(*a->menu(), items, actions);
  }
}

}  // namespace

const char* PromptKindName(PromptCall::Kind kind) {
  switch (kind) {
    case PromptCall::Message: return "message";
    case PromptCall::SaveFile: return "save-file dialog";
    case PromptCall::OpenFile: return "open-file dialog";
    case PromptCall::ColourChooser: return "colour chooser";
    case PromptCall::Dialog: return "dialog";
    case PromptCall::Menu: return "popup menu";
  }
  return "?";
}

PromptAnswer PromptAnswer::Press(int result, std::string templ) {
  PromptAnswer a;
  a.kind = Button;
  a.result = result;
  a.expectTemplate = std::move(templ);
  return a;
}
PromptAnswer PromptAnswer::ChooseFile(std::string path) {
  PromptAnswer a;
  a.kind = File;
  a.path = std::move(path);
  return a;
}
PromptAnswer PromptAnswer::AcceptSuggested() {
  PromptAnswer a;
  a.kind = File;
  a.suggested = true;
  return a;
}
PromptAnswer PromptAnswer::CancelFile() {
  PromptAnswer a;
  a.kind = File;
  return a;
}
PromptAnswer PromptAnswer::Pick(obrix::Colour c) {
  PromptAnswer a;
  a.kind = ColourPick;
  a.colour = c;
  return a;
}
PromptAnswer PromptAnswer::CancelColour() {
  PromptAnswer a;
  a.kind = ColourPick;
  return a;
}
PromptAnswer PromptAnswer::RunDialog(std::vector<ControlValue> values, DialogEnd end, std::string templ) {
  PromptAnswer a;
  a.kind = Dialog;
  a.expectTemplate = std::move(templ);
  a.steps.push_back({std::move(values), std::move(end)});
  return a;
}
PromptAnswer PromptAnswer::Choose(int menuId) {
  PromptAnswer a;
  a.kind = Menu;
  a.result = menuId;
  return a;
}
PromptAnswer& PromptAnswer::Then(std::vector<ControlValue> values, DialogEnd end) {
  steps.push_back({std::move(values), std::move(end)});
  return *this;
}

PromptAnswer& PromptAnswer::HoldWhile(std::function<bool()> up) {
  holdWhile = std::move(up);
  return *this;
}

std::function<void(const std::string&)> ScriptedPrompts::SetFailureHandler(
    std::function<void(const std::string&)> handler) {
  std::lock_guard<std::mutex> lock(g_handlerMutex);
  std::swap(g_failureHandler, handler);
  return handler;
}

void ScriptedPrompts::Push(PromptAnswer answer) { script_.push_back(std::move(answer)); }

void ScriptedPrompts::Fail(const std::string& message) {
  failures_.push_back(message);
  std::function<void(const std::string&)> handler;
  {
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    handler = g_failureHandler;
  }
  if (handler)
    handler(message);
  else
    std::fprintf(stderr, "prompt script: %s\n", message.c_str());
}

void ScriptedPrompts::HoldMessage(const PromptCall& call, const std::function<bool()>& up) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (up()) {
    if (std::chrono::steady_clock::now() > end) {
      Fail(Describe(call) + " held for more than a minute");
      return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::optional<PromptAnswer> ScriptedPrompts::Next(const PromptCall& call, PromptAnswer::Kind kind) {
  if (script_.empty()) {
    Fail("unanswered " + Describe(call) + ": the script has no answer left");
    return std::nullopt;
  }
  const PromptAnswer& next = script_.front();
  if (next.kind != kind) {
    Fail("unanswered " + Describe(call) + ": the next scripted answer is a " + AnswerKindName(next.kind) +
         " answer");
    return std::nullopt;
  }
  if (!next.expectTemplate.empty() && next.expectTemplate != call.templateName) {
    Fail("unanswered " + Describe(call) + ": the next scripted answer is for \"" + next.expectTemplate + "\"");
    return std::nullopt;
  }
  PromptAnswer a = std::move(script_.front());
  script_.pop_front();
  return a;
}

int ScriptedPrompts::ShowMessage(const std::string& templateName, const std::string& title,
                                 const std::string& text, QWidget*) {
  PromptCall call;
  call.kind = PromptCall::Message;
  call.templateName = templateName;
  call.title = title;
  call.text = text;
  if (auto a = Next(call, PromptAnswer::Button)) {
    call.answered = true;
    call.result = a->result;
    if (a->holdWhile) HoldMessage(call, a->holdWhile);
  }
  calls_.push_back(call);
  return call.result;
}

std::optional<std::string> ScriptedPrompts::SaveFileName(QWidget*, const std::string& title,
                                                         const std::string& initialFolder,
                                                         const std::string& suggestedName,
                                                         const FileFilter& filter,
                                                         const std::string& defaultSuffix) {
  PromptCall call;
  call.kind = PromptCall::SaveFile;
  call.title = title;
  call.initialFolder = initialFolder;
  call.suggestedName = suggestedName;
  call.filter = filter;
  call.defaultSuffix = defaultSuffix;
  if (auto a = Next(call, PromptAnswer::File)) {
    call.answered = true;
    if (a->suggested)
      call.path = ApplyDefaultSuffix(JoinFolder(initialFolder, suggestedName), defaultSuffix);
    else if (a->path)
      call.path = ApplyDefaultSuffix(JoinFolder(initialFolder, *a->path), defaultSuffix);
  }
  calls_.push_back(call);
  return call.path;
}

std::optional<std::string> ScriptedPrompts::OpenFileName(QWidget*, const std::string& title,
                                                         const std::string& initialFolder,
                                                         const FileFilter& filter) {
  PromptCall call;
  call.kind = PromptCall::OpenFile;
  call.title = title;
  call.initialFolder = initialFolder;
  call.filter = filter;
  if (auto a = Next(call, PromptAnswer::File)) {
    call.answered = true;
    if (a->suggested)
      Fail("open-file dialog \"" + title + "\" has no suggested name to accept");
    else if (a->path)
      call.path = JoinFolder(initialFolder, *a->path);
  }
  calls_.push_back(call);
  return call.path;
}

std::optional<Colour> ScriptedPrompts::ChooseColour(QWidget*, std::optional<Colour> initial) {
  PromptCall call;
  call.kind = PromptCall::ColourChooser;
  call.initialColour = initial;
  if (auto a = Next(call, PromptAnswer::ColourPick)) {
    call.answered = true;
    call.colour = a->colour;
  }
  calls_.push_back(call);
  return call.colour;
}

std::string ScriptedPrompts::ApplyValue(QDialog& dialog, const ControlValue& v) {
  QWidget* w = FindControl(&dialog, v.controlId);
  const std::string where = "control " + std::to_string(v.controlId);
  if (!w) return where + " does not exist";
  if (!w->isEnabled()) return where + " is disabled";
  if (const auto* text = std::get_if<std::string>(&v.value)) {
    const QString q = QString::fromStdString(*text);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      if (edit->isReadOnly()) return where + " is read-only";
      edit->selectAll();
      edit->insert(q);  // as typed: textEdited, the validator and the maximum length apply
      return {};
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      const int i = combo->findText(q);
      if (i < 0) return where + " has no item \"" + *text + "\"";
      combo->setCurrentIndex(i);
      emit combo->activated(i);
      return {};
    }
    return where + " takes no text";
  }
  if (const auto* checked = std::get_if<bool>(&v.value)) {
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || !button->isCheckable()) return where + " is not a check box or radio button";
    if (button->isChecked() != *checked) {
      button->click();
      if (button->isChecked() != *checked) button->setChecked(*checked);
    }
    return {};
  }
  const int n = std::get<int>(v.value);
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (n < 0 || n >= combo->count())
      return where + " has no item " + std::to_string(n) + " (" + std::to_string(combo->count()) + " items)";
    combo->setCurrentIndex(n);
    emit combo->activated(n);
    return {};
  }
  if (auto* spin = qobject_cast<QSpinBox*>(w)) {
    spin->setValue(n);
    return {};
  }
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    if (n < 0 || n >= list->count()) return where + " has no row " + std::to_string(n);
    list->setCurrentRow(n);
    return {};
  }
  return where + " takes no index";
}

std::string ScriptedPrompts::EndStep(QDialog& dialog, const DialogEnd& end) {
  switch (end.how) {
    case DialogEnd::Ok:
    case DialogEnd::Cancel: {
      const int id = end.how == DialogEnd::Ok ? IDOK : IDCANCEL;
      auto* button = FindControl<QAbstractButton>(&dialog, id);
      if (!button) {
        if (id == IDOK) dialog.accept(); else dialog.reject();
        return {};
      }
      if (!button->isEnabled()) return std::string(id == IDOK ? "OK" : "Cancel") + " button is disabled";
      button->click();
      return {};
    }
    case DialogEnd::Done:
      dialog.done(end.code);
      return {};
    case DialogEnd::Key: {
      QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
      QKeyEvent press(QEvent::KeyPress, end.code, Qt::NoModifier, QString::fromStdString(end.text));
      QCoreApplication::sendEvent(target, &press);
      if (dialog.isVisible()) {
        QKeyEvent release(QEvent::KeyRelease, end.code, Qt::NoModifier, QString::fromStdString(end.text));
        QCoreApplication::sendEvent(target, &release);
      }
      return {};
    }
    case DialogEnd::None:
      return {};
  }
  return {};
}

int ScriptedPrompts::RunDialog(QDialog& dialog) {
  PromptCall call;
  call.kind = PromptCall::Dialog;
  call.templateName = dialog.objectName().toStdString();
  call.title = dialog.windowTitle().toStdString();
  auto a = Next(call, PromptAnswer::Dialog);
  if (!a) {
    calls_.push_back(call);
    return 0;
  }
  call.answered = true;
  const size_t index = calls_.size();
  calls_.push_back(call);

  // As exec() does: a fresh result, then the dialog's own initialisation when it is shown.
  dialog.setResult(0);
  dialog.show();
  calls_[index].title = dialog.windowTitle().toStdString();
  size_t begun = 0;
  while (begun < a->steps.size() && dialog.isVisible()) {
    const DialogStep& step = a->steps[begun++];
    const std::string where = "dialog \"" + call.templateName + "\" step " + std::to_string(begun) + ": ";
    for (const ControlValue& v : step.values)
      if (std::string fault = ApplyValue(dialog, v); !fault.empty()) Fail(where + fault);
    if (!dialog.isVisible()) break;  // a value change may close it
    if (std::string fault = EndStep(dialog, step.end); !fault.empty()) Fail(where + fault);
  }
  if (begun < a->steps.size())
    Fail("dialog \"" + call.templateName + "\" closed after step " + std::to_string(begun) + " of " +
         std::to_string(a->steps.size()));
  if (dialog.isVisible()) {
    Fail("dialog \"" + call.templateName + "\" is still open after its scripted steps");
    dialog.done(0);
  }
  calls_[index].result = dialog.result();
  return dialog.result();
}

int ScriptedPrompts::PopupMenu(QMenu& menu, QPoint screenPos) {
  PromptCall call;
  call.kind = PromptCall::Menu;
  call.templateName = menu.objectName().toStdString();
  call.position = screenPos;
  std::vector<QAction*> actions;
  CollectMenu(menu, call.menuItems, actions);
  auto a = Next(call, PromptAnswer::Menu);
  QAction* chosen = nullptr;
  if (a) {
    call.answered = true;
    for (size_t i = 0; i < actions.size() && a->result != 0; ++i)
      if (!call.menuItems[i].separator && call.menuItems[i].id == a->result && !actions[i]->menu())
        chosen = actions[i];
    if (a->result != 0 && !chosen)
      Fail("popup menu has no item " + std::to_string(a->result));
    else if (chosen && !chosen->isEnabled())
      Fail("popup menu item " + std::to_string(a->result) + " is disabled"), chosen = nullptr;
  }
  call.result = chosen ? a->result : 0;
  calls_.push_back(call);
  if (chosen) chosen->trigger();
  return call.result;
}

ScopedScriptedPrompts::ScopedScriptedPrompts() : previous_(InstalledPrompts()) { SetPrompts(this); }

ScopedScriptedPrompts::~ScopedScriptedPrompts() {
  if (PendingAnswers() > 0)
    Fail(std::to_string(PendingAnswers()) + " scripted answer(s) were never asked for");
  SetPrompts(previous_);
}

}  // namespace obrix
