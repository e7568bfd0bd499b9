#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "comma_locale.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/settings_image.h"
#include "test_support.h"

namespace obrix {
namespace {

// Splits a file image at CR LF; `bareLf` counts LFs without their CR.
std::vector<std::string> Lines(const std::string& image, int* bareLf = nullptr) {
  std::vector<std::string> lines;
  int bare = 0;
  size_t start = 0;
  for (size_t i = 0; i < image.size(); ++i) {
    if (image[i] != '\n') continue;
    if (i == 0 || image[i - 1] != '\r') {
      ++bare;
      lines.push_back(image.substr(start, i - start));
    } else {
      lines.push_back(image.substr(start, i - 1 - start));
    }
    start = i + 1;
  }
  if (start < image.size()) lines.push_back(image.substr(start));
  if (bareLf) *bareLf = bare;
  return lines;
}

std::string Join(const std::vector<std::string>& lines, const char* ending = "\r\n") {
  std::string out;
  for (const std::string& l : lines) out += l + ending;
  return out;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() {
    ApplyStartupValues();
    OnScaleLimitsLoaded = nullptr;
  }
  ~SettingsFileTest() override { OnScaleLimitsLoaded = nullptr; }

  std::string FileBytes() const { return test::ReadFile(SettingsPath()); }
  void PutFile(const std::string& bytes) {
    MakeFolders(SettingsFolder());
    test::WriteFile(SettingsPath(), bytes);
  }
  // The default image with some lines (1-based) replaced.
  static std::string DefaultWith(const std::map<int, std::string>& changes) {
    std::vector<std::string> lines = Lines(SettingsImage());
    for (const auto& [line, text] : changes) lines.at(static_cast<size_t>(line - 1)) = text;
    return Join(lines);
  }

  test::DataRootFixture root_;
};

TEST_F(SettingsFileTest, FirstStartWritesTheDefaultImage) {
  ASSERT_FALSE(FileExists(SettingsPath()));
  SaveLoadSettings(Load);
  const std::string bytes = FileBytes();
  int bareLf = -1;
  const std::vector<std::string> lines = Lines(bytes, &bareLf);
  ASSERT_EQ(lines.size(), 83u);
  EXPECT_EQ(bareLf, 0);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

  const std::string home = HomeFolder();
  ASSERT_EQ(home.back(), '/');
  const std::vector<std::string> expected = {
      "Ver2.15", home, home,
      "1", "0", "0", "0", "3", "1", "1", "1", "0", "1", "0",                       // 4-14
      "3", "2", "3", "2", "2", "2", "2", "2",                                      // thicknesses 15-22
      "16711680", "65280", "255", "16711935", "16711680", "65280", "255", "16711935",  // colours 23-30
      "0", "0.000000", "500.000000", "-25.000000", "25.000000",                   // 31-35
      "1", "1", "5", "1", "1", "0", "0",                                           // GPS port 36-42
      "5.000000", "0", "-0.300000", "0.000000",                                    // 43-46
      "0", "0", "0", "1", "1.000000", "0.200000", "2.000000", "0.200000",          // 47-54
      "1", "1.000000", "0", "2", "0.000000",                                       // line and station 55-59
      "3", "4", "0", "16711680", "2.000000", "40", "0", "-20.000000", "1", "0",    // map 60-69
      "1", "1", "5", "4.000000", "5.000000",                                       // mask 70-74
      "0", "1", "1", "0", "1", "2", "1", "0", "0",                                 // background 75-83
  };
  ASSERT_EQ(expected.size(), 83u);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST_F(SettingsFileTest, EveryValueRoundTrips) {
  Settings& s = Config();
  s.dataFolder = "/srv/survey/data/";
  s.backgroundFolder = "/srv/survey/bg/";
  s.instrumentEnabled = 1;
  s.instrumentPort = 98;
  s.gpsPort = -4;
  s.mapColourView = 1;
  s.traceThickness = {1, 2, 3, 4, 4, 3, 2, 1};
  s.traceColour = {0x000001, 0x123456, 0xFFFFFF, 0x80000000, 0xFFFFFFFF, 0, 7, 0x00ABCDEF};
  s.condScaleMin = -12.5;
  s.condScaleMax = 1234.567891;
  s.nmeaFormat = 8;
  s.lateralOffset = 0.125;
  s.alongOffset = -1.75;
  s.loggingMode = 1;
  s.stationIncWheel = 0.25;
  s.readingInterval = 0.05;
  s.lineName = "North 12";
  s.startStation = -100.5;
  s.cursorColour = 0x00FF00FF;
  s.mapSize = 2000000000;
  s.linesAngleDeg = 89.999999;
  s.gpsMaskDilution = 2.5;
  s.reservedValue = 1e10;
  s.rtsUnits = 1;
  SaveLoadSettings(Save);
  const std::string saved = FileBytes();
  const std::string image = SettingsImage();
  EXPECT_EQ(saved, image);

  ResetSettings();
  SaveLoadSettings(Load);
  EXPECT_EQ(SettingsImage(), image);
  EXPECT_EQ(Config().traceColour[3], 0x80000000u);
  EXPECT_EQ(Config().traceColour[4], 0xFFFFFFFFu);
  EXPECT_EQ(Lines(saved)[26], "-1");  // line 27: a colour with the high bit set is a signed 32-bit value
  EXPECT_EQ(Config().gpsPort, -4);
  EXPECT_EQ(Config().loggingMode, 1);
  EXPECT_DOUBLE_EQ(Config().condScaleMax, 1234.567891);
  EXPECT_DOUBLE_EQ(Config().reservedValue, 1e10);
  EXPECT_EQ(Config().lineName, "North 12");
  EXPECT_EQ(Config().dataFolder, "/srv/survey/data/");
  EXPECT_EQ(FileBytes(), saved);  // loading leaves the file alone
}

TEST_F(SettingsFileTest, LoadDerivesTheValuesInUse) {
  struct Case {
    const char* name;
    std::map<int, std::string> lines;
    int mapPaneWidth;
    void (*check)();
  };
  const Case cases[] = {
      {"instrument disabled forces positions only", {{4, "0"}, {13, "1"}}, 0,
       [] { EXPECT_EQ(Config().mapColourView, 0); }},
      {"instrument enabled keeps the colour map", {{4, "1"}, {13, "1"}}, 0,
       [] { EXPECT_EQ(Config().mapColourView, 1); }},
      {"auto mode takes stationIncAuto", {{47, "0"}, {51, "0.5"}}, 0,
       [] { EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, 0.5); }},
      {"manual mode and its companions", {{47, "2"}, {53, "3.5"}}, 0,
       [] {
         EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, 3.5);
         EXPECT_EQ(Drv().SurveyLoggingMode, 2);
         EXPECT_EQ(Drv().LoggingModeInUse, 2);
       }},
      {"reading interval", {{54, "0.5"}}, 0,
       [] {
         EXPECT_EQ(Drv().readingIntervalMs, 500);
         EXPECT_EQ(Drv().ReadingsPerInterval, 9);  // 500 ms / 55.08 ms
       }},
      {"huge reading interval saturates", {{54, "1e300"}}, 0,
       [] { EXPECT_EQ(Drv().readingIntervalMs, 2147483647); }},
      {"along offset working copy", {{46, "1.25"}}, 0,
       [] { EXPECT_DOUBLE_EQ(Drv().AlongOffsetInUse, 1.25); }},
      {"start station in use", {{59, "10.5"}}, 0, [] { EXPECT_DOUBLE_EQ(Drv().StartStationInUse, 10.5); }},
      {"cursor half size", {{60, "5"}}, 0, [] { EXPECT_EQ(Drv().CursorHalfSize, 9); }},
      {"cursor band from the pane width", {{68, "2"}}, 400, [] { EXPECT_EQ(Drv().CursorBandPx, 80); }},
      {"cursor band of an absurd index", {{68, "2147483647"}}, 400,
       [] { EXPECT_EQ(Drv().CursorBandPx, 2147483647); }},
      {"swath edges", {{50, "3"}, {45, "0.5"}}, 0,
       [] {
         EXPECT_DOUBLE_EQ(Drv().SwathLeft, 1.5);
         EXPECT_DOUBLE_EQ(Drv().SwathRight, 0.5);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSettings();
    ApplyStartupValues();
    PutFile(DefaultWith(c.lines));
    ResetSettings();
    Drv().MapPaneWidth = c.mapPaneWidth;
    SaveLoadSettings(Load);
    c.check();
  }
}

TEST_F(SettingsFileTest, ScaleHookRunsOnceBetweenLines35And36) {
  PutFile(DefaultWith({{35, "40.000000"}, {36, "0"}}));
  ResetSettings();
  int calls = 0;
  OnScaleLimitsLoaded = [&calls] {
    ++calls;
    EXPECT_DOUBLE_EQ(Config().inphScaleMax, 40.0);
    EXPECT_EQ(Config().gpsInput, 1);  // line 36 not read yet
  };
  SaveLoadSettings(Load);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Config().gpsInput, 0);
}

TEST_F(SettingsFileTest, OtherVersionIsReplacedByCurrentValues) {
  const std::string defaults = SettingsImage();
  std::string rest = DefaultWith({{8, "9"}});
  rest = rest.substr(rest.find('\n') + 1);  // lines 2..83 holding instrumentPort 9
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"older version", "Ver2.14\r\n" + rest},
      {"case differs", "ver2.15\r\n" + rest},
      {"trailing blank", "Ver2.15 \r\n" + rest},
      {"long first line", "Ver2.15" + std::string(300, ' ') + "\r\n" + rest},
      {"another model", "Ver2.29\r\n" + rest},
      {"empty file", ""},
      {"binary", std::string("\0\x01\xFF\r\n", 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutFile(c.bytes);
    SaveLoadSettings(Load);
    EXPECT_EQ(Config().instrumentPort, 3);
    EXPECT_EQ(FileBytes(), defaults);
  }
}

TEST_F(SettingsFileTest, LineEndingsAndLengthsAreReadSafely) {
  // LF-only endings: the last character of a line is kept, only a CR is dropped.
  PutFile(Join(Lines(DefaultWith({{8, "12"}, {54, "0.5"}})), "\n"));
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().instrumentPort, 12);
  EXPECT_DOUBLE_EQ(Config().readingInterval, 0.5);

