// The append check: every refusal with its text, the zone step and the treatment of short records.
#include <gtest/gtest.h>

#include <cmath>

#include "datafile/append_check.h"
#include "datafile/data_file.h"
#include "datafile/records.h"
#include "gps/fix_state.h"
#include "gps/projection.h"
#include "platform/files.h"
#include "settings/settings.h"
#include "test_support.h"

namespace obrix {
namespace {

// The first four records of a file written with `s`, zone `zone`.
std::string Head(const Settings& s, int zone) {
  return IdentifierRecord(s, 0) + FileNameRecord("260301_000", s.readingInterval) + SettingsRecord(s) +
         OriginEastingRecord(617000.0, zone);
}

AppendInputs InputsLike(const Settings& s) {
  AppendInputs in;
  in.instrumentEnabled = s.instrumentEnabled;
  in.dipoleMode = s.dipoleMode;
  in.gpsInput = s.gpsInput;
  in.mapUnits = s.mapUnits;
  in.lateralOffset = s.lateralOffset;
  in.alongOffset = s.alongOffset;
  in.nmeaFormat = s.nmeaFormat;
  in.mapStarted = 1;
  in.utmZoneInUse = 17;
  return in;
}

// Record `i` (0-based) of `head` with byte `offset` replaced.
std::string Patch(std::string head, int record, int offset, char c) {
  head[static_cast<size_t>(record * RecordLength + offset)] = c;
  return head;
}

const std::string kAdjust = "Please adjust the configuration. ";

TEST(AppendCheck, RefusalsInTheirOrderWithTheirTexts) {
  Settings file;  // defaults: instrument on, GPS on, GGA, metres, vertical, no offsets
  const std::string head = Head(file, 17);
  AppendInputs same = InputsLike(file);

  struct Case {
    const char* what;
    std::string head;
    AppendInputs in;
    std::string message;  // empty: passes
  };
  auto with = [&](auto change) {
    AppendInputs in = same;
    change(in);
    return in;
  };
  Settings offsets = file;
  offsets.lateralOffset = 0.3;
  offsets.alongOffset = -1.0;
  Settings gpsOff = file;
  gpsOff.gpsInput = 0;
  Settings feet = file;
  feet.mapUnits = 1;
  Settings pos = file;
  pos.nmeaFormat = 2;

  std::vector<Case> cases = {
      {"same survey", head, same, ""},
      {"version 1", Patch(head, 0, 9, '1'), with([](AppendInputs& i) { i.instrumentEnabled = 0; }),
       "Append file option is not avaiable\r\nfor files created with Version 1.xx\r\nThe file will be closed."},
      {"instrument off in the file", Patch(head, 0, 21, '0'), same,
       " EM38-MK2 State in the file: DISABLED\r\n EM38-MK2 State  Selected: ENABLED\r\n " + kAdjust},
      {"instrument off in the settings", head, with([](AppendInputs& i) { i.instrumentEnabled = 0; }),
       " EM31-MK2 State in the file: ENABLED\r\n EM31-MK2 State  Selected: DISABLED\r\n " + kAdjust},
      {"record 2", Patch(head, 1, 0, 'G'), same,
       "Invalid File Format.\r\nFile Record # 2 invalid.\r\nThe file will be closed."},
      {"record 3", Patch(head, 2, 0, 'H'), same,
       "Invalid File Format.\r\nFile Record # 3 invalid.\r\nThe file will be closed."},
      {"record 4", Patch(head, 3, 0, 'L'), same,
       "Invalid File Format.\r\nFile Record # 4 invalid.\r\nThe file will be closed."},
      {"dipole", Patch(head, 0, 16, '1'), same,
       " Component in the file: Horizontal\r\n Selected   Component: Vertical\r\n " + kAdjust},
      {"model", Patch(head, 0, 19, '1'), same,
       " EM38-MK2 Type in the file: EM38-MK2-1\r\n Selected  EM38-MK2  Type: EM38-MK2\r\n " + kAdjust},
      {"GPS on in the file, off selected", head, with([](AppendInputs& i) { i.gpsInput = 0; }),
       " GPS state in the file: ENABLED\r\n Selected GPS state: DISABLED\r\n " + kAdjust},
      {"GPS off in the file, on selected", Head(gpsOff, 17), same,
       " GPS state in the file: DISABLED\r\n Selected GPS state: ENABLED\r\n " + kAdjust},
      {"GPS off on both sides skips the map checks", Head(gpsOff, 40),
       with([](AppendInputs& i) { i.gpsInput = 0, i.mapStarted = 0, i.mapUnits = 2, i.nmeaFormat = 5; }), ""},
      {"no position yet", head, with([](AppendInputs& i) { i.mapStarted = 0; }),
       "Valid GPS position must be\r\nreceived to append file.\r\nCheck settings and GPS performance."},
      {"units", Head(feet, 17), same, " Map units in the file:  Feet\r\n  Select the same units in the program"},
      {"offsets", Head(offsets, 17), same,
       " GPS antenna offsets in the file:\r\n  X=0.30 Y=-1.00\r\nGPS antenna offsets specified:\r\n  X=0.00 "
       "Y=0.00\r\nPlease adjust offsets or create the new data file."},
      {"offsets ignored without instrument", Patch(Head(offsets, 17), 0, 21, '0'),
       with([](AppendInputs& i) { i.instrumentEnabled = 0; }), ""},
      {"NMEA kind", Head(pos, 17), same,
       "GPS NMEA Data in the file:POS\r\nSelected in the program:GGA\r\nPlease selectPOS\r\nto append file."},
      {"NMEA kind A at 17 means 8", Patch(head, 2, 17, 'A'), same,
       "GPS NMEA Data in the file:Pseudo GLL\r\nSelected in the program:GGA\r\nPlease selectPseudo GLL\r\nto "
       "append file."},
      {"zone too far", Head(file, 15), same,
       "Distance between gps current position and position\r\nin the file is greater than 6 degrees "
       "longitude.\r\nTherefore the program cannot append this file.\r\nThe file will be closed."},
  };
  for (const Case& c : cases) {
    AppendVerdict v = EvaluateAppend(c.head, c.in);
    EXPECT_EQ(v.result, c.message.empty() ? 0 : 1) << c.what;
    EXPECT_EQ(v.message, c.message) << c.what;
  }
}

TEST(AppendCheck, OffsetsAreComparedInWholeMillimetres) {
  Settings file;
  file.lateralOffset = 0.02;
  file.alongOffset = 0.5;
  struct {
    double lateral, along;
    int result;
  } cases[] = {
      {0.0111, 0.5, 0},   // stored as 0.011: 9 mm apart
      {0.0101, 0.5, 1},   // stored as 0.010: 10 mm apart, although 0.0099 m as numbers
      {0.01, 0.5, 1},     // exactly 0.01 apart
      {0.02, 0.51, 1},    // along 0.51 - 0.5
      {0.02, 0.4901, 1},  // along stored as 0.490: 10 mm apart
      {0.02, 0.491, 0},   // 9 mm
  };
  for (const auto& c : cases) {
    AppendInputs in = InputsLike(file);
    in.lateralOffset = c.lateral;
    in.alongOffset = c.along;
    EXPECT_EQ(EvaluateAppend(Head(file, 17), in).result, c.result) << c.lateral << " " << c.along;
  }

  // Every pair exactly 0.01 m apart is refused and every pair 0.009 m apart passes, whatever binary noise
  // the sums carry.
  int wrong = 0;
  for (int k = -200; k <= 200; ++k) {
    Settings f;
    f.lateralOffset = k / 1000.0;
    f.alongOffset = -k / 500.0;
    const std::string head = Head(f, 17);
    for (double step : {0.01, -0.01, 0.009, -0.009}) {
      AppendInputs in = InputsLike(f);
      in.lateralOffset = f.lateralOffset + step;
      if (EvaluateAppend(head, in).result != (std::fabs(step) == 0.01 ? 1 : 0)) ++wrong;
      in = InputsLike(f);
      in.alongOffset = f.alongOffset + step;
      if (EvaluateAppend(head, in).result != (std::fabs(step) == 0.01 ? 1 : 0)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(AppendCheck, ZoneStep) {
  struct {
    int fileZone, inUse, format, step;
  } cases[] = {
      {17, 17, 1, 0}, {0, 30, 1, 0},  {-9, 30, 1, 0}, {18, 17, 1, 1}, {16, 17, 0, 1}, {60, 1, 1, 1},
      {1, 60, 1, 1},  {1, 2, 1, 1},   {60, 59, 1, 1}, {58, 60, 1, -1}, {1, 59, 1, -1}, {15, 17, 1, -1},
      {61, 60, 1, -1}, {99, 1, 1, -1}, {15, 17, 3, 0}, {40, 1, 4, 0},  {2, 30, 7, 0},  {15, 17, 8, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ZoneStep(c.fileZone, c.inUse, c.format), c.step) << c.fileZone << " " << c.inUse << " " << c.format;

  Settings file;
  AppendVerdict v = EvaluateAppend(Head(file, 18), InputsLike(file));
  EXPECT_EQ(v.result, 0);
  EXPECT_EQ(v.zoneStep, 1);
  EXPECT_EQ(v.fileZone, 18);
}

TEST(AppendCheck, ShortRecordsRefuseWithTheirRecordMessage) {
  Settings file;
  std::string head = Head(file, 17);
  for (int records = 0; records < 4; ++records) {
    for (int extra : {0, 26}) {
      std::string cut = head.substr(0, static_cast<size_t>(records * RecordLength + extra));
      AppendVerdict v = EvaluateAppend(cut, InputsLike(file));
      EXPECT_EQ(v.result, 1);
      std::string expected = "File Record # " + std::to_string(records + 1) + " invalid.";
      EXPECT_NE(v.message.find(expected), std::string::npos) << cut.size() << ": " << v.message;
    }
  }
}

TEST(AppendCheck, RefusalClosesTheOpenFile) {
  test::DataRootFixture root;
  ResetDataFile();
  std::string path = root.dir().file("old.T38");
  Settings file;
  file.dipoleMode = 1;
  test::WriteFile(path, Head(file, 17));
  AttachDataFile(OpenExclusive(path, OpenMode::AppendCreate));
  std::string message;
  EXPECT_EQ(RunAppendCheck(message), 1);
  EXPECT_EQ(message.rfind(" Component in the file: Horizontal", 0), 0u) << message;
  EXPECT_FALSE(DataFileIsOpen());

  Settings noGps;
  noGps.gpsInput = 0;
  test::WriteFile(path, Head(noGps, -9));
  AttachDataFile(OpenExclusive(path, OpenMode::AppendCreate));
  Config().gpsInput = 0;
  EXPECT_EQ(RunAppendCheck(message), 0) << message;
  EXPECT_TRUE(DataFileIsOpen());
  ResetDataFile();
}

TEST(AppendCheck, NeighbourZoneTakesTheFileZoneAndReprojectsTheOrigin) {
  test::DataRootFixture root;
  ResetDataFile();
  ResetUtmZones();
  ResetFix();
  std::string path = root.dir().file("old.T38");
  struct {
    int fileZone, format;
    bool switched;
  } cases[] = {{60, 1, true}, {40, 7, false}, {1, 1, false}};
  for (const auto& c : cases) {
    Settings file;
    file.mapUnits = 1;
    file.nmeaFormat = c.format;
    Config().mapUnits = 1;
    Config().nmeaFormat = c.format;
    UtmZoneState& z = UtmZones();
    z.UtmZone = z.UtmZoneInUse = 1;
    z.ZoneFixLatitude = 45.0;
    z.ZoneFixLongitude = -179.5;
    Fix().MapStarted = 1;
    Fix().MapOrigin = {1.0, 2.0};
    test::WriteFile(path, Head(file, c.fileZone));
    AttachDataFile(OpenExclusive(path, OpenMode::AppendCreate));
    std::string message;
    ASSERT_EQ(RunAppendCheck(message), 0) << message;
    EXPECT_EQ(z.UtmZoneInUse, 1);
    if (c.switched) {
      EXPECT_EQ(z.UtmZone, 60);
      int zone = 60;
      UtmCoordinates m = GeoToUtm(45.0, -179.5, zone, 1);
      EXPECT_DOUBLE_EQ(Fix().MapOrigin.easting, m.easting / 0.3048);
      EXPECT_DOUBLE_EQ(Fix().MapOrigin.northing, m.northing / 0.3048);
      EXPECT_GT(m.easting, 700000.0);  // 3.5 degrees east of zone 60's meridian, not west of zone 1's
    } else {
      EXPECT_EQ(z.UtmZone, 1) << c.fileZone;
      EXPECT_EQ(Fix().MapOrigin.easting, 1.0) << c.fileZone;
    }
    ResetDataFile();
  }
  ResetUtmZones();
  ResetFix();
}

}  // namespace
}  // namespace obrix
