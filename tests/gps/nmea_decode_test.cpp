#include "gps/nmea_decode.h"

#include <gtest/gtest.h>

#include <string>

#include "gps/nmea_fields.h"
#include "settings/settings.h"

namespace obrix {
namespace {

using namespace std::string_literals;

constexpr const char* kNA = "     N/A     ";
const std::string kGga = "$GPGGA,133524,4336.5940,N,07936.6403,W,8,11,2.0,142.5,M,-35.4,M,,*74";

struct Expect {
  int valid;
  int satellites;
  int quality;
  double dop;
  bool geographic;
  double first;   // latitude or grid northing
  double second;  // longitude or grid easting
  double time;
  const char* satText;  // nullptr: not written
  const char* qualityText;
  const char* dopText;
  const char* northText;
  const char* eastText;
};

struct Case {
  const char* name;
  int format;
  int slam;
  std::string sentence;
  FixDecodeOptions options;
  Expect e;
};

const CurrentFixValues kBefore{0, 7, 4, 1.5};

void Check(const Case& c) {
  SCOPED_TRACE(c.name);
  FixDecode d = DecodeFixSentence(c.sentence, kBefore, MakeNmeaTable(c.format, c.slam), c.options);
  EXPECT_EQ(d.fix.FixValid, c.e.valid);
  EXPECT_EQ(d.fix.FixSatellites, c.e.satellites);
  EXPECT_EQ(d.fix.FixQuality, c.e.quality);
  EXPECT_DOUBLE_EQ(d.fix.FixDop, c.e.dop);
  if (c.e.valid) {
    EXPECT_EQ(d.geographic, c.e.geographic);
    EXPECT_NEAR(d.geographic ? d.latitude : d.gridNorthing, c.e.first, 1e-9);
    EXPECT_NEAR(d.geographic ? d.longitude : d.gridEasting, c.e.second, 1e-9);
  }
  EXPECT_DOUBLE_EQ(d.fixTime, c.e.time);
  auto field = [](const ReadoutField& f, const char* want, const char* what) {
    EXPECT_EQ(f.written, want != nullptr) << what;
    if (want && f.written) {
      EXPECT_EQ(f.text.view(), want) << what;
    }
  };
  field(d.readouts.satellites, c.e.satText, "satellites");
  field(d.readouts.quality, c.e.qualityText, "quality");
  field(d.readouts.dop, c.e.dopText, "dop");
  field(d.readouts.north, c.e.northText, "north");
  field(d.readouts.east, c.e.eastText, "east");
}

constexpr double kGgaTime = 13 * 3600 + 35 * 60 + 24;
const double kLat = 43 + 36.5940 / 60;
const double kLon = -(79 + 36.6403 / 60);
const FixDecodeOptions kGeodetic{0, 0, 0};
const FixDecodeOptions kUtmDisplay{0, 0, 1};

TEST(DecodeFixSentence, GeographicFormats) {
  const Case cases[] = {
      {"GGA/GSA", 0, 0, kGga, kGeodetic,
       {1, 11, 8, 1.5, true, kLat, kLon, kGgaTime, "11", "RTK8", nullptr, "N43\u00B036'35.6400\"",
        "W079\u00B036'38.4180\""}},
      {"GGA takes the HDOP", 1, 0, kGga, kGeodetic,
       {1, 11, 8, 2.0, true, kLat, kLon, kGgaTime, "11", "RTK8", "2.0", "N43\u00B036'35.6400\"",
        "W079\u00B036'38.4180\""}},
      {"UTM display leaves the coordinates to the projection", 1, 0, kGga, kUtmDisplay,
       {1, 11, 8, 2.0, true, kLat, kLon, kGgaTime, "11", "RTK8", "2.0", nullptr, nullptr}},
      {"quality 0", 0, 0, "$GPGGA,133524,4336.5940,N,07936.6403,W,0,11,2.0,142.5,M,-35.4,M,,*00", kGeodetic,
       {0, 11, 0, 1.5, true, 0, 0, kGgaTime, "11", "NO FIX", nullptr, kNA, kNA}},
      {"one satellite", 1, 0, "$GPGGA,133524,4336.5940,N,07936.6403,W,1,1,2.0,142.5,M,-35.4,M,,*00", kGeodetic,
       {0, 1, 1, 2.0, true, 0, 0, kGgaTime, " 1", "AGPS", "2.0", kNA, kNA}},
      {"three-digit latitude", 0, 0, "$GPGGA,133524,04336.5940,N,07936.6403,W,2,09,2.0,1,M,1,M,,*00", kGeodetic,
       {0, 9, 2, 1.5, true, 0, 0, kGgaTime, " 9", "DGPS", nullptr, kNA, kNA}},
      {"two-digit longitude", 0, 0, "$GPGGA,133524,4336.5940,N,7936.6403,W,2,09,2.0,1,M,1,M,,*00", kGeodetic,
       {0, 9, 2, 1.5, true, 0, 0, kGgaTime, " 9", "DGPS", nullptr, kNA, kNA}},
      {"bad hemisphere", 0, 0, "$GPGGA,133524,4336.5940,X,07936.6403,W,2,09,2.0,1,M,1,M,,*00", kGeodetic,
       {0, 9, 2, 1.5, true, 0, 0, kGgaTime, " 9", "DGPS", nullptr, kNA, kNA}},
      {"south and east", 1, 0, "$GPGGA,000010.5,3351.0000,S,15112.6000,E,4,12,10.04,1,M,1,M,,*00", kGeodetic,
       {1, 12, 4, 10.04, true, -(33 + 51.0 / 60), 151 + 12.6 / 60, 10.5, "12", "RTK4", " 10",
        "S33\u00B051'0.0000 \"", "E151\u00B012'36.0000\""}},
      {"dop just below 10", 1, 0, "$GPGGA,000010,3351.0000,S,15112.6000,E,4,12,9.96,1,M,1,M,,*00", kGeodetic,
       {1, 12, 4, 9.96, true, -(33 + 51.0 / 60), 151 + 12.6 / 60, 10, "12", "RTK4", "10.0",
        "S33\u00B051'0.0000 \"", "E151\u00B012'36.0000\""}},
      {"unknown quality character", 0, 0, "$GPGGA,1,4336.5940,N,07936.6403,W,Q,05,,*00", kGeodetic,
       {0, 5, 0, 1.5, true, 0, 0, 3600, " 5", "UNKW", nullptr, kNA, kNA}},
      {"label from the first character", 0, 0, "$GPGGA,1,4336.5940,N,07936.6403,W,7x,05,,*00", kGeodetic,
       {1, 5, 7, 1.5, true, kLat, kLon, 3600, " 5", "RTK7", nullptr, "N43\u00B036'35.6400\"",
        "W079\u00B036'38.4180\""}},
      {"truncated after the latitude", 1, 0, "$GPGGA,133524,4336.5940,N", kGeodetic,
       {0, 0, 0, 0.0, true, 0, 0, kGgaTime, " 0", "", "0.0", kNA, kNA}},
      {"8-bit byte among the degree digits", 0, 0, "$GPGGA,1,4\xE9" "36.5940,N,07936.6403,W,5,05*00", kGeodetic,
       {1, 5, 5, 1.5, true, 4 + 36.594 / 60, kLon, 3600, " 5", "RTK5", nullptr, "N4\u00E9\u00B036'35.6400\"",
        "W079\u00B036'38.4180\""}},
      {"NUL ends the sentence", 1, 0, "$GPGGA,133524,4336.5940,N\0,07936.6403,W,8,11,2.0"s, kGeodetic,
       {0, 0, 0, 0.0, true, 0, 0, kGgaTime, " 0", "", "0.0", kNA, kNA}},
      // POS counts its mode from 0: mode 0 is stored as quality 1 while the readout shows "NO FIX".
      {"POS mode 0", 2, 0,
       "$PASHR,POS,0,10,125723.00,4336.5940,N,07936.6403,W,+00142.50,,000.00,000.00,+000.00,02.1,01.2,01.7*00",
       kGeodetic,
       {1, 10, 1, 2.1, true, kLat, kLon, 12 * 3600 + 57 * 60 + 23, "10", "NO FIX", "2.1",
        "N43\u00B036'35.6400\"", "W079\u00B036'38.4180\""}},
      // Minutes are read from at most 8 characters.
      {"GGK", 6, 0, "$PTNL,GGK,102939.00,051910,5000.97323841,N,00827.62010742,E,5,09,1.9,EHT150.790,M*73",
       kGeodetic,
       {1, 9, 5, 1.9, true, 50 + 0.97323 / 60, 8 + 27.6201 / 60, 10 * 3600 + 29 * 60 + 39, " 9", "RTK5", "1.9",
        "N50\u00B000'58.3938\"", "E008\u00B027'37.2060\""}},
      // GLL carries no satellites, quality or DOP: the previous values stay.
      {"GLL", 5, 0, "$GPGLL,4916.45,N,12311.12,W,225444,A,*1D", kGeodetic,
       {1, 7, 4, 1.5, true, 49 + 16.45 / 60, -(123 + 11.12 / 60), 22 * 3600 + 54 * 60 + 44, nullptr, nullptr,
        nullptr, "N49\u00B016'27.0000\"", "W123\u00B011'7.2000 \""}},
      {"pseudo-GLL missing longitude", 8, 0, "$GPGLL,4916.45,N,,W,225444", kGeodetic,
       {0, 7, 4, 1.5, true, 0, 0, 22 * 3600 + 54 * 60 + 44, nullptr, nullptr, nullptr, kNA, kNA}},
  };
  for (const Case& c : cases) Check(c);
}

TEST(DecodeFixSentence, GridFormats) {
  const std::string llq = "$GPLLQ,034137.00,210712,257846.938,M,6519045.154,M,3,12,1.1,86.23,M*00";
  const double llqTime = 3 * 3600 + 41 * 60 + 37;
  const Case cases[] = {
      // The wrongly summed GGA taken as an RTS pseudo-GGA: fields 3 and 5 are grid values.
      {"pseudo-GGA metres", 7, 0, kGga, kGeodetic,
       {1, 7, 4, 1.5, false, 4336.594, 7936.6403, kGgaTime, nullptr, nullptr, nullptr, "4336.59      m",
        "7936.64      m"}},
      {"pseudo-GGA metres on a feet map", 7, 0, kGga, FixDecodeOptions{0, 1, 0},
       {1, 7, 4, 1.5, false, 4336.594 * 3.28084, 7936.6403 * 3.28084, kGgaTime, nullptr, nullptr, nullptr,
        "14227.67     ft", "26038.85     ft"}},
      {"pseudo-GGA feet", 7, 0, "$GPGGA,1,1000.0,N,2000.0,E,1,05,,,F,,*00", FixDecodeOptions{0, 0, 1},
       {1, 7, 4, 1.5, false, 304.8, 609.6, 3600, nullptr, nullptr, nullptr, "304.80       m",
        "609.60       m"}},
      {"pseudo-GGA US feet on a US feet map", 7, 0, "$GPGGA,1,1000.0,N,2000.0,E,1,05,,,FT,,*00",
       FixDecodeOptions{1, 2, 0},
       {1, 7, 4, 1.5, false, 1000.0, 2000.0, 3600, nullptr, nullptr, nullptr, "1000.00      USft",
        "2000.00      USft"}},
      {"pseudo-GGA feet shown in UTM feet", 7, 0, "$GPGGA,1,1000.0,N,2000.0,E,1,05,,,F,,*00",
       FixDecodeOptions{0, 1, 2},
       {1, 7, 4, 1.5, false, 1000.0, 2000.0, 3600, nullptr, nullptr, nullptr, "1000.00      ft",
        "2000.00      ft"}},
      {"pseudo-GGA empty easting", 7, 0, "$GPGGA,1,1000.0,N,,E*00", kGeodetic,
       {0, 7, 4, 1.5, false, 0, 0, 3600, nullptr, nullptr, nullptr, kNA, kNA}},
      {"pseudo-GGA overflowing value", 7, 0, "$GPGGA,1," + std::string(400, '9') + ",N,1,E*00", kGeodetic,
       {0, 7, 4, 1.5, false, 0, 0, 3600, nullptr, nullptr, nullptr, kNA, kNA}},
      {"LLQ", 4, 0, llq, kUtmDisplay,
       {1, 12, 3, 1.1, false, 6519045.154, 257846.938, llqTime, "12", "RTK3", "1.1", "6519045.15   m",
        "257846.94    m"}},
      {"LLK on a US feet map", 3, 0, llq, FixDecodeOptions{0, 2, 3},
       {1, 12, 3, 1.1, false, 6519045.154 * 3.2808333333333355, 257846.938 * 3.2808333333333355, llqTime, "12",
        "RTK3", "1.1", "21387900.64  USft", "845952.83    USft"}},
  };
  for (const Case& c : cases) Check(c);
}

// What receivers mark as void, and satellite counts they do not report.
TEST(DecodeFixSentence, ReceiverValidityMarks) {
  const std::string gll = "$GPGLL,4916.45,N,12311.12,W,225444";
  const std::string ggk = "$PTNL,GGK,102939.00,051910,5000.97323841,N,00827.62010742,E,";
  const std::string llq = "$GPLLQ,034137.00,210712,257846.938,M,6519045.154,M,";
  const std::string pos = "$PASHR,POS,0,,125723.00,4336.5940,N,07936.6403,W,+00142.50,,0,0,0,02.1,01.2,01.7*00";
  const std::string gga = "$GPGGA,133524,4336.5940,N,07936.6403,W,";
  struct Case {
    const char* name;
    int format;
    std::string sentence;
    int valid;
    const char* reason;
    bool satellitesReported;
    const char* satText;  // nullptr: not written
  } cases[] = {
      {"GLL status V", 5, gll + ",V,N*00", 0, "status not A", true, nullptr},
      {"GLL status V without mode", 5, gll + ",V*00", 0, "status not A", true, nullptr},
      {"GLL status A, mode N", 5, gll + ",A,N*00", 0, "mode N", true, nullptr},
      {"GLL status A, mode D", 5, gll + ",A,D*00", 1, "", true, nullptr},
      {"GLL status A without mode", 5, gll + ",A*00", 1, "", true, nullptr},
      {"GLL empty status", 5, gll + ",,*00", 1, "", true, nullptr},
      {"GLL without time and status", 5, "$GPGLL,4916.45,N,12311.12,W*00", 1, "", true, nullptr},
      {"void GLL without a position", 5, "$GPGLL,,,,,,V,N*64", 0, "no N or S", true, nullptr},
      {"pseudo-GLL status V", 8, gll + ",V", 0, "status not A", true, nullptr},
      {"pseudo-GLL without status", 8, gll, 1, "", true, nullptr},
      {"GGK quality 0", 6, ggk + "0,09,1.9,EHT150.790,M*00", 0, "no fix (quality 0)", true, " 9"},
      {"LLK quality 0", 3, llq + "0,12,1.1,86.23,M*00", 0, "no fix (quality 0)", true, "12"},
      {"LLQ quality 0", 4, llq + "0,12,1.1,86.23,M*00", 0, "no fix (quality 0)", true, "12"},
      {"GGA quality 1, count 00", 1, gga + "1,00,2.0,1,M,1,M,,*00", 1, "", false, "00"},
      {"GGA quality 2, empty count", 1, gga + "2,,,,,,,*00", 1, "", false, ""},
      {"GGA quality 0, count 0", 1, gga + "0,0,2.0,1,M,1,M,,*00", 0, "no fix (quality 0)", true, " 0"},
      {"GGA empty quality, count 00", 1, gga + ",00,2.0*00", 0, "no fix (quality 0)", true, " 0"},
      {"GGA quality 1, count 01", 1, gga + "1,01,2.0*00", 0, "fewer than 2 satellites", true, " 1"},
      {"GGA quality 1, count x", 1, gga + "1,x,2.0*00", 0, "fewer than 2 satellites", true, " 0"},
      {"GGA quality 1, count 02", 1, gga + "1,02,2.0*00", 1, "", true, " 2"},
      {"GGK quality 3, count 00", 6, ggk + "3,00,1.9,EHT150.790,M*00", 1, "", false, "00"},
      {"LLQ quality 3, empty count", 4, llq + "3,,1.1,86.23,M*00", 1, "", false, ""},
      {"POS mode 0, empty count", 2, pos, 1, "", false, ""},
  };
  for (const Case& c : cases) {
    const FixDecode d = DecodeFixSentence(c.sentence, kBefore, MakeNmeaTable(c.format, 0), kGeodetic);
    EXPECT_EQ(d.fix.FixValid, c.valid) << c.name;
    EXPECT_STREQ(d.voidReason, c.reason) << c.name;
    EXPECT_EQ(d.fix.SatellitesReported, c.satellitesReported) << c.name;
    EXPECT_EQ(d.readouts.satellites.written, c.satText != nullptr) << c.name;
    if (c.satText) EXPECT_EQ(d.readouts.satellites.text.view(), c.satText) << c.name;
    if (c.valid) EXPECT_EQ(d.readouts.north.text.view().find("N/A"), std::string_view::npos) << c.name;
  }
}

TEST(DecodeFixSentence, SlamValues) {
  const NmeaTable slam = MakeNmeaTable(7, 1);
  struct SlamCase {
    std::string sentence;
    const char* status;
    bool warning;
    const char* values[3];
  } cases[] = {
      {"$GPGGA,133524,4336.594,N,7936.640,W,1,05,0.9,12.5,M,3.25,M,7.125*00", " 05", false,
       {"   0.900", "   3.250", "   7.125"}},
      {"$GPGGA,133524,4336.594,N,7936.640,W,1,0,-12345.6789,,M,,M*00", " 00", true,
       {"-12345.679", "   0.000", "   0.000"}},
  };
  for (const SlamCase& c : cases) {
    FixDecode d = DecodeFixSentence(c.sentence, kBefore, slam, kGeodetic);
    EXPECT_EQ(d.fix.FixValid, 1) << c.sentence;
    EXPECT_EQ(d.readouts.slam[0].text.view(), c.status);
    EXPECT_EQ(d.readouts.slamStatusWarning, c.warning);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(d.readouts.slam[i + 1].text.view(), c.values[i]) << i;
  }
}

TEST(DecodeFixSentence, ReadsTheTableAndSettings) {
  ResetSettings();
  Config().nmeaFormat = 7;
  Config().mapUnits = 1;
  Config().coordinatesDisplay = 2;
  BuildNmeaTable();
  FixDecode d = DecodeFixSentence(kGga, kBefore);
  EXPECT_EQ(d.fix.FixValid, 1);
  EXPECT_FALSE(d.geographic);
  EXPECT_DOUBLE_EQ(d.gridNorthing, 4336.594 * 3.28084);
  EXPECT_EQ(d.readouts.north.text.view(), "14227.67     ft");  // / 0.3048 for the UTM feet display
  ResetNmeaTable();
  ResetSettings();
}

TEST(DecodeGsaDop, PdopFromField16) {
  struct Case {
    std::string sentence;
    bool hasDop;
    double dop;
    const char* text;
  } cases[] = {
      {"$GPGSA,A,3,01,07,08,11,13,17,27,28,30,,,,3.6,2.0,3.0*30", true, 3.6, "3.6 "},
      {"$GPGSA,A,3,,,,,,,,,,,,,,2.0,3.0*00", true, 0.0, "0.0 "},
      {"$GPGSA,A,3,,,,,,,,,,,,,12.25*00", true, 12.25, "12.2"},  // 15 commas: field 16 runs to the end
      {"$GPGSA,A,3,,,,,,,,,,,,,", true, 0.0, "0.0 "},
      {"$GPGSA,A,3,,,,,,,,,,,,3.6", false, 9.5, "N/A"},     // 14 commas: unchanged
      {"$GPGSA,A,3,,,,,,,,,,,,,\0" "3.6"s, true, 0.0, "0.0 "},
      {"", false, 9.5, "N/A"},
  };
  for (const Case& c : cases) {
    GsaDecode g = DecodeGsaDop(c.sentence, 9.5);
    EXPECT_EQ(g.hasDop, c.hasDop) << c.sentence;
    EXPECT_DOUBLE_EQ(g.FixDop, c.dop) << c.sentence;
    EXPECT_EQ(g.readout.view(), c.text) << c.sentence;
  }
  EXPECT_TRUE(NmeaChecksumOk(cases[0].sentence));
}

}  // namespace
}  // namespace obrix