  // An over-long line is read up to its LF and does not shift the lines after it; a cut folder is not taken.
  ResetSettings();
  ApplyStartupValues();
  const std::string longFolder = "/" + std::string(kSettingsMaxLine, 'd') + "/";
  PutFile(DefaultWith({{2, longFolder}, {4, std::string(5000, '7')}, {5, "6"}}));
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().dataFolder, HomeFolder());
  EXPECT_EQ(Config().instrumentEnabled, 2147483647);
  EXPECT_EQ(Config().sensorSize, 6);

  // A line of exactly the limit is kept whole.
  const std::string folderAtLimit = "/" + std::string(kSettingsMaxLine - 2, 'e') + "/";
  PutFile(DefaultWith({{3, folderAtLimit}}));
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().backgroundFolder, folderAtLimit);
}

// Folders of many bytes (140 Cyrillic characters are 280 bytes) come back from the file as they were saved.
TEST_F(SettingsFileTest, LongFoldersSurviveSaveAndLoad) {
  std::string cyrillic;
  for (int i = 0; i < 140; ++i) cyrillic += "\xD0\x96";  // Ж
  const std::string data = "/home/surveyor/" + cyrillic + "/";
  const std::string background = "/" + std::string(1000, 'b') + "/" + cyrillic + "/";
  Config().dataFolder = data;
  Config().backgroundFolder = background;
  SaveLoadSettings(Save);
  ResetSettings();
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().dataFolder, data);
  EXPECT_EQ(Config().backgroundFolder, background);
}

