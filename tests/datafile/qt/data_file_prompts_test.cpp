// The save dialog and the messages of data-file creation and of the append check, through scripted prompts.
#include <gtest/gtest.h>

#include "datafile/data_file.h"
#include "datafile/qt/data_file_prompts.h"
#include "datafile/records.h"
#include "platform/files.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class DataFilePromptsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataFile();
    ResetSession();
    Sess().LoggingState = NoFile;
    Config().dataFolder = root_.dir().path();
    SetLocalClock([] {
      LocalTime t;
      t.year = 2026, t.month = 3, t.day = 1;
      return t;
    });
  }
  void TearDown() override {
    ResetDataFile();
    SetLocalClock(nullptr);
  }
  test::DataRootFixture root_;
};

TEST_F(DataFilePromptsTest, SaveDialogOffersTheProposalAndTheSuggestedNameBecomesTheFile) {
  Config().instrumentEnabled = 0;
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::AcceptSuggested();
  EXPECT_EQ(CreateDataFile(nullptr), CreateResult::New);
  ASSERT_EQ(prompts.Calls().size(), 1u);
  const PromptCall& call = prompts.Calls()[0];
  EXPECT_EQ(call.kind, PromptCall::SaveFile);
  EXPECT_EQ(call.title, "Create Data File");
  EXPECT_EQ(call.initialFolder, root_.dir().path());
  EXPECT_EQ(call.suggestedName, "260301_000");
  EXPECT_EQ(call.filter, (FileFilter{"OBXGXY Files (*.GXY)", "*.GXY"}));
  EXPECT_EQ(call.defaultSuffix, "GXY");
  EXPECT_EQ(DataFile().DataFilePath, root_.dir().file("260301_000.GXY"));
  EXPECT_TRUE(FileExists(root_.dir().file("260301_000.GXY")));
  EXPECT_EQ(Sess().LoggingState, StandBy);
}

TEST_F(DataFilePromptsTest, CancelAndUnopenableFile) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::CancelFile();
  EXPECT_EQ(CreateDataFile(nullptr), CreateResult::Cancelled);
  EXPECT_FALSE(DataFileIsOpen());

  std::string bad = root_.dir().file("missing/x.T38");
  prompts << PromptAnswer::ChooseFile(bad) << PromptAnswer::Press(1, "MESSAGEOK");
  EXPECT_EQ(CreateDataFile(nullptr), CreateResult::Cancelled);
  EXPECT_FALSE(DataFileIsOpen());
  EXPECT_EQ(Sess().LoggingState, NoFile);
  ASSERT_EQ(prompts.Calls().size(), 3u);
  EXPECT_EQ(prompts.Calls()[2].title, "FILE ERROR");
  EXPECT_NE(prompts.Calls()[2].text.find(bad), std::string::npos);
}

TEST_F(DataFilePromptsTest, AppendRefusalShowsTheWarningAndClosesTheFile) {
  std::string path = root_.dir().file("old.T38");
  Settings file;
  file.dipoleMode = 1;
  test::WriteFile(path, IdentifierRecord(file, 0) + FileNameRecord("old", 0.2) + SettingsRecord(file) +
                            OriginEastingRecord(0, 17));
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::ChooseFile(path) << PromptAnswer::Press(1, "MESSAGEOK");
  ASSERT_EQ(CreateDataFile(nullptr), CreateResult::Existing);
  EXPECT_EQ(CheckAppendFile(nullptr), 1);
  EXPECT_FALSE(DataFileIsOpen());
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[1].templateName, "MESSAGEOK");
  EXPECT_EQ(prompts.Calls()[1].title, "WARNING");
  EXPECT_EQ(prompts.Calls()[1].text.rfind(" Component in the file: Horizontal", 0), 0u);
}

}  // namespace
}  // namespace obrix
