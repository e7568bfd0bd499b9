#include "dialogs/line_station.h"

#include <algorithm>
#include <cmath>

#include "datafile/writers.h"
#include "platform/message_box.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

namespace {
double FiniteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }
}  // namespace

std::string NextLineName(std::string_view lineName, double increment) {
  return FormatC("%.2f", FiniteOrZero(ParseRealC(lineName)) + FiniteOrZero(increment));
}

int OppositeDirection(int direction) { return 3 - std::clamp(direction, 0, 3); }

NewLineProposal ProposeNewLine() {
  Settings& s = Config();
  NewLineProposal p;
  p.currentLine = s.lineName;
  p.lastStation = Drv().StationValue;
  p.nextLine = NextLineName(s.lineName, s.lineIncrement);
  s.lineName = p.nextLine;
  p.lineIncrement = s.lineIncrement;
  p.sequence = s.lineSequence == 1 ? 1 : 0;
  if (p.sequence == 1) {
    p.direction = std::clamp(s.lineDirection, 0, 3);
    p.startStation = s.startStation;
    p.stationIncrement = Drv().StationIncrementInUse;
  } else {
    p.direction = OppositeDirection(s.lineDirection);
    p.startStation = Drv().StationValue;
    p.stationIncrement = -Drv().StationIncrementInUse;
  }
  return p;
}

void ApplyNewLine(const NewLineEntry& e) {
  Settings& s = Config();
  s.lineName = CutToChars(CutToChars(e.lineName, kLineNameEntryChars), kLineNameStoredChars);
  s.lineIncrement = FiniteOrZero(ParseRealC(e.lineIncrement));
  s.lineSequence = e.sequence == 1 ? 1 : 0;
  s.lineDirection = std::clamp(e.direction, 0, 3);
  s.startStation = FiniteOrZero(ParseRealC(e.startStation));
  Drv().StartStationInUse = s.startStation;
  Drv().StationValue = s.startStation;
  Drv().StationStarted = 0;
  Drv().StationIncrementInUse = FiniteOrZero(ParseRealC(e.stationIncrement));
  SaveLoadSettings(Save);
}

void ApplyNewStation(std::string_view station) {
  Drv().StationValue = FiniteOrZero(ParseRealC(station));
  Drv().StationStarted = 0;
  WriteStationRecord(Drv().StationValue);
  WriteTimeMark();
  SaveLoadSettings(Save);
}

void ApplyComment(std::string_view text) { WriteEventRecord(CutToChars(text, kCommentChars), 'C'); }

}  // namespace obrix