TEST_F(SettingsFileTest, ShortFileKeepsCurrentValuesForMissingLines) {
  std::vector<std::string> lines = Lines(DefaultWith({{8, "7"}}));
  lines.resize(10);
  std::string bytes = Join(lines);
  bytes += "0";  // line 11 without its CR LF
  PutFile(bytes);
  ResetSettings();
  Config().gpsPort = 11;
  Config().stationIncAuto = 0.75;
  Config().swathWidthIndex = 7;
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().instrumentPort, 7);
  EXPECT_EQ(Config().gpsAudioWarning, 0);
  EXPECT_EQ(Config().gpsPort, 11);
  EXPECT_EQ(Config().lineName, "1");
  // The derivations run from the values kept.
  EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, 0.75);
  EXPECT_DOUBLE_EQ(Drv().SwathLeft, 5.0);
  EXPECT_EQ(FileBytes(), bytes);
}

TEST_F(SettingsFileTest, LineNameIsLatin1InTheFile) {
  struct Case {
    std::string name;       // in memory (UTF-8)
    std::string fileLine;   // line 55
    std::string loaded;
  };
  const Case cases[] = {
      {"Z\xC3\xBCrich", "Z\xFCrich", "Z\xC3\xBCrich"},
      {"\xCE\xA9mega", "?mega", "?mega"},
      {"1", "1", "1"},
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"},
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9",
       "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"},
      {"Line\nTwo", "Line", "Line"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Config().lineName = c.name;
    SaveLoadSettings(Save);
    const std::vector<std::string> lines = Lines(FileBytes());
    ASSERT_EQ(lines.size(), 83u);
    EXPECT_EQ(lines[54], c.fileLine);
    Config().lineName = "x";
    SaveLoadSettings(Load);
    EXPECT_EQ(Config().lineName, c.loaded);
  }
  // A longer line 55 in the file is cut to 15 characters.
  PutFile(DefaultWith({{55, "L\xE9" "ngere line name 2"}}));
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().lineName, "L\xC3\xA9ngere line na");
}

