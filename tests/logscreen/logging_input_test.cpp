// The logging screen's decoder: every trigger of the command table with the state it needs, the pause-key rule
// and the keys whose meaning MenuMode changes.
#include "logscreen/logging_input.h"

#include <gtest/gtest.h>

#include "state/session.h"

namespace obrix {
namespace {

using C = LoggingCommand;

KeyInput Cmd(int id) { return {KeyInput::Command, id}; }
KeyInput Key(int code) { return {KeyInput::KeyDown, code}; }
KeyInput Chr(int code) { return {KeyInput::Char, code}; }

LoggingInputContext Ctx(int state, bool review = false, bool menu = false, bool map = true) {
  LoggingInputContext x;
  x.loggingState = state;
  x.reviewMode = review;
  x.menuMode = menu;
  x.mapVisible = map;
  return x;
}
const LoggingInputContext kNoFile = Ctx(NoFile);
const LoggingInputContext kStandBy = Ctx(StandBy);
const LoggingInputContext kLogging = Ctx(Logging);
const LoggingInputContext kReview = Ctx(StandBy, true);
const LoggingInputContext kMenu = Ctx(StandBy, false, true);
const LoggingInputContext kMapHidden = Ctx(StandBy, false, false, false);

struct Row {
  const char* name;
  KeyInput input;
  LoggingInputContext context;
  C expected;
};

void Check(const Row* rows, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    EXPECT_EQ(DecodeLoggingInput(rows[i].input, rows[i].context), rows[i].expected) << rows[i].name;
  }
}

TEST(DecodeLoggingInput, MainButtonsAndTheirKeys) {
  const Row rows[] = {
      {"File button", Cmd(460), kNoFile, C::OpenFile},
      {"F in NoFile", Key('F'), kNoFile, C::OpenFile},
      {"F in StandBy does nothing", Key('F'), kStandBy, C::None},
      {"Go button", Cmd(460), kStandBy, C::StartLogging},
      {"G", Key('G'), kStandBy, C::StartLogging},
      {"F2", Key(VK_F2), kStandBy, C::StartLogging},
      {"G in NoFile", Key('G'), kNoFile, C::None},
      {"PAUSE button", Cmd(460), kLogging, C::Pause},
      {"QLine button", Cmd(461), kStandBy, C::QuickLine},
      {"Q", Key('Q'), kStandBy, C::QuickLine},
      {"Q in NoFile", Key('Q'), kNoFile, C::None},
      {"Map Size button in NoFile", Cmd(461), kNoFile, C::MapSize},
      {"Exit button", Cmd(462), kStandBy, C::Exit},
      {"X", Key('X'), kNoFile, C::Exit},
      {"Exit button while logging", Cmd(462), kLogging, C::None},
      {"Menu button", Cmd(463), kNoFile, C::Menu},
      {"M", Key('M'), kStandBy, C::Menu},
      {"F3", Key(VK_F3), kNoFile, C::Menu},
      {"Menu button while logging", Cmd(463), kLogging, C::None},
      {"Tab", Key(VK_TAB), kStandBy, C::NextDefaultButton},
      {"Tab while logging (any-key pause)", Key(VK_TAB), kLogging, C::Pause},
      {"Enter on the first button", Key(VK_RETURN), kNoFile, C::OpenFile},
  };
  Check(rows, std::size(rows));
  EXPECT_EQ(DecodeLoggingInput(Cmd(460), kNoFile, 1), C::None);  // a notification other than a click

  LoggingInputContext focused = kStandBy;
  const C byFocus[] = {C::StartLogging, C::QuickLine, C::Exit, C::Menu};
  for (int i = 0; i < 4; ++i) {
    focused.focusedButton = i;
    EXPECT_EQ(DecodeLoggingInput(Key(VK_RETURN), focused), byFocus[i]) << i;
  }

  // Without the instrument button 461 is Quick Line (which reports that it needs the instrument) in both sets.
  for (int state : {NoFile, StandBy}) {
    LoggingInputContext x = Ctx(state);
    x.instrumentEnabled = false;
    EXPECT_EQ(DecodeLoggingInput(Cmd(461), x), C::QuickLine) << state;
  }
}

TEST(DecodeLoggingInput, MenuItemsAndTheirKeys) {
  const Row rows[] = {
      {"New Line item", Cmd(501), kStandBy, C::NewLine},
      {"New Line item in NoFile", Cmd(501), kNoFile, C::None},
      {"E", Key('E'), kStandBy, C::NewLine},
      {"New Station item", Cmd(502), kStandBy, C::NewStation},
      {"N", Key('N'), kStandBy, C::NewStation},
      {"N in NoFile", Key('N'), kNoFile, C::None},
      {"Comment item", Cmd(503), kStandBy, C::Comment},
      {"C", Key('C'), kStandBy, C::Comment},
      {"U", Key('U'), kNoFile, C::Nulling},
      {"U in review", Key('U'), kReview, C::None},
      {"Scale Readings item", Cmd(505), kNoFile, C::ScaleReadings},
      {"A", Key('A'), kStandBy, C::ScaleReadings},
      {"A in review", Key('A'), kReview, C::None},
      {"Scale Speed Bar item", Cmd(506), kNoFile, C::ScaleSpeedBar},
      {"B", Key('B'), kStandBy, C::ScaleSpeedBar},
      {"Profile Display Options item", Cmd(507), kNoFile, C::ProfileDisplayOptions},
      {"O", Key('O'), kStandBy, C::ProfileDisplayOptions},
      {"Hide Menu item", Cmd(508), kReview, C::HideMenu},
      {"Toggle View item", Cmd(511), kReview, C::ToggleView},
      {"Map Size item", Cmd(509), kStandBy, C::MapSize},
      {"S", Key('S'), kNoFile, C::MapSize},
      {"S in review", Key('S'), kReview, C::None},
      {"Map Display Options item", Cmd(510), kNoFile, C::MapDisplayOptions},
      {"Y", Key('Y'), kStandBy, C::MapDisplayOptions},
      {"GPS Warning Mask item", Cmd(512), kNoFile, C::GpsWarningMask},
      {"W", Key('W'), kStandBy, C::GpsWarningMask},
      {"Audio Options item", Cmd(514), kNoFile, C::AudioOptions},
      {"Coordinates Display Units item", Cmd(515), kNoFile, C::CoordinatesDisplayUnits},
      {"T", Key('T'), kStandBy, C::CoordinatesDisplayUnits},
      {"Enter Background Files item", Cmd(518), kNoFile, C::EnterBackgroundFiles},
      {"V", Key('V'), kStandBy, C::EnterBackgroundFiles},
      {"V in review", Key('V'), kReview, C::None},
      {"Remove Background Files item", Cmd(519), kReview, C::RemoveBackgroundFiles},
      {"unused item", Cmd(504), kNoFile, C::None},
  };
  Check(rows, std::size(rows));

  LoggingInputContext setup = kNoFile;
  setup.activeScreen = 0;
  EXPECT_EQ(DecodeLoggingInput(Cmd(505), setup), C::None);  // menu items and keys only on the logging screen
  EXPECT_EQ(DecodeLoggingInput(Key('A'), setup), C::None);
}

TEST(DecodeLoggingInput, NavigationButtonsAndKeys) {
  const Row rows[] = {
      {"Lf button", Cmd(470), kStandBy, C::PanLeft},
      {"Rt button", Cmd(471), kStandBy, C::PanRight},
      {"Up button", Cmd(472), kStandBy, C::PanUp},
      {"Dn button", Cmd(473), kStandBy, C::PanDown},
      {"Left", Key(VK_LEFT), kStandBy, C::PanLeft},
      {"L", Key('L'), kStandBy, C::PanLeft},
      {"Right", Key(VK_RIGHT), kStandBy, C::PanRight},
      {"R", Key('R'), kStandBy, C::PanRight},
      {"Up", Key(VK_UP), kStandBy, C::PanUp},
      {"P", Key('P'), kStandBy, C::PanUp},
      {"Down", Key(VK_DOWN), kStandBy, C::PanDown},
      {"D", Key('D'), kStandBy, C::PanDown},
      {"pan in review", Key(VK_LEFT), kReview, C::PanLeft},
      {"pan without a file", Key(VK_LEFT), kNoFile, C::None},
      {"pan with the map hidden", Key(VK_LEFT), kMapHidden, C::None},
      {"Zm+ button", Cmd(474), kReview, C::ZoomIn},
      {"+", Chr('+'), kReview, C::ZoomIn},
      {"=", Chr('='), kReview, C::ZoomIn},
      {"Zm- button", Cmd(475), kReview, C::ZoomOut},
      {"-", Chr('-'), kReview, C::ZoomOut},
      {"_", Chr('_'), kReview, C::ZoomOut},
      {"+ outside review", Chr('+'), kStandBy, C::None},
      {"Fit All button", Cmd(476), kReview, C::FitAll},
      {"F in review", Key('F'), kReview, C::FitAll},
      {"Enter Review button", Cmd(477), kStandBy, C::EnterReview},
      {"I", Key('I'), kStandBy, C::EnterReview},
      {"I in review", Key('I'), kReview, C::None},
      {"I with the map hidden", Key('I'), kMapHidden, C::None},
      {"Exit Review button", Cmd(478), kReview, C::ExitReview},
      {"E in review", Key('E'), kReview, C::ExitReview},
      {"a character with a cursor key's code is not a cursor key", Chr('&'), kStandBy, C::None},
      {"an unmapped key", Key(0), kStandBy, C::None},
  };
  Check(rows, std::size(rows));
}

TEST(DecodeLoggingInput, MenuModeChangesSomeKeys) {
  const Row rows[] = {
      {"D opens Audio Options", Key('D'), kMenu, C::AudioOptions},
      {"D in review", Key('D'), Ctx(StandBy, true, true), C::None},
      {"R removes the calibration", Key('R'), kMenu, C::RemoveCalibration},
      {"L calibrates", Key('L'), kMenu, C::Calibration},
      {"Left does not pan", Key(VK_LEFT), kMenu, C::None},
      {"Right does not pan", Key(VK_RIGHT), kMenu, C::None},
      {"Down does not pan", Key(VK_DOWN), kMenu, C::None},
      {"Up still pans", Key(VK_UP), kMenu, C::PanUp},
      {"P still pans", Key('P'), kMenu, C::PanUp},
  };
  Check(rows, std::size(rows));
}

TEST(DecodeLoggingInput, OnlyThePauseKeyCountsWhileLogging) {
  struct Case {
    int pauseKey;
    KeyInput input;
    C expected;
  } cases[] = {
      {0, Key('G'), C::Pause},         {0, Key(0), C::Pause},          {0, Chr('+'), C::Pause},
      {0, Key(VK_RETURN), C::Pause},   {1, Key(VK_RETURN), C::Pause},  {1, Key(VK_SPACE), C::None},
      {1, Key('X'), C::None},          {2, Key(VK_SPACE), C::Pause},   {2, Key(VK_RETURN), C::None},
      {3, Key('P'), C::Pause},         {3, Key(VK_UP), C::None},       {3, Chr('p'), C::None},
  };
  for (const Case& c : cases) {
    LoggingInputContext x = kLogging;
    x.pauseKey = c.pauseKey;
    EXPECT_EQ(DecodeLoggingInput(c.input, x), c.expected) << c.pauseKey << " " << c.input.code;
  }
  // Buttons other than PAUSE and every menu item are hidden while logging; a late click does nothing.
  EXPECT_EQ(DecodeLoggingInput(Cmd(461), kLogging), C::None);
  EXPECT_EQ(DecodeLoggingInput(Cmd(470), kLogging), C::None);
}

TEST(DecodeLoggingInput, ContextFromTheSession) {
  ResetSession();
  Sess().ActiveScreen = 1;
  Sess().LoggingState = StandBy;
  Sess().MenuMode = true;
  Sess().FocusedButton = 2;
  const LoggingInputContext x = CurrentLoggingInputContext();
  EXPECT_EQ(x.loggingState, StandBy);
  EXPECT_TRUE(x.menuMode);
  EXPECT_EQ(DecodeLoggingInput(Key(VK_RETURN), x), C::Exit);
  ResetSession();
}

}  // namespace
}  // namespace obrix
