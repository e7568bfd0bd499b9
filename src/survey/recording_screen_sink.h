#pragma once
// A logging-screen sink that records every request, for tests of the handlers and of the screen's wiring.
#include <array>
#include <string>
#include <vector>

#include "survey/screen_sink.h"

namespace obrix {

class RecordingScreenSink : public LoggingScreenSink {
 public:
  struct MapCall {
    int loggingState;
    double northing, easting, distance;
  };
  struct IndicatorCall {
    char phase;
    bool maskMet;
  };
  struct ProfileCall {
    DisplayPixels pixels;
    std::array<int, kProfileChannels> present;
  };

  void ShowFixReadouts(const FixScreenReadouts& readouts) override;
  void ShowDopReadout(const ReadoutText& dop) override;
  void DrawGpsIndicator(char phase, bool maskMet) override;
  void ShowSpeedOnBar(double shownSpeed) override;
  void EnableFileButtons() override;
  void UpdateMapPosition(int loggingState, double northing, double easting, double distance) override;
  void RequestPositionLimitExit() override;
  void ShowInstrumentReadout(const InstrumentReadout& readout) override;
  void ShowReadingReadouts(const ReadingReadouts& readouts) override;
  void ScrollProfile(const DisplayPixels& pixels, std::span<const int, kProfileChannels> present) override;
  void UpdateBars(const DisplayPixels& pixels) override;
  void ShowMarker(const ReadoutText& marker) override;

  void Clear() { *this = RecordingScreenSink(); }

  std::vector<std::string> calls;  // names of the requests in order
  std::vector<FixScreenReadouts> fixReadouts;
  std::vector<std::string> dopReadouts;
  std::vector<IndicatorCall> indicators;
  std::vector<double> speedBar;
  int fileButtonsEnabled = 0;
  std::vector<MapCall> mapCalls;
  int positionLimitRequests = 0;
  std::vector<InstrumentReadout> instrumentReadouts;
  std::vector<ReadingReadouts> readingReadouts;
  std::vector<ProfileCall> profileCalls;
  std::vector<DisplayPixels> barCalls;
  std::vector<std::string> markers;
};

}  // namespace obrix
