// Arbitrary bytes as a data file redrawn into the map pages (positions and colour view) and scanned for its
// stored track: swath values may be anything (huge, NaN, far off the map) and must never index outside the
// page tables or stall.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "gps/fix_state.h"
#include "map/map_pages.h"
#include "map/map_redraw.h"
#include "map/map_view_state.h"
#include "settings/settings.h"
#include "state/palette.h"

using namespace obrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool once = [] {
    Drv().MapPaneWidth = 202;
    CreateSharedPens();
    return true;
  }();
  (void)once;
  const int fd = memfd_create("map", 0);
  if (fd < 0) return 0;
  if (size > 0 && write(fd, data, size) != ssize_t(size)) {
    close(fd);
    return 0;
  }
  const uint8_t pick = size ? data[0] : 0;
  Config().mapSize = 1 + pick % 50;
  Config().positionSize = pick % 6;
  ResetMapFrame();
  ResetFix();
  Fix().MapOrigin = {500000.0, 5000000.0};
  for (int view : {0, 1}) {
    Config().mapColourView = view;
    RedrawMapFromFile(fd);
  }
  const StoredTrackCheck check = CheckStoredTrackFitsFile(fd);
  if (check.fits != 0 && check.fits != 1) __builtin_trap();
  if (MapPages().PageCount() > 2000u * 2000u) __builtin_trap();
  close(fd);
  return 0;
}
