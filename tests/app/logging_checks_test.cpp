#include <gtest/gtest.h>

#include "app/logging_checks.h"

namespace obrix {
namespace {

TEST(LoggingChecks, DisabledDevicesAndPortClash) {
  struct Case { int em, gps, emPort, gpsPort; const char* title; const char* text; };
  const Case cases[] = {
      {0, 0, 3, 5, "EM AND GPS DISABLED", "Instrument Disabled and GPS Disabled"},
      {1, 1, 3, 3, "Serial Port Issue",
       "Serial Port COM4 Assigned to Instrument and GPS, please change port selection."},
      {1, 0, 3, 3, "", ""},  // a shared port only matters when both are in use
      {0, 1, 3, 3, "", ""},
      {1, 1, 3, 5, "", ""},
  };
  for (const Case& c : cases) {
    Settings s;
    s.instrumentEnabled = c.em;
    s.gpsInput = c.gps;
    s.instrumentPort = c.emPort;
    s.gpsPort = c.gpsPort;
    ConfigProblem p = CheckLoggingConfiguration(s);
    EXPECT_EQ(p.title, c.title);
    EXPECT_EQ(p.text, c.text);
  }
}

}  // namespace
}  // namespace obrix
