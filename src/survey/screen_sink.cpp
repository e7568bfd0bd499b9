#include "survey/screen_sink.h"

namespace obrix {
namespace {

class SilentScreenSink : public LoggingScreenSink {
 public:
  void ShowFixReadouts(const FixScreenReadouts&) override {}
  void ShowDopReadout(const ReadoutText&) override {}
  void DrawGpsIndicator(char, bool) override {}
  void ShowSpeedOnBar(double) override {}
  void EnableFileButtons() override {}
  void UpdateMapPosition(int, double, double, double) override {}
  void RequestPositionLimitExit() override {}
  void ShowInstrumentReadout(const InstrumentReadout&) override {}
  void ShowReadingReadouts(const ReadingReadouts&) override {}
  void ScrollProfile(const DisplayPixels&, std::span<const int, kProfileChannels>) override {}
  void UpdateBars(const DisplayPixels&) override {}
  void ShowMarker(const ReadoutText&) override {}
};

SilentScreenSink g_silent;
LoggingScreenSink* g_sink = nullptr;

}  // namespace

Colour ReadoutBackgroundColour(ReadoutBackground background) {
  switch (background) {
    case ReadoutBackground::Normal:
      return kReadoutNormalColour;
    case ReadoutBackground::Warning:
      return kReadoutWarningColour;
    case ReadoutBackground::Idle:
      break;
  }
  return kReadoutIdleColour;
}

LoggingScreenSink& ScreenSink() { return g_sink ? *g_sink : g_silent; }
void SetScreenSink(LoggingScreenSink* sink) { g_sink = sink; }

ScopedScreenSink::ScopedScreenSink(LoggingScreenSink& sink) : previous_(g_sink) { g_sink = &sink; }
ScopedScreenSink::~ScopedScreenSink() { g_sink = previous_; }

}  // namespace obrix
