#pragma once
// Redraw of the survey into the map's track layers from the data file, and the check that a re-opened file's
// track fits the map. Both read by position: the writers' append position is never moved.
#include <string>

namespace obrix {

// Draws the file's swath records (and, in a colour view, its readings between them) into the track layers,
// starting after the first "$START" event within the first 300 records (else at record 301). As in the live
// drawing, an interval without readings is left unpainted. The file is read in blocks.
void RedrawMapFromFile(int fd);
// The same on the open data file; nothing without one.
void RedrawMapFromData();

// A message box the caller shows (template, title and text with "\r\n" line breaks).
struct MapMessage {
  std::string templateName;
  std::string title;
  std::string text;
};

struct StoredTrackCheck {
  int fits = 0;              // 1: the file's track fits the map at the current scale
  bool limitReached = false; // the stored positions reached the position limit: the program ends
  long positions = 0;        // corner sets stored (each 'd' and 'h' record)
  MapMessage message;
};

// Scans the swath records of `fd` into TrackExtent (reset to the origin first). When the track fits,
// GpsPositionCount becomes the number of stored positions.
StoredTrackCheck CheckStoredTrackFitsFile(int fd);
StoredTrackCheck CheckStoredTrackFits();

}  // namespace obrix
