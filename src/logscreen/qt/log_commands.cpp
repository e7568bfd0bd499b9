// The commands of the logging screen.
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "background/ascii_import.h"
#include "background/background_list.h"
#include "background/bg_dialog_texts.h"
#include "background/bg_load.h"
#include "background/qt/bg_dialogs.h"
#include "datafile/data_file.h"
#include "datafile/qt/data_file_prompts.h"
#include "datafile/writers.h"
#include "dialogs/line_station.h"
#include "dialogs/qt/audio_options_dialog.h"
#include "dialogs/qt/comment_dialog.h"
#include "dialogs/qt/coordinates_units_dialog.h"
#include "dialogs/qt/gps_mask_dialog.h"
#include "dialogs/qt/map_display_options_dialog.h"
#include "dialogs/qt/map_size_dialog.h"
#include "dialogs/qt/new_line_dialog.h"
#include "dialogs/qt/new_station_dialog.h"
#include "dialogs/qt/profile_display_options_dialog.h"
#include "dialogs/qt/readings_scale_dialog.h"
#include "dialogs/qt/speed_scale_dialog.h"
#include "gps/fix_state.h"
#include "gps/reading_bins.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/screen_texts.h"
#include "map/map_hooks.h"
#include "map/map_navigation.h"
#include "map/map_pages.h"
#include "map/map_redraw.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "panes/pane_paint.h"
#include "panes/profile_pane.h"
#include "panes/qt/panes.h"
#include "platform/message_box.h"
#include "platform/qt/message_box.h"
#include "platform/qt/prompts.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "state/session.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {
namespace {

using C = LoggingCommand;

int MapCommandCode(LoggingCommand command) {
  switch (command) {
    case C::PanLeft: return kMapPanWest;
    case C::PanRight: return kMapPanEast;
    case C::PanUp: return kMapPanNorth;
    case C::PanDown: return kMapPanSouth;
    case C::ZoomIn: return kMapZoomIn;
    case C::ZoomOut: return kMapZoomOut;
    case C::FitAll: return kMapFitAll;
    default: return 0;
  }
}

}  // namespace

void LogWindow::RunCommand(LoggingCommand command) {
  switch (command) {
    case C::None: return;
    case C::OpenFile: OpenFile(); return;
    case C::StartLogging: StartLogging(); return;
    case C::Pause: Pause(); return;
    case C::QuickLine: QuickLine(); return;
    case C::Exit: Exit(); return;
    case C::Menu: Menu(); return;
    case C::NewLine: NewLine(); return;
    case C::NewStation: NewStation(); return;
    case C::Comment: Comment(); return;
    case C::Nulling: Sess().MenuMode = false; return;
    case C::Calibration: return;
    case C::RemoveCalibration: Sess().MenuMode = false; return;
    case C::ScaleReadings: ScaleReadings(); return;
    case C::ScaleSpeedBar: ScaleSpeedBar(); return;
    case C::ProfileDisplayOptions: ProfileDisplayOptions(); return;
    case C::HideMenu: HideMenu(); return;
    case C::ToggleView: ToggleView(); return;
    case C::MapSize: MapSize(); return;
    case C::MapDisplayOptions: MapDisplayOptions(); return;
    case C::GpsWarningMask: GpsWarningMask(); return;
    case C::AudioOptions: AudioOptions(); return;
    case C::CoordinatesDisplayUnits: CoordinatesUnits(); return;
    case C::EnterBackgroundFiles: EnterBackgroundFiles(); return;
    case C::RemoveBackgroundFiles: RemoveBackgroundFiles(); return;
    case C::PanLeft:
    case C::PanRight:
    case C::PanUp:
    case C::PanDown:
    case C::ZoomIn:
    case C::ZoomOut:
    case C::FitAll: Navigate(command); return;
    case C::EnterReview: EnterReview(); return;
    case C::ExitReview: ExitReview(); return;
    case C::NextDefaultButton: SetFocusedButton((Sess().FocusedButton + 1) % 4); return;
  }
}

