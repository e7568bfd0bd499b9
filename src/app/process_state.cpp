#include "app/process_state.h"

#include "background/background_list.h"
#include "background/bg_draw.h"
#include "datafile/data_file.h"
#include "em38/em38_record.h"
#include "gps/fix_state.h"
#include "gps/nmea_table.h"
#include "gps/projection.h"
#include "gps/reading_bins.h"
#include "map/map_frame.h"
#include "map/map_grid.h"
#include "map/map_hooks.h"
#include "map/map_pages.h"
#include "map/map_palette.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "monitor/monitor_reader.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "settings/settings_image.h"
#include "state/palette.h"
#include "state/session.h"
#include "state/session_end.h"
#include "survey/pane_state.h"
#include "survey/screen_sink.h"

namespace obrix {

// Not listed, as they hold no state a later caller could see: the silent sound, the thread-local drawing
// scratch of the canvas and the page painter, the reader thread objects (joined by ResetPorts), and the lock on
// the scratch folder (held for the life of the process and claimed afresh when the folder changes); nor the
// signal flags of the simulator programs, which install their handlers once in their own process.
void ResetProcessState() {
  // Threads first: the reader threads write into the records below.
  ResetPorts();
  SetPortMessageHandler({});
  ResetReaderValues();
  MonitorShared() = MonitorValues{};

  // Platform.
  ManualClock::Uninstall();
  SetTickSource(nullptr);
  SetLocalClock(nullptr);
  SetSound(nullptr);
  SetDataRoot("");
  SetMessageTitle("");
  SetMessageText("");

  // Settings, session and the shared drawing tools.
  ResetSettings();
  MapSizeForFile = nullptr;
  ResetSession();
  SetSessionEndHandler({});
  Pens() = SharedPens{};

  // Decoders and what a fix or a reading leaves behind.
  ResetChannels();
  ResetFix();
  ResetNmeaTable();
  ResetUtmZones();
  ResetBins();
  ResetDataFile();
  SetDataFileWriteCall(nullptr);

  // Map, backgrounds and panes.
  ResetMapViewState();
  Grid() = GridParams{};
  ResetFrameState();
  ResetPages();  // the pages, the map palette and the cached images
  ResetMapHooks();
  ResetSwathTrack();
  ResetBackgrounds();
  BgLabels() = BgLabelHooks{};
  ResetPaneState();
  SetScreenSink(nullptr);
}

}  // namespace obrix
