// The background commands of the logging screen: the load dialog's enabling rules, the remove dialog's Select All, a column file loaded through
// the dialogs and drawn on the map's base layer, and its removal.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QLabel>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/qt/setup_window.h"
#include "background/background_list.h"
#include "background/bg_dialog_texts.h"
#include "background/qt/bg_dialogs.h"
#include "gps/fix_state.h"
#include "logscreen/logging_input.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/qt/map_screen_fixture.h"
#include "map/map_frame.h"
#include "map/map_pages.h"
#include "map/map_palette.h"
#include "map/map_view_state.h"
#include "platform/control_ids.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/buttons.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class BgDialogsTest : public test::MapScreenFixture {
 protected:
  BgDialogsTest() { ResetBackgrounds(); }
  ~BgDialogsTest() override { DeleteAllBackgroundFiles(); }
  Colour BaseAt(double e, double n) {
    const PagePixel p = PixelToPage(WorldPixel(e, n));
    return MapColours().ColourAt(MapPages().At(p.col, p.row, MapLayer::Base, p.x, p.y));
  }
};

TEST_F(BgDialogsTest, FileTypeSetsTheEnabledLists) {
  Config().bgFileType = 0;
  BackgroundLoadDialog dialog(log_);
  const auto list = [&](const char* name, int id) {
    for (QWidget* w : dialog.findChildren<QWidget*>())
      if (ControlId(w) == id) return w;
    ADD_FAILURE() << name;
    return static_cast<QWidget*>(&dialog);
  };
  auto* type = static_cast<QComboBox*>(list("type", kBgFileTypeId));
  struct Case {
    int type;
    bool coordinates, labels, datum;
    const char* note;
  } cases[] = {{0, false, false, false, BgFileTypeNote(0)},
               {2, true, true, true, BgFileTypeNote(2)},
               {1, true, false, true, BgFileTypeNote(1)}};
  dialog.show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    type->setCurrentIndex(c.type);
    EXPECT_EQ(list("easting", kBgEastingColumnId)->isEnabled(), c.coordinates);
    EXPECT_EQ(list("delimiter", kBgDelimiterId)->isEnabled(), c.coordinates);
    EXPECT_EQ(list("labels", kBgLabelsColumnId)->isEnabled(), c.labels);
    EXPECT_EQ(list("datum", kBgDatumNoteId)->isVisible(), c.datum);
    EXPECT_EQ(static_cast<QLabel*>(list("note", kBgFileTypeNoteId))->text().toStdString(), c.note);
  }
}

TEST_F(BgDialogsTest, SelectAllTicksTheShownRows) {
  BackgroundListState& list = Backgrounds();
  list.BackgroundCount = 3;
  for (int i = 0; i < 3; ++i) list.BackgroundList[size_t(i)].displayName = "F" + std::to_string(i) + ".TXT";
  BackgroundRemoveDialog dialog(log_);
  dialog.show();
  QPushButton* all = nullptr;
  for (auto* b : dialog.findChildren<QPushButton*>())
    if (ControlId(b) == kBgSelectAllId) all = b;
  ASSERT_NE(all, nullptr);
  all->click();
  int shown = 0;
  for (auto* box : dialog.findChildren<QCheckBox*>()) {
    const int slot = ControlId(box) - kBgRemoveFirstId;
    EXPECT_EQ(box->isVisible(), slot < 3) << slot;
    EXPECT_EQ(box->isChecked(), slot < 3) << slot;
    if (slot == 1) EXPECT_EQ(box->text().toStdString(), BgSlotText(1) + "  F1.TXT");
    shown += box->isVisible() ? 1 : 0;
  }
  EXPECT_EQ(shown, 3);
  dialog.okButton()->click();
  EXPECT_EQ(dialog.result(), 1);
  EXPECT_EQ(dialog.flags(), (std::array<bool, MaxBackgroundFiles>{true, true, true}));
  list.BackgroundCount = 0;
}