void LogWindow::Information(const char* text) {
  ShowMessage(kMessageOk, kInformationTitle, text, this);
  Repaint();
}

void LogWindow::ResetDisplayCounters() {
  // The counters the readouts compare against are kept by the handlers; a repaint shows their values afresh.
}

// The pages keep the drawn track, so showing the current view shows it again.
void LogWindow::RedrawStoredTrack() { RedrawMapFrame(); }

void LogWindow::FinishCommand() {
  Sess().MapUpdatesEnabled = true;
  setFocus();
}

// --- File and recording ---

void LogWindow::OpenFile() {
  Session& s = Sess();
  Settings& c = Config();
  s.MapUpdatesEnabled = false;
  const int result = CreateDataFile(this);
  DelayMs(50);
  if (DataFileIsOpen()) {
    navEnabled_ = true;
    EnableNavButtons(true);
    bool shown = true;
    if (result == -1) {
      // Not a file of this program: the header is already at its end and the state is StandBy.
      s.LoggingState = StandBy;
      ShowButtonSet(2);
      Information(kForeignFileText);
    } else if (result == 0) {
      if (c.instrumentEnabled == 0) {
        c.lateralOffset = 0;
        Drv().AlongOffsetInUse = 0;
        c.mapColourView = 0;
      }
      s.LoggingState = StandBy;
      ShowButtonSet(2);
    } else if (CheckAppendFile(this) != 0) {
      shown = false;  // refused: the file is closed and the state stays NoFile
    } else {
      if (c.instrumentEnabled == 0) {
        c.lateralOffset = 0;
        Drv().AlongOffsetInUse = 0;
        c.mapColourView = 0;
      }
      WriteHeaderBlock(1);
      WriteLineBlock();
      WriteTimeMark();
      SyncDataFile();
      SaveLoadSettings(1);
      bool fits = true;
      if (c.gpsInput == 1) {
        RedrawMapFrame();
        const StoredTrackCheck check = CheckStoredTrackFits();
        if (!check.message.text.empty()) ShowMapMessages({check.message});
        if (check.limitReached) {
          // The file holds as many positions as a session may have: the program ends.
          QTimer::singleShot(0, this, [this] {
            StopTimer();
            StopReaders();
            if (QWidget* top = window()) top->close();
          });
          return;
        }
        fits = check.fits == 1;
        Repaint();
        if (fits) {
          RedrawMapFromData();
          RedrawMapFrame();
        } else {
          // The track does not fit the map: the file is closed again and the state stays NoFile.
          CloseDataFile();
          navEnabled_ = false;
          EnableNavButtons(false);
          shown = false;
        }
      }
      if (fits) {
        ShowButtonSet(2);
        s.LoggingState = StandBy;
      }
    }
    if (shown && s.LoggingState == StandBy) {
      Repaint();
      ShowStatusLine(0);
      ShowStatusLine(2);
    }
  }
  ResetDisplayCounters();
  Repaint();
  FinishCommand();
}

void LogWindow::StartLogging() {
  Session& s = Sess();
  if (s.MapOverflowState == 2) {
    Sounds().PlayCue(kSoundRing);
    ShowMessage(kMessageOk, "WARNING", kCannotStartText, this);
    Repaint();
    return;
  }
  ResetBinsForRecording();
  ResetSwathForLogging();
  Readers().GpsRecordingOn = 1;
  s.ReviewMode = false;
  s.MapUpdatesEnabled = false;
  EnableNavButtons(false);
  UpdateNavVisibility();
  ShowButtonSet(0);
  s.RecordingStartTick = TickMs();
  ShowStatusLine(3);
  Readers().Em38RecordCounter = 0;
  Readers().Em38PostEvery = static_cast<int>(Drv().ReadingsPerInterval);
  ShowButtonSet(3);
  ResetBinsForRecording();
  s.LoggingState = Logging;
  ShowPausePrompt(Logging);
  ResetProfileContinuity();
  s.LoggingStartTick = TickMs();
  WriteEventRecord("$STARTED", 'X');
  s.MapUpdatesEnabled = true;
  setFocus();
}

