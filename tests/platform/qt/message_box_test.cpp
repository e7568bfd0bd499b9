#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/qt/buttons.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/message_box.h"
#include "platform/qt/prompts.h"
#include "platform/qt/scripted_prompts.h"

namespace obrix {
namespace {

struct TemplateCase {
  const char* templ;
  const char* left;   // caption of the left button, nullptr for none
  const char* right;
  const char* byDefault;
  int leftResult, rightResult;
  int escapeResult;  // Esc and closing the window
};
const TemplateCase kTemplates[] = {
    {"MESSAGEOK", nullptr, "OK", "OK", 0, 1, 0},
    {"MESSAGEYESNO", "No", "Yes", "Yes", 0, 1, 0},
    {"MESSAGEOKCANCEL", "Cancel", "OK", "OK", 0, 1, 0},
    {"MESSAGENOYES", "Yes", "No", "No", 0, 1, 1},  // Esc answers No, never Yes
};

std::vector<QPushButton*> ButtonsLeftToRight(QDialog& d) {
  auto buttons = d.findChildren<QPushButton*>();
  std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
  return {buttons.begin(), buttons.end()};
}

void Press(QDialog& d, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(d.focusWidget() ? d.focusWidget() : &d, &e);
}

TEST(MessageDialog, TemplatesHaveTheirButtonsDefaultsAndResults) {
  for (const TemplateCase& c : kTemplates) {
    SCOPED_TRACE(c.templ);
    enum Close { ClickLeft, ClickRight, Escape, Enter, CloseWindow };
    for (Close how : {ClickLeft, ClickRight, Escape, Enter, CloseWindow}) {
      if (how == ClickLeft && !c.left) continue;
      MessageDialog d(c.templ, "Confirm Exit", "Exit Logging?", nullptr);
      d.show();
      EXPECT_EQ(d.objectName(), c.templ);
      EXPECT_EQ(d.windowTitle(), "Confirm Exit");
      auto buttons = ButtonsLeftToRight(d);
      ASSERT_EQ(buttons.size(), c.left ? 2u : 1u);
      if (c.left) {
        EXPECT_EQ(buttons[0]->text(), c.left);
        EXPECT_EQ(ControlId(buttons[0]), IDCANCEL);
      }
      QPushButton* right = buttons.back();
      EXPECT_EQ(right->text(), c.right);
      EXPECT_EQ(ControlId(right), IDOK);
      for (QPushButton* b : buttons) EXPECT_EQ(b->isDefault(), b->text() == c.byDefault) << b->text().toStdString();

      int expected = 0;
      switch (how) {
        case ClickLeft: buttons[0]->click(); expected = c.leftResult; break;
        case ClickRight: right->click(); expected = c.rightResult; break;
        case Escape: Press(d, Qt::Key_Escape); expected = c.escapeResult; break;
        case Enter: Press(d, Qt::Key_Return); expected = 1; break;  // the default button is control 1
        case CloseWindow: d.close(); expected = c.escapeResult; break;
      }
      EXPECT_FALSE(d.isVisible()) << how;
      EXPECT_EQ(d.result(), expected) << how;
    }
  }
}

TEST(MessageDialog, TextControlSizeAndPlace) {
  MessageDialog d("MESSAGEYESNO", "Title", "Line one\r\nLine <b>two</b>", nullptr);
  d.show();
  auto* text = FindControl<QLabel>(&d, kMessageTextControl);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), "Line one\nLine <b>two</b>");
  EXPECT_EQ(text->textFormat(), Qt::PlainText);  // never read as markup
  EXPECT_TRUE(text->alignment() & Qt::AlignHCenter);
  auto* hidden = FindControl<QLabel>(&d, kMessageHiddenControl);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(hidden->isVisible());
  EXPECT_TRUE(hidden->text().isEmpty());

  const DialogUnits du = UnitsOf(d.font());
  EXPECT_EQ(d.font().pixelSize(), 21);  // 16 pt at 96 dpi
  EXPECT_EQ(d.size(), du.Size(198, 90));
  EXPECT_EQ(text->x(), du.X(7));
  EXPECT_EQ(text->y(), du.Y(22));
  EXPECT_EQ(text->width(), du.X(184));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((d.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(MessageDialog, UnknownTemplateShowsAsOk) {
  MessageDialog d("MESSAGEMAYBE", "T", "x", nullptr);
  EXPECT_EQ(d.objectName(), "MESSAGEOK");
  EXPECT_EQ(d.findChildren<QPushButton*>().size(), 1);
}

TEST(ShowMessage, GoesThroughThePromptLayerWithCutBuffers) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Press(1, "MESSAGEOKCANCEL") << PromptAnswer::Press(0);
  SetMessageTitle("Reset to Default Setting");
  SetMessageText("Program settings will be reset to default and the program will close");
  EXPECT_EQ(ShowMessage(kMessageOkCancel, nullptr), 1);
  EXPECT_EQ(ShowMessage(kMessageYesNo, std::string(200, 'T'), std::string(400, 'x'), nullptr), 0);
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[0].templateName, "MESSAGEOKCANCEL");
  EXPECT_EQ(prompts.Calls()[0].title, "Reset to Default Setting");
  EXPECT_EQ(prompts.Calls()[0].text, "Program settings will be reset to default and the program will close");
  EXPECT_EQ(prompts.Calls()[1].title, std::string(127, 'T'));
  EXPECT_EQ(prompts.Calls()[1].text, std::string(255, 'x'));
  EXPECT_EQ(MessageText(), std::string(255, 'x'));
}

// A reader thread's message is shown on the window thread while the reader waits for the answer.
TEST(ShowMessage, FromAnotherThreadRunsOnTheWindowThread) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Press(1);
  std::atomic<bool> done{false};
  std::atomic<int> result{-1};
  std::thread reader([&] {
    result = ShowMessage(kMessageOk, "Port", "Port COM3 does not exists", nullptr);
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  reader.join();
  EXPECT_EQ(result.load(), 1);
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].text, "Port COM3 does not exists");
}

// The real prompts run the dialog modally; a timer answers it.
TEST(QtPromptsMessage, RunsTheRealDialog) {
  QTimer answer, guard;  // the guard never lets the suite hang
  answer.setSingleShot(true);
  guard.setSingleShot(true);
  QObject::connect(&answer, &QTimer::timeout, [] {
    auto* d = qobject_cast<MessageDialog*>(QApplication::activeModalWidget());
    if (d && d->button(IDCANCEL)) d->button(IDCANCEL)->click();
  });
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->done(99);
  });
  answer.start(0);
  guard.start(5000);
  QtPrompts real;
  EXPECT_EQ(real.ShowMessage("MESSAGEYESNO", "Confirm Exit", "Exit Logging?", nullptr), 0);
}

}  // namespace
}  // namespace obrix
