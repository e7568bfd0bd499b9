#pragma once
// What the GPS and EM38 handlers ask of the logging screen: the readout texts and colours to draw, the pane
// updates, the buttons to enable, the map position and the end at the position limit. The screen installs its
// implementation; without one, nothing is shown.
#include <array>
#include <span>

#include "gps/nmea_decode.h"
#include "gps/readout_text.h"
#include "platform/canvas.h"
#include "survey/pane_scales.h"

namespace obrix {

// GPS readouts of one position sentence; fields not written keep what they show.
struct FixScreenReadouts {
  FixReadouts decoded;    // satellites, quality, DOP, north/east (geodetic, grid or projected), SLAM values
  ReadoutField zone;      // "%-2d" (projected display)
  ReadoutField speed;     // speed table text
  ReadoutField positions; // "%5d" while recording
};

// Background of the instrument readout.
enum class ReadoutBackground { Idle, Normal, Warning };

// The instrument readout of the numbers pane.
struct InstrumentReadout {
  ReadoutText dipole;  // "Dipole: Vertical" or "Dipole: Horiz."
  ReadoutText gain;    // "Gain: %5d"
  ReadoutText value;   // "C: %8.2f" or "I:  %8.2f"
  ReadoutBackground background = ReadoutBackground::Idle;
  bool dipoleWarning = false;     // the record's dipole is not the one selected
  bool componentWarning = false;  // the record's component is not the one selected
};

// Counters rewritten for each recorded reading.
struct ReadingReadouts {
  ReadoutText station;        // "%-11.2f"
  ReadoutText totalReadings;  // "%-7d"
  ReadoutText recordedTime;   // "%02d:%02d:%02d"
};

// Colours the screen draws these with.
inline constexpr Colour kReadoutIdleColour = Rgb(240, 240, 240);
inline constexpr Colour kReadoutNormalColour = Rgb(192, 255, 192);
inline constexpr Colour kReadoutWarningColour = Rgb(255, 0, 0);
inline constexpr Colour kWarningDotColour = Rgb(255, 0, 0);
inline constexpr Colour kIndicatorOffColour = Rgb(192, 192, 192);
inline constexpr Colour kIndicatorNormalColour = Rgb(0, 192, 0);
inline constexpr Colour kIndicatorWarningColour = Rgb(255, 0, 0);
Colour ReadoutBackgroundColour(ReadoutBackground background);

class LoggingScreenSink {
 public:
  virtual ~LoggingScreenSink() = default;

  // GPS.
  virtual void ShowFixReadouts(const FixScreenReadouts& readouts) = 0;
  // The DOP field from a GSA sentence.
  virtual void ShowDopReadout(const ReadoutText& dop) = 0;
  // The two indicator circles: at phase '/' the first carries the mask colour and the second the off colour,
  // at '\\' the other way round. The mask colour is the normal one when the mask is met, warning red when not.
  virtual void DrawGpsIndicator(char phase, bool maskMet) = 0;
  // The speed bar for the shown speed.
  virtual void ShowSpeedOnBar(double shownSpeed) = 0;
  // Enables the file commands of button set A (first valid fix).
  virtual void EnableFileButtons() = 0;
  // The map drawing of an accepted fix.
  virtual void UpdateMapPosition(int loggingState, double northing, double easting, double distance) = 0;
  // The position limit was reached: once the handler has returned, stop the logging timer, run
  // StopForPositionLimit, show PositionLimitMessage and end the program.
  virtual void RequestPositionLimitExit() = 0;

  // EM38.
  virtual void ShowInstrumentReadout(const InstrumentReadout& readout) = 0;
  virtual void ShowReadingReadouts(const ReadingReadouts& readouts) = 0;
  // The profile moves one step (recorded readings only).
  virtual void ScrollProfile(const DisplayPixels& pixels, std::span<const int, kProfileChannels> present) = 0;
  // Conductivity bars, then inphase bars.
  virtual void UpdateBars(const DisplayPixels& pixels) = 0;
  // "Marker" or a blank.
  virtual void ShowMarker(const ReadoutText& marker) = 0;
};

// The installed sink; one that ignores everything until SetScreenSink installs another. The caller keeps
// ownership. SetScreenSink(nullptr) restores the silent one.
LoggingScreenSink& ScreenSink();
void SetScreenSink(LoggingScreenSink* sink);

class ScopedScreenSink {
 public:
  explicit ScopedScreenSink(LoggingScreenSink& sink);
  ~ScopedScreenSink();
  ScopedScreenSink(const ScopedScreenSink&) = delete;
  ScopedScreenSink& operator=(const ScopedScreenSink&) = delete;

 private:
  LoggingScreenSink* previous_;
};

}  // namespace obrix