void LogWindow::Pause() {
  Session& s = Sess();
  s.LoggingState = StandBy;
  ShowPausePrompt(StandBy);
  s.MapUpdatesEnabled = false;
  WriteEventRecord(s.MapOverflowState == 1 ? "PAUSED BMP" : "PAUSED", 'X');
  // Everything written so far becomes durable; the descriptor stays open for the GPS reader.
  SyncDataFile();
  Readers().Em38RecordCounter = 0;
  Readers().Em38PostEvery = 1;
  s.RecordedTimeBefore = s.RecordedTime;
  ShowButtonSet(2);
  if (s.MapVisible) EnableNavButtons(true);
  ShowStatusLine(2);
  if (s.MapOverflowState == 1) {
    s.MapOverflowState = 2;
    Sounds().PlayCue(kSoundRing2s);
    ShowMessage(kMessageOk, "WARNING", kIncreaseMapText, this);
  }
  ResetDisplayCounters();
  Panes().Cond.Drawn = 0;
  Panes().Inph.Drawn = 0;
  InvalidateBars();
  Repaint();
  FinishCommand();
}

void LogWindow::QuickLine() {
  Session& s = Sess();
  Settings& c = Config();
  if (c.instrumentEnabled == 0) {
    Information(kNeedsInstrumentText);
    return;
  }
  s.MapUpdatesEnabled = false;
  const std::string next = NextLineName(c.lineName, c.lineIncrement);
  char text[64];
  std::snprintf(text, sizeof text, "New Line: %s", next.c_str());
  if (ShowMessage(kMessageYesNo, "Quick Line", text, this) == IDOK) {
    s.LineReadingCount = 0;
    c.lineName = next;
    Derived& d = Drv();
    const LineChange ch = QuickLineChange(c.lineSequence, d.StationValue, c.startStation, d.StationIncrementInUse,
                                          c.lineDirection);
    d.StationValue = ch.station;
    d.StationStarted = 0;
    c.startStation = ch.startStation;
    d.StartStationInUse = ch.startStation;
    d.StationIncrementInUse = ch.stationIncrement;
    c.lineDirection = ch.lineDirection;
    WriteLineBlock();
    WriteTimeMark();
    SaveLoadSettings(1);
    InvalidateLogPanes(kProfilePane);
    Repaint();
    RedrawMapFrame();
  }
  RedrawStoredTrack();
  FinishCommand();
}

void LogWindow::NewLine() {
  Session& s = Sess();
  if (Config().instrumentEnabled == 0) {
    Information(kNeedsInstrumentText);
    return;
  }
  s.MapUpdatesEnabled = false;
  if (RunNewLineDialog(this) == 1) {
    WriteLineBlock();
    WriteTimeMark();
    s.LineReadingCount = 0;
    Repaint();
    RedrawMapFrame();
  } else {
    Repaint();
    RedrawStoredTrack();
  }
  FinishCommand();
}