TEST_F(BgDialogsTest, LoadDrawsOnTheBaseLayerAndRemovalClearsIt) {
  // Refused before the first fix.
  prompts_ << PromptAnswer::Press(IDOK, "MESSAGEOK");
  Command(kMenuEnterBackgroundFiles);
  ASSERT_EQ(prompts_.Calls().size(), 1u);
  EXPECT_EQ(prompts_.Calls()[0].text, "Valid GPS position must be \r\nreceived to use this option.");
  prompts_ << PromptAnswer::Press(IDOK, "MESSAGEOK");
  Command(kMenuRemoveBackgroundFiles);
  EXPECT_EQ(prompts_.Calls().back().text, "No background files to remove");

  FixAt(0, 0);  // the first fix starts the map at (kE0, kN0)
  const std::string folder = root_.dir().path() + "pegs/";
  MakeFolders(folder);
  test::WriteFile(folder + "PEGS.TXT", "500010.0,4000010.0\r\n500030.0,4000020.0\r\n");
  ASSERT_EQ(BaseAt(kE0 + 10, kN0 + 10), kWhite);

  prompts_.ClearCalls();
  prompts_ << PromptAnswer::RunDialog({ControlValue::Index(kBgFileTypeId, 1), ControlValue::Index(kBgPositionsStyleId, 4),
                                       ControlValue::Index(kBgCoordinatesTypeId, 1),
                                       ControlValue::Index(kBgEastingColumnId, 0),
                                       ControlValue::Index(kBgNorthingColumnId, 1),
                                       ControlValue::Index(kBgDelimiterId, 1)},
                                      DialogEnd::ClickOk(), "BACKGROUNDFILELOADRT")
           << PromptAnswer::ChooseFile(folder + "PEGS.TXT");
  Command(kMenuEnterBackgroundFiles);
  ASSERT_EQ(prompts_.Calls().size(), 2u);
  // The ASCII extensions first, then spreadsheet exports, then every file.
  const FileFilter& filter = prompts_.Calls()[1].filter;
  EXPECT_EQ(filter.description, kBgAsciiFilter);
  EXPECT_EQ(filter.patterns, kBgAsciiPatterns);
  EXPECT_EQ(filter.more, (std::vector<FileChoice>{{"CSV Files (*.CSV)", "*.CSV"}, {"All Files (*.*)", "*"}}));
  ASSERT_EQ(Backgrounds().BackgroundCount, 1);
  EXPECT_EQ(Backgrounds().BackgroundList[0].displayName, "PEGS.TXT");
  EXPECT_EQ(Backgrounds().BackgroundList[0].positionsStyle, 4);
  EXPECT_EQ(Config().bgPositionsStyle, 4);
  EXPECT_EQ(Config().backgroundFolder, folder);
  EXPECT_NE(BaseAt(kE0 + 10, kN0 + 10), kWhite);
  EXPECT_NE(BaseAt(kE0 + 30, kN0 + 20), kWhite);

  // Same columns are refused before a file is chosen.
  prompts_.ClearCalls();
  prompts_ << PromptAnswer::RunDialog({ControlValue::Index(kBgNorthingColumnId, 0)}, DialogEnd::ClickOk(),
                                      "BACKGROUNDFILELOADRT")
           << PromptAnswer::Press(IDOK, "MESSAGEOK");
  Command(kMenuEnterBackgroundFiles);
  ASSERT_EQ(prompts_.Calls().size(), 2u);
  EXPECT_EQ(prompts_.Calls()[1].title, "COORDINATES ERROR");
  EXPECT_EQ(prompts_.Calls()[1].text, "Same column selected for UTM coordinates. Please correct.");
  EXPECT_EQ(Backgrounds().BackgroundCount, 1);

  // Cancel leaves the list as it is; the next load starts in the file's folder.
  prompts_.ClearCalls();
  prompts_ << PromptAnswer::RunDialog({ControlValue::Index(kBgNorthingColumnId, 1)}, DialogEnd::ClickOk(),
                                      "BACKGROUNDFILELOADRT")
           << PromptAnswer::CancelFile();
  Command(kMenuEnterBackgroundFiles);
  ASSERT_EQ(prompts_.Calls().size(), 2u);
  EXPECT_EQ(prompts_.Calls()[1].initialFolder, folder);
  EXPECT_EQ(Backgrounds().BackgroundCount, 1);

  // OK with nothing ticked removes nothing; a ticked file goes with its drawing.
  const std::string temporary = BgTemporaryPath(Backgrounds().BackgroundList[0].temporaryName);
  ASSERT_TRUE(FileExists(temporary));
  prompts_ << PromptAnswer::RunDialog({}, DialogEnd::ClickOk(), "BACKGROUNDFILEREMOVE");
  Command(kMenuRemoveBackgroundFiles);
  EXPECT_EQ(Backgrounds().BackgroundCount, 1);
  prompts_ << PromptAnswer::RunDialog({ControlValue::Checked(kBgRemoveFirstId, true)}, DialogEnd::ClickOk(),
                                      "BACKGROUNDFILEREMOVE");
  Command(kMenuRemoveBackgroundFiles);
  EXPECT_EQ(Backgrounds().BackgroundCount, 0);
  EXPECT_FALSE(FileExists(temporary));
  EXPECT_EQ(BaseAt(kE0 + 10, kN0 + 10), kWhite);
}

}  // namespace
}  // namespace obrix
