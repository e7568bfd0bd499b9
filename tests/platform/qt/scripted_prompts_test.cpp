#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/buttons.h"
#include "platform/qt/message_box.h"
#include "platform/qt/scripted_prompts.h"

namespace obrix {
namespace {

struct Values {
  std::string name = "LINE";
  int unit = 0;
  bool audio = false;
  bool portrait = false;
  int count = 3;
};

// A small settings dialog in the style of the program's: filled when shown, checked and stored by its OK.
class SampleDialog : public QDialog {
 public:
  explicit SampleDialog(Values& v) : v_(v) {
    setObjectName("SAMPLESETUP");
    auto* layout = new QVBoxLayout(this);
    name_ = new QLineEdit(this);
    name_->setMaxLength(5);
    unit_ = new QComboBox(this);
    unit_->addItems({"meters", "feet", "US Survey Feet"});
    audio_ = new QCheckBox("Audio", this);
    landscape_ = new QRadioButton("Landscape", this);
    portrait_ = new QRadioButton("Portrait", this);
    count_ = new QSpinBox(this);
    count_->setRange(1, 9);
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    int id = 101;
    for (QWidget* w : std::initializer_list<QWidget*>{name_, unit_, audio_, landscape_, portrait_, count_}) {
      SetControlId(w, id++);
      layout->addWidget(w);
    }
    SetControlId(ok, 1);
    SetControlId(cancel, 2);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &SampleDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, [this] { done(0); });
    connect(unit_, &QComboBox::activated, this, [this](int i) { unitPicks_.push_back(i); });
  }
  std::vector<int> unitPicks_;

 protected:
  void showEvent(QShowEvent* e) override {
    QDialog::showEvent(e);
    setWindowTitle("Sample Setup");
    name_->setText(QString::fromStdString(v_.name));
    unit_->setCurrentIndex(v_.unit);
    audio_->setChecked(v_.audio);
    (v_.portrait ? portrait_ : landscape_)->setChecked(true);
    count_->setValue(v_.count);
  }

 private:
  void OnOk() {
    if (name_->text().isEmpty()) {
      ShowMessage(kMessageOk, "Sample", "Enter a name", this);
      return;  // stays open
    }
    v_ = {name_->text().toStdString(), unit_->currentIndex(), audio_->isChecked(), portrait_->isChecked(),
          count_->value()};
    done(1);
  }
  Values& v_;
  QLineEdit* name_;
  QComboBox* unit_;
  QCheckBox* audio_;
  QRadioButton *landscape_, *portrait_;
  QSpinBox* count_;
};

// Collects script faults instead of failing the test.
class FaultCatcher {
 public:
  FaultCatcher() {
    previous_ = ScriptedPrompts::SetFailureHandler([this](const std::string& m) { faults.push_back(m); });
  }
  ~FaultCatcher() { ScriptedPrompts::SetFailureHandler(previous_); }
  std::vector<std::string> faults;

 private:
  std::function<void(const std::string&)> previous_;
};

TEST(ScriptedDialog, ValuesAreEnteredAndTheDialogsOwnOkRuns) {
  Values v;
  SampleDialog d(v);
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(101, "NORTH7"), ControlValue::Index(102, 2),
                                      ControlValue::Checked(103, true), ControlValue::Checked(105, true),
                                      ControlValue::Index(106, 7)},
                                     DialogEnd::ClickOk(), "SAMPLESETUP");
  EXPECT_EQ(UserPrompts().RunDialog(d), 1);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(v.name, "NORTH");  // typed into an edit of at most 5 characters
  EXPECT_EQ(v.unit, 2);
  EXPECT_TRUE(v.audio);
  EXPECT_TRUE(v.portrait);
  EXPECT_EQ(v.count, 7);
  EXPECT_EQ(d.unitPicks_, std::vector<int>{2});  // selected as by the user
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].kind, PromptCall::Dialog);
  EXPECT_EQ(prompts.Calls()[0].templateName, "SAMPLESETUP");
  EXPECT_EQ(prompts.Calls()[0].title, "Sample Setup");
  EXPECT_EQ(prompts.Calls()[0].result, 1);
}

TEST(ScriptedDialog, CancelAndKeyAndDoneLeaveTheValues) {
  struct Case { DialogEnd end; int result; };
  const Case cases[] = {{DialogEnd::ClickCancel(), 0}, {DialogEnd::Press(Qt::Key_Escape), 0},
                        {DialogEnd::CallDone(7), 7}};
  for (const Case& c : cases) {
    Values v;
    SampleDialog d(v);
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::RunDialog({ControlValue::Text(101, "X")}, c.end);
    EXPECT_EQ(UserPrompts().RunDialog(d), c.result) << c.end.how;
    EXPECT_EQ(v.name, "LINE") << c.end.how;
  }
}