void LogWindow::NewStation() {
  if (Config().instrumentEnabled == 0) {
    Information(kNeedsInstrumentText);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  RunNewStationDialog(this);
  Repaint();
  RedrawStoredTrack();
  FinishCommand();
}

void LogWindow::Comment() {
  Sess().MapUpdatesEnabled = false;
  RunCommentDialog(this);
  FinishCommand();
}

void LogWindow::Exit() {
  Session& s = Sess();
  s.MapUpdatesEnabled = false;
  if (EndLoggingSession(0) == 0) {
    RedrawStoredTrack();
    FinishCommand();
    return;
  }
  DeleteAllBackgroundFiles();
  if (s.ReviewMode) {
    // Review left with the live map size and scale.
    s.ReviewMode = false;
    Config().mapSize = MapState().SavedMapSize;
    MapState().PixelsPerUnit = MapState().SavedPixelsPerUnit;
    Config().mapColourView = MapState().SavedColourView;
    UpdateNavVisibility();
  }
  if (!isVisible()) {
    ShowButtonSet(1);
    Drv().StationValue = Drv().SurveyStartStation;
    Drv().StationStarted = 0;
    s.ActiveScreen = 0;
    if (setupButtons_) setupButtons_(true);
    if (repaintSetup_) repaintSetup_();
  }
}

void LogWindow::Menu() {
  Session& s = Sess();
  QMenu menu(this);
  menu.setObjectName(s.LoggingState == NoFile ? "LOGMENU_NOFILE" : "LOGMENU");
  for (const MenuEntry& e : LoggingMenu(s.LoggingState)) {
    if (e.id == 0) {
      menu.addSeparator();
      continue;
    }
    QAction* a = menu.addAction(QString::fromLatin1(e.text));
    a->setData(e.id);
  }
  const QPoint origin = window()->geometry().topLeft();
  s.MenuMode = true;
  const int id = UserPrompts().PopupMenu(menu, origin + QPoint(190, 120));
  if (id != 0) HandleInput({KeyInput::Command, id});
}

void LogWindow::HideMenu() {
  Sess().MenuMode = false;
  Repaint();
  if (Config().gpsInput == 1) RedrawMapFrame();
}

// --- Options ---

void LogWindow::ScaleReadings() {
  Session& s = Sess();
  const Settings& c = Config();
  s.MapUpdatesEnabled = false;
  if (c.mapColourView > 0 && c.gpsInput == 1) ShowColourBar(true);
  RunReadingsScaleDialog(this);
  ShowColourBar(false);
  if (MapState().RedrawFlags != 0 && c.mapColourView > 0 && c.gpsInput == 1) {
    // The colour image is drawn again from the data file with the new scale.
    if (MapScreenHooks().ShowPleaseWait) MapScreenHooks().ShowPleaseWait(mapCanvas());
    RebuildPages(1);
    RedrawMapFromData();
  }
  MapState().RedrawFlags = 0;
  Repaint();
  InvalidateLogPanes(kAllPanes);
  RedrawStoredTrack();
  FinishCommand();
}

void LogWindow::ScaleSpeedBar() {
  if (Config().gpsInput == 0) {
    Information(kNeedsGpsText);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  if (RunSpeedScaleDialog(this) == 1) {
    UpdateSpeedBarScale();
    Repaint();
    InvalidateLogPanes(kSpeedBarPane);
  }
  FinishCommand();
}

void LogWindow::ProfileDisplayOptions() {
  if (Config().instrumentEnabled == 0) {
    Information(kNeedsInstrumentText);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  RunProfileDisplayOptionsDialog(this);
  InvalidateLogPanes(kProfilePane);
  RedrawProfilePaneFromData();
  FinishCommand();
}

void LogWindow::ToggleView() {
  Session& s = Sess();
  const Settings& c = Config();
  if (c.instrumentEnabled == 0) Information(kNeedsInstrumentText);
  if (c.gpsInput == 0) {
    Information(kNeedsGpsText);
    RedrawStoredTrack();
  }
  s.MapUpdatesEnabled = false;
  if (c.instrumentEnabled != 0 && c.gpsInput == 1) s.MapVisible = !s.MapVisible;
  Relayout();
  UpdatePaneScales();
  Panes().Cond.Drawn = 0;
  InvalidateLogPanes(kAllPanes);
  RedrawProfilePaneFromData();
  Repaint();
  if (s.MapVisible) {
    RedrawMapFrame();
    EnableNavButtons(DataFileIsOpen() && s.LoggingState != Logging);
  } else {
    EnableNavButtons(false);
  }
  ResetDisplayCounters();
  RedrawStoredTrack();
  FinishCommand();
}

// The map commands need the GPS and the map shown; otherwise their information text is shown.
bool LogWindow::MapCommandRefused() {
  if (Config().gpsInput == 0) {
    Information(kNeedsGpsText);
    return true;
  }
  if (!Sess().MapVisible) {
    Information(kNeedsMapText);
    return true;
  }
  return false;
}

void LogWindow::MapSize() {
  if (MapCommandRefused()) return;
  Sess().MapUpdatesEnabled = false;
  if (RunMapSizeDialog(this) == 1) {
    SaveLoadSettings(1);
    if (MapState().RedrawFlags != 0) {
      ShowMapMessages(ApplyMapSizeChange(mapCanvas()));
      RedrawMapFrame();
    }
  }
  Repaint();
  FinishCommand();
}

void LogWindow::MapDisplayOptions() {
  if (MapCommandRefused()) return;
  Sess().MapUpdatesEnabled = false;
  RunMapDisplayOptionsDialog(this, width() < 784);
  if (MapState().RedrawFlags != 0) {
    ShowMapMessages(ApplyDisplayOptionsChange(mapCanvas()));
    RedrawMapFrame();
  }
  FinishCommand();
}

void LogWindow::GpsWarningMask() {
  if (Config().gpsInput == 0) {
    Information(kNeedsGpsText);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  RunGpsMaskDialog(this);
  FinishCommand();
}

void LogWindow::AudioOptions() {
  Sess().MenuMode = false;
  Sess().MapUpdatesEnabled = false;
  if (RunAudioOptionsDialog(this) == 1) Repaint();
  FinishCommand();
}

void LogWindow::CoordinatesUnits() {
  Sess().MapUpdatesEnabled = false;
  if (RunCoordinatesUnitsDialog(this) == 1) {
    Relayout();
    Repaint();
  }
  FinishCommand();
}

void LogWindow::EnterBackgroundFiles() {
  if (auto refusal = BackgroundEntryRefusal(Sess().MapVisible, Fix().MapStarted != 0, Config().gpsInput,
                                            Backgrounds().BackgroundCount)) {
    ShowMessage(kMessageOk, refusal->title, refusal->text, this);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  if (RunBackgroundLoadDialog(this) != 1) {
    FinishCommand();
    return;
  }
  // The column checks come before the file is chosen.
  if (const std::optional<std::string> m = BgColumnCheckMessage(Config())) {
    ShowMessage(kMessageOk, "COORDINATES ERROR", *m, this);
    FinishCommand();
    return;
  }
  const std::optional<std::string> path =
      UserPrompts().OpenFileName(this, "Open", Config().backgroundFolder, BgOpenFileFilter(Config().bgFileType));
  if (path) {
    const BgLoadOutcome out = LoadBackgroundFile(*path, Config());
    if (!out.folder.empty()) {
      Config().backgroundFolder = out.folder;
      SaveLoadSettings(1);
    }
    if (out.message) ShowMessage(kMessageOk, out.message->title, out.message->text, this);
    mapPane()->update();
  }
  FinishCommand();
}

void LogWindow::RemoveBackgroundFiles() {
  if (auto refusal = BackgroundRemovalRefusal(Backgrounds().BackgroundCount)) {
    ShowMessage(kMessageOk, refusal->title, refusal->text, this);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  std::array<bool, MaxBackgroundFiles> remove{};
  if (RunBackgroundRemoveDialog(this, remove) == 1 && RemoveBackgroundsAndRedraw(mapCanvas(), remove) > 0)
    mapPane()->update();
  FinishCommand();
}

// --- Map navigation and review ---

void LogWindow::Navigate(LoggingCommand command) {
  if (!DataFileIsOpen() || !Sess().MapVisible) return;
  MapNavigate(mapCanvas(), MapCommandCode(command));
  mapPane()->update();
}

void LogWindow::EnterReview() {
  Session& s = Sess();
  if (!DataFileIsOpen() || !s.MapVisible || s.LoggingState == Logging) return;
  EnterReviewMap(mapCanvas());
  mapPane()->update();
  for (QPushButton* b : setB_) b->setEnabled(false);
  ShowButtonSet(0);
  UpdateNavVisibility();
  EnableNavButtons(true);
}

void LogWindow::ExitReview() {
  Session& s = Sess();
  ExitReviewMap(mapCanvas());
  Frame().RecentreAtNextFix = 1;
  RedrawStoredTrack();
  for (QPushButton* b : setB_) b->setEnabled(true);
  ShowButtonSet(s.LoggingState == NoFile ? 1 : 2);
  UpdateNavVisibility();
  EnableNavButtons(true);
}

}  // namespace obrix
