#pragma once
// Redraw of the profile pane from the open data file: the most recent readings, read backwards.

namespace obrix {

class Canvas;

// Erases and paints the profile pane, then draws the readings of the open data file from its end back to the
// last date record (the start of the current line) or until the pane is full. Curves break at station records
// and "PAUSED" events and where a channel misses readings. Reads by position: the writers' append position is
// not disturbed. Nothing happens when no data file is open.
void RedrawProfileFromData(Canvas& profile);
// The same on the data file `fd` (kept open).
void RedrawProfileFromFile(Canvas& profile, int fd);

}  // namespace obrix
