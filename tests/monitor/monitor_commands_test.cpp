#include "monitor/monitor_commands.h"

#include <gtest/gtest.h>

namespace obrix {
namespace {

TEST(MonitorCommandsTest, FocusSkipsTheHiddenButtonAndWraps) {
  struct Case {
    int focus, step;
    bool running;
    int expected;
  };
  const Case cases[] = {
      // Running: "&Go" is hidden.
      {kMonitorPause, +1, true, kMonitorSend},
      {kMonitorSend, +1, true, kMonitorExit},
      {kMonitorExit, +1, true, kMonitorPause},
      {kMonitorPause, -1, true, kMonitorExit},
      // Paused: "&Pause" is hidden.
      {kMonitorGo, +1, false, kMonitorSend},
      {kMonitorExit, +1, false, kMonitorGo},
      {kMonitorGo, -1, false, kMonitorExit},
      {kMonitorSend, -1, false, kMonitorGo},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MonitorMoveFocus(c.focus, c.step, c.running), c.expected)
        << c.focus << " " << c.step << " " << c.running;
}

TEST(MonitorCommandsTest, Keys) {
  struct Case {
    int key;
    int focusBefore;
    int command;
    int focusAfter;
  };
  const Case cases[] = {
      {VK_TAB, kMonitorPause, -1, kMonitorSend},   {VK_RIGHT, kMonitorSend, -1, kMonitorExit},
      {VK_DOWN, kMonitorExit, -1, kMonitorPause},  {VK_LEFT, kMonitorPause, -1, kMonitorExit},
      {VK_UP, kMonitorExit, -1, kMonitorSend},     {VK_RETURN, kMonitorSend, kMonitorSend, kMonitorSend},
      {'G', kMonitorExit, kMonitorGo, kMonitorExit}, {'P', kMonitorExit, kMonitorPause, kMonitorExit},
      {'S', kMonitorExit, kMonitorSend, kMonitorExit}, {'X', kMonitorPause, kMonitorExit, kMonitorPause},
      {'Q', kMonitorPause, -1, kMonitorPause},     {0, kMonitorPause, -1, kMonitorPause},
  };
  for (const Case& c : cases) {
    int focus = c.focusBefore;
    EXPECT_EQ(DecodeMonitorKey(c.key, &focus, true), c.command) << c.key;
    EXPECT_EQ(focus, c.focusAfter) << c.key;
  }
}

TEST(MonitorCommandsTest, CommandBytesNeverExceedTheSendBuffer) {
  std::string bytes = "unchanged";
  EXPECT_TRUE(MonitorCommandBytes(kMonitorInitialCommand, &bytes));
  EXPECT_EQ(bytes, "$PASHS,NME,SAT,A,ON\r\n");
  EXPECT_EQ(bytes.size(), 21u);
  // A receiver configuration command of 49 characters (the sentences a receiver sends), and the longest NMEA
  // line.
  const std::string config = "$PMTK314,0,1,0,1,1,5,0,0,0,0,0,0,0,0,0,0,0,0,0*2C";
  ASSERT_EQ(config.size(), 49u);
  EXPECT_TRUE(MonitorCommandBytes(config, &bytes));
  EXPECT_EQ(bytes, config + "\r\n");
  EXPECT_TRUE(MonitorCommandBytes(std::string(82, 'x'), &bytes));
  EXPECT_EQ(bytes.size(), 84u);
  EXPECT_TRUE(MonitorCommandBytes("", &bytes));
  EXPECT_EQ(bytes, "\r\n");
  bytes = "unchanged";
  EXPECT_FALSE(MonitorCommandBytes(std::string(83, 'x'), &bytes));
  EXPECT_FALSE(MonitorCommandBytes(std::string(99, 'x'), &bytes));
  EXPECT_EQ(bytes, "unchanged");
  EXPECT_NE(MonitorCommandTooLongText(83).find("at most 82"), std::string::npos);
}

TEST(MonitorCommandsTest, LayoutPutsGoWherePauseIs) {
  const MonitorLayout l = ComputeMonitorLayout(800, 600);
  EXPECT_EQ(l.buttons[kMonitorGo], (Rect{126, 520, 306, 585}));
  EXPECT_EQ(l.buttons[kMonitorPause], l.buttons[kMonitorGo]);
  EXPECT_EQ(l.buttons[kMonitorSend], (Rect{310, 520, 490, 585}));
  EXPECT_EQ(l.buttons[kMonitorExit], (Rect{494, 520, 674, 585}));
  EXPECT_EQ(l.list, (Rect{10, 10, 780, 470}));
  EXPECT_EQ(l.edit, (Rect{190, 478, 780, 506}));
  EXPECT_EQ(l.labelY, 480);
}

}  // namespace
}  // namespace obrix
