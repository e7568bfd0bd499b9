// "&File" on files that must not be written as they stand: a file of another program (asked first, No leaves
// it untouched) and a survey file whose last record was cut short (continued after its last whole record).
#include <gtest/gtest.h>

#include <string>

#include "datafile/data_file.h"
#include "datafile/records.h"
#include "datafile/writers.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/qt/map_screen_fixture.h"
#include "platform/control_ids.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class OpenFileGuardTest : public test::MapScreenFixture {
 protected:
  void SetUp() override {
    Config().dataFolder = root_.dir().path();
    FixAt(0, 0);
  }
};

TEST_F(OpenFileGuardTest, ForeignFileIsAskedAboutAndNoLeavesItAsItWas) {
  const std::string path = root_.dir().file("points.txt");
  const std::string original = "1,500010.0,4000020.0,12.5\n2,500011.5,4000021.0,13.0\n";
  test::WriteFile(path, original);

  // No (the default, and what Esc gives): nothing written, nothing open, still NoFile.
  prompts_ << PromptAnswer::ChooseFile(path) << PromptAnswer::Press(IDOK, "MESSAGENOYES");
  Key('F');
  ASSERT_EQ(prompts_.PendingAnswers(), 0u);
  ASSERT_EQ(prompts_.Calls().size(), 2u);
  const PromptCall& question = prompts_.Calls()[1];
  EXPECT_EQ(question.templateName, "MESSAGENOYES");
  EXPECT_EQ(question.text, "File not from Obrix38 program\r\nAdd the survey at the end of this file?");
  EXPECT_EQ(test::ReadFile(path), original);
  EXPECT_FALSE(DataFileIsOpen());
  EXPECT_EQ(Sess().LoggingState.load(), NoFile);

  // Yes (result 0 in this template): the header at its end, the information, StandBy.
  prompts_.ClearCalls();
  prompts_ << PromptAnswer::ChooseFile(path) << PromptAnswer::Press(0, "MESSAGENOYES")
           << PromptAnswer::Press(IDOK, "MESSAGEOK");
  Key('F');
  ASSERT_EQ(prompts_.PendingAnswers(), 0u);
  EXPECT_EQ(prompts_.Calls().back().text, "File not from Obrix38 program");
  EXPECT_TRUE(DataFileIsOpen());
  EXPECT_EQ(Sess().LoggingState.load(), StandBy);
  const std::string after = test::ReadFile(path);
  EXPECT_EQ(after.substr(0, original.size()), original);
  EXPECT_EQ(after.substr(original.size(), 5), "OBX38");
}

TEST_F(OpenFileGuardTest, TornLastRecordIsDroppedAndTheSessionAppendedOnTheBoundary) {
  prompts_ << PromptAnswer::AcceptSuggested();
  Key('F');
  ASSERT_EQ(Sess().LoggingState.load(), StandBy);
  const std::string path = DataFile().DataFilePath;
  WriteSwathRecord('{', 0, 0, 0, 0, 0);
  WriteSwathRecord('{', 1, kE0 - 1, kN0, kE0 - 1, kN0 + 1);
  WriteReadingRecord("T<-0123", 7000);
  CloseDataFile();
  const std::string whole = test::ReadFile(path);
  ASSERT_EQ(whole.size() % RecordLength, 0u);
  const std::string torn = "@$GPGGA,120000.00,45";  // 20 bytes of a sentence line cut short
  test::WriteFile(path, whole + torn);

  Sess().LoggingState = NoFile;
  log_->ShowButtonSet(ButtonSet::A);
  prompts_.ClearCalls();
  prompts_ << PromptAnswer::ChooseFile(path) << PromptAnswer::Press(IDOK, "MESSAGEOK")
           << PromptAnswer::Press(IDOK, "MESSAGEOK");
  Key('F');
  ASSERT_EQ(prompts_.PendingAnswers(), 0u);
  ASSERT_GE(prompts_.Calls().size(), 2u);
  EXPECT_EQ(prompts_.Calls()[1].title, "WARNING");
  EXPECT_EQ(prompts_.Calls()[1].text,
            "The last record of the file is incomplete.\r\n20 bytes are dropped\r\nbefore the survey is added.");
  EXPECT_EQ(Sess().LoggingState.load(), StandBy);
  ASSERT_TRUE(DataFileIsOpen());
  WriteReadingRecord("T<-0456", 8000);
  CloseDataFile();
  const std::string after = test::ReadFile(path);
  EXPECT_EQ(after.size() % RecordLength, 0u);
  EXPECT_EQ(after.compare(0, whole.size(), whole), 0);
  EXPECT_EQ(after.substr(whole.size(), 5), "oBX38") << "the append header follows the last whole record";
  EXPECT_EQ(after.substr(after.size() - RecordLength), ReadingRecord("T<-0456", 8000));
}

}  // namespace
}  // namespace obrix
