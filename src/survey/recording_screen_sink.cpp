#include "survey/recording_screen_sink.h"

#include <algorithm>

namespace obrix {

void RecordingScreenSink::ShowFixReadouts(const FixScreenReadouts& readouts) {
  calls.push_back("ShowFixReadouts");
  fixReadouts.push_back(readouts);
}

void RecordingScreenSink::ShowDopReadout(const ReadoutText& dop) {
  calls.push_back("ShowDopReadout");
  dopReadouts.push_back(dop.str());
}

void RecordingScreenSink::DrawGpsIndicator(char phase, bool maskMet) {
  calls.push_back("DrawGpsIndicator");
  indicators.push_back({phase, maskMet});
}

void RecordingScreenSink::ShowSpeedOnBar(double shownSpeed) {
  calls.push_back("ShowSpeedOnBar");
  speedBar.push_back(shownSpeed);
}

void RecordingScreenSink::EnableFileButtons() {
  calls.push_back("EnableFileButtons");
  ++fileButtonsEnabled;
}

void RecordingScreenSink::UpdateMapPosition(int loggingState, double northing, double easting, double distance) {
  calls.push_back("UpdateMapPosition");
  mapCalls.push_back({loggingState, northing, easting, distance});
}

void RecordingScreenSink::RequestPositionLimitExit() {
  calls.push_back("RequestPositionLimitExit");
  ++positionLimitRequests;
}

void RecordingScreenSink::ShowInstrumentReadout(const InstrumentReadout& readout) {
  calls.push_back("ShowInstrumentReadout");
  instrumentReadouts.push_back(readout);
}

void RecordingScreenSink::ShowReadingReadouts(const ReadingReadouts& readouts) {
  calls.push_back("ShowReadingReadouts");
  readingReadouts.push_back(readouts);
}

void RecordingScreenSink::ScrollProfile(const DisplayPixels& pixels,
                                        std::span<const int, kProfileChannels> present) {
  calls.push_back("ScrollProfile");
  ProfileCall c{pixels, {}};
  std::copy(present.begin(), present.end(), c.present.begin());
  profileCalls.push_back(c);
}

void RecordingScreenSink::UpdateBars(const DisplayPixels& pixels) {
  calls.push_back("UpdateBars");
  barCalls.push_back(pixels);
}

void RecordingScreenSink::ShowMarker(const ReadoutText& marker) {
  calls.push_back("ShowMarker");
  markers.push_back(marker.str());
}

}  // namespace obrix