TEST_F(SettingsFileTest, FoldersAreKeptByteForByte) {
  const std::string folder = "/home/u/\xC3\x9C" "berpr\xC3\xBC" "fung/\xE6\xB5\x8B\xE8\xAF\x95/";
  Config().dataFolder = folder;
  Config().backgroundFolder = "/tmp/\xCE\xA9/";
  SaveLoadSettings(Save);
  const std::vector<std::string> lines = Lines(FileBytes());
  EXPECT_EQ(lines[1], folder);
  EXPECT_EQ(lines[2], "/tmp/\xCE\xA9/");
  ResetSettings();
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().dataFolder, folder);
  EXPECT_EQ(Config().backgroundFolder, "/tmp/\xCE\xA9/");

  // A folder name holding an LF cannot shift the later lines.
  Config().dataFolder = "/odd\nname/";
  SaveLoadSettings(Save);
  EXPECT_EQ(Lines(FileBytes()).size(), 83u);
  EXPECT_EQ(Lines(FileBytes())[1], "/odd");
}

TEST_F(SettingsFileTest, DeleteRemovesTheFileOrWritesOne) {
  Config().instrumentPort = 8;
  SaveLoadSettings(Save);
  ASSERT_TRUE(FileExists(SettingsPath()));
  SaveLoadSettings(Delete);
  EXPECT_FALSE(FileExists(SettingsPath()));

  // The next start finds no file and writes the defaults.
  ResetSettings();
  ApplyStartupValues();
  const std::string defaults = SettingsImage();
  SaveLoadSettings(Load);
  EXPECT_EQ(FileBytes(), defaults);

  // Delete with no file writes one from the current values.
  RemoveFile(SettingsPath());
  SaveLoadSettings(Delete);
  EXPECT_EQ(FileBytes(), defaults);
}

TEST_F(SettingsFileTest, FileHeldByAnotherOpenerIsLeftAlone) {
  PutFile(DefaultWith({{8, "9"}}));
  const std::string before = FileBytes();
  int fd = ::open(SettingsPath().c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  Config().instrumentPort = 4;
  for (SettingsMode mode : {Load, Save, Delete}) {
    SaveLoadSettings(mode);
    EXPECT_EQ(FileBytes(), before) << "mode " << mode;
    EXPECT_EQ(Config().instrumentPort, 4) << "mode " << mode;
  }
  ::close(fd);
}

TEST_F(SettingsFileTest, SaveThatCannotCompleteLeavesThePreviousFileWhole) {
  PutFile(DefaultWith({{8, "9"}}));
  const std::string before = FileBytes();
  // The image goes to a file beside the settings file first; make that one fail (a full device).
  ASSERT_EQ(::symlink("/dev/full", (SettingsPath() + ".new").c_str()), 0);
  Config().instrumentPort = 4;
  SaveLoadSettings(Save);
  EXPECT_EQ(FileBytes(), before);
  ::unlink((SettingsPath() + ".new").c_str());
  SaveLoadSettings(Save);
  EXPECT_NE(FileBytes(), before);
  EXPECT_FALSE(FileExists(SettingsPath() + ".new"));
}

TEST_F(SettingsFileTest, NumbersUseTheCLocaleWhateverTheProcessLocale) {
  test::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no numeric locale with a decimal comma";
  Config().condScaleMax = 123.5;
  SaveLoadSettings(Save);
  std::vector<std::string> lines = Lines(FileBytes());
  EXPECT_EQ(lines[53], "0.200000");
  EXPECT_EQ(lines[32], "123.500000");
  PutFile(DefaultWith({{54, "0.5"}}));
  SaveLoadSettings(Load);
  EXPECT_DOUBLE_EQ(Config().readingInterval, 0.5);
}

}  // namespace
}  // namespace obrix
