#pragma once
// The window-thread half of the GPS link: each position sentence handed over is decoded, projected, checked
// against the warning mask, turned into distance and speed, counted and passed to the map; each GSA sentence
// updates the dilution. What the screen must redraw goes through ScreenSink().
#include <string>
#include <string_view>

namespace obrix {

struct Settings;

// Handles one position sentence (window thread). Returns 0.
int OnGpsSentence(std::string_view sentence);
// Handles one GSA sentence: FixDop from its PDOP and the DOP readout. Returns 0.
int OnGpsGsa(std::string_view sentence);

// Fix state on entering the logging screen: FixDop -2 (the dilution test passes until one is received), the bins
// restart at their first fix, and with GPS input the next valid fix becomes the map origin.
void PrepareFixHandling(int gpsInput);

// The warning mask: off, or a format without quality values (GLL, RTS pseudo-GGA, pseudo-GLL), or enough
// satellites (a count the receiver did not report never fails), a dilution not above the limit and a quality
// above the mask quality.
bool GpsMaskMet(const Settings& s, int nmeaFormat, int satellites, int quality, double dop,
                bool satellitesReported = true);

// Seconds from one fix time to the next; a negative step is taken as a day rollover.
double FixTimeStep(double previous, double current);

// The message shown once the position limit has stopped the session ("MESSAGEOK").
struct PositionLimitText {
  std::string title;
  std::string text;
};
PositionLimitText PositionLimitMessage();

// The end at the position limit, run by the screen after the sentence handler has returned (never from inside
// it): stops and joins the GPS reader and, with the instrument enabled, the EM38 reader, then makes the data
// file durable and closes it. Clears PositionLimitExitPending.
void StopForPositionLimit();

}  // namespace obrix