// An OK that refuses (a message, the dialog stays open) is answered by the next steps of the script.
TEST(ScriptedDialog, NestedMessageAndSecondStep) {
  Values v;
  SampleDialog d(v);
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(101, "")}).Then({ControlValue::Text(101, "L2")})
          << PromptAnswer::Press(1, "MESSAGEOK");
  EXPECT_EQ(UserPrompts().RunDialog(d), 1);
  EXPECT_EQ(v.name, "L2");
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[0].kind, PromptCall::Dialog);
  EXPECT_EQ(prompts.Calls()[1].kind, PromptCall::Message);
  EXPECT_EQ(prompts.Calls()[1].text, "Enter a name");
}

// Script faults are reported, answered like a cancel, and never wait.
TEST(ScriptedPrompts, FaultsAreReportedNeverAwaited) {
  struct Case {
    const char* what;
    std::vector<PromptAnswer> script;
    std::function<int(ScriptedPrompts&)> call;
    int result;
    const char* fault;
  };
  auto runSample = [](ScriptedPrompts& p) {
    Values v;
    SampleDialog d(v);
    const int r = p.RunDialog(d);
    return d.isVisible() ? -1 : r;
  };
  const Case cases[] = {
      {"empty script", {}, [](ScriptedPrompts& p) { return p.ShowMessage("MESSAGEYESNO", "Confirm Exit",
                                                                          "Exit Logging?", nullptr); },
       0, "unanswered message \"MESSAGEYESNO\" title \"Confirm Exit\" text \"Exit Logging?\""},
      {"wrong kind", {PromptAnswer::ChooseFile("a.T38")},
       [](ScriptedPrompts& p) { return p.ShowMessage("MESSAGEOK", "T", "x", nullptr); }, 0, "file answer"},
      {"wrong template", {PromptAnswer::Press(1, "MESSAGEYESNO")},
       [](ScriptedPrompts& p) { return p.ShowMessage("MESSAGEOK", "T", "x", nullptr); }, 0,
       "answer is for \"MESSAGEYESNO\""},
      {"missing control", {PromptAnswer::RunDialog({ControlValue::Text(199, "x")}, DialogEnd::ClickCancel())},
       runSample, 0, "control 199 does not exist"},
      {"wrong value kind", {PromptAnswer::RunDialog({ControlValue::Text(103, "x")}, DialogEnd::ClickCancel())},
       runSample, 0, "control 103 takes no text"},
      {"index out of range", {PromptAnswer::RunDialog({ControlValue::Index(102, 3)}, DialogEnd::ClickCancel())},
       runSample, 0, "control 102 has no item 3"},
      {"closed early", {PromptAnswer::RunDialog({ControlValue::Text(101, "A")}).Then({})}, runSample, 1,
       "closed after step 1 of 2"},
      {"left open", {PromptAnswer::RunDialog({ControlValue::Text(101, "")}), PromptAnswer::Press(1)}, runSample, 0,
       "still open"},
  };
  for (const Case& c : cases) {
    FaultCatcher catcher;
    ScriptedPrompts prompts;
    for (const PromptAnswer& a : c.script) prompts.Push(a);
    SetPrompts(&prompts);
    EXPECT_EQ(c.call(prompts), c.result) << c.what;
    SetPrompts(nullptr);
    ASSERT_FALSE(catcher.faults.empty()) << c.what;
    EXPECT_NE(catcher.faults[0].find(c.fault), std::string::npos) << c.what << ": " << catcher.faults[0];
  }
}

TEST(ScriptedPrompts, UnusedAnswersAreAFault) {
  FaultCatcher catcher;
  {
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::Press(1);
  }
  ASSERT_EQ(catcher.faults.size(), 1u);
  EXPECT_NE(catcher.faults[0].find("never asked for"), std::string::npos);
}

TEST(ScriptedPrompts, FileDialogsRecordTheirRequestAndApplyTheSuffix) {
  ScopedScriptedPrompts prompts;
  const FileFilter gxy{"OBXGXY Files (*.GXY)", "*.GXY"};
  prompts << PromptAnswer::AcceptSuggested() << PromptAnswer::ChooseFile("other") << PromptAnswer::ChooseFile("/x/y.dat")
          << PromptAnswer::CancelFile() << PromptAnswer::ChooseFile("points.txt");
  auto& p = UserPrompts();
  EXPECT_EQ(p.SaveFileName(nullptr, "Create Data File", "/data/", "260301_000", {}, "T38"), "/data/260301_000.T38");
  EXPECT_EQ(p.SaveFileName(nullptr, "Create Data File", "/data", "260301_000", gxy, "GXY"), "/data/other.GXY");
  EXPECT_EQ(p.SaveFileName(nullptr, "Create Data File", "/data/", "n", gxy, "GXY"), "/x/y.dat");
  EXPECT_EQ(p.SaveFileName(nullptr, "Create Data File", "/data/", "n", gxy, "GXY"), std::nullopt);
  const FileFilter ascii{"ASCII Files (*.ASC,*.TXT,*.DAT,*.XYZ)", "*.TXT;*.ASC;*.DAT;*.XYZ"};
  EXPECT_EQ(p.OpenFileName(nullptr, "", "/home/me/", ascii), "/home/me/points.txt");
  const auto& calls = prompts.Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].kind, PromptCall::SaveFile);
  EXPECT_EQ(calls[0].title, "Create Data File");
  EXPECT_EQ(calls[0].initialFolder, "/data/");
  EXPECT_EQ(calls[0].suggestedName, "260301_000");
  EXPECT_EQ(calls[0].defaultSuffix, "T38");
  EXPECT_TRUE(calls[0].filter.empty());
  EXPECT_EQ(calls[1].filter, gxy);
  EXPECT_EQ(calls[4].kind, PromptCall::OpenFile);
  EXPECT_EQ(calls[4].filter, ascii);
}

TEST(FilePaths, SuffixJoinAndQtFilter) {
  struct SuffixCase { const char* path; const char* suffix; const char* out; };
  const SuffixCase suffixes[] = {
      {"/d/260301_000", "T38", "/d/260301_000.T38"}, {"/d/a.b/name", "T38", "/d/a.b/name.T38"},
      {"/d/name.gxy", "GXY", "/d/name.gxy"},         {"/d/name", "", "/d/name"},
      {"/d/", "T38", "/d/"},                         {"name", "T38", "name.T38"},
  };
  for (const auto& c : suffixes) EXPECT_EQ(ApplyDefaultSuffix(c.path, c.suffix), c.out) << c.path;
  EXPECT_EQ(JoinFolder("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinFolder("/a", "b"), "/a/b");
  EXPECT_EQ(JoinFolder("", "b"), "b");
  EXPECT_EQ(JoinFolder("/a/", "/c/b"), "/c/b");
  EXPECT_EQ(QtFilterText({"ASCII Files (*.ASC,*.TXT,*.DAT,*.XYZ)", "*.TXT;*.ASC;*.DAT;*.XYZ"}),
            "ASCII Files (*.TXT *.ASC *.DAT *.XYZ)");
  EXPECT_EQ(QtFilterText({"OBXGXY Files (*.GXY)", "*.GXY"}), "OBXGXY Files (*.GXY)");
  EXPECT_EQ(QtFilterText({"Data files", "*.T38; *.GXY"}), "Data files (*.T38 *.GXY)");
}

TEST(ScriptedPrompts, ColourChooser) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Pick(0x123456) << PromptAnswer::CancelColour();
  EXPECT_EQ(UserPrompts().ChooseColour(nullptr, Colour{0xFF}), Colour{0x123456});
  EXPECT_EQ(UserPrompts().ChooseColour(nullptr, std::nullopt), std::nullopt);
  EXPECT_EQ(prompts.Calls()[0].initialColour, Colour{0xFF});
  EXPECT_EQ(prompts.Calls()[1].initialColour, std::nullopt);
  EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));  // red in the low byte
  EXPECT_EQ(FromQColor(QColor(1, 2, 3)), Colour{0x030201});
}

TEST(ScriptedPrompts, PopupMenuAnswersWithAnItemIdentifier) {
  QMenu menu;
  menu.setObjectName("LOGMENU");
  auto add = [&](const char* text, int id) {
    QAction* a = menu.addAction(text);
    a->setData(id);
    return a;
  };
  add("New Lin&e", 501);
  QAction* station = add("&New Station", 502);
  menu.addSeparator();
  add("&Comment", 503)->setEnabled(false);
  int triggered = 0;
  QObject::connect(station, &QAction::triggered, [&] { ++triggered; });

  {
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::Choose(502) << PromptAnswer::Choose(0);
    EXPECT_EQ(UserPrompts().PopupMenu(menu, QPoint(190, 120)), 502);
    EXPECT_EQ(UserPrompts().PopupMenu(menu, QPoint(190, 120)), 0);
    EXPECT_EQ(triggered, 1);
    const PromptCall& c = prompts.Calls()[0];
    EXPECT_EQ(c.templateName, "LOGMENU");
    EXPECT_EQ(c.position, QPoint(190, 120));
    ASSERT_EQ(c.menuItems.size(), 4u);
    EXPECT_EQ(c.menuItems[1].text, "&New Station");
    EXPECT_TRUE(c.menuItems[2].separator);
    EXPECT_FALSE(c.menuItems[3].enabled);
  }
  for (int id : {999, 503}) {  // no such item; a disabled item
    FaultCatcher catcher;
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::Choose(id);
    EXPECT_EQ(UserPrompts().PopupMenu(menu, QPoint()), 0) << id;
    EXPECT_EQ(catcher.faults.size(), 1u) << id;
  }
}

}  // namespace
}  // namespace obrix
