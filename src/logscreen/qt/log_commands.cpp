// The commands of the logging screen.
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "background/ascii_import.h"
#include "background/background_list.h"
#include "background/bg_dialog_texts.h"
#include "background/bg_load.h"
#include "background/qt/bg_dialogs.h"
#include "datafile/data_file.h"
#include "datafile/qt/data_file_prompts.h"
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
#include "logscreen/qt/log_window.h"
#include "logscreen/screen_texts.h"
#include "map/map_hooks.h"
#include "map/map_navigation.h"
#include "map/map_pages.h"
#include "map/map_redraw.h"
#include "map/map_view_state.h"
#include "panes/pane_paint.h"
#include "panes/qt/panes.h"
#include "platform/message_box.h"
#include "platform/qt/message_box.h"
#include "platform/qt/prompts.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/survey_inputs.h"
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

void LogWindow::FinishCommand() {
  Sess().MapUpdatesEnabled = true;
  setFocus();
}

// --- File and recording ---

void LogWindow::Show(const ScreenUpdate& u) {
  if (u.buttons) ShowButtonSet(*u.buttons);
  if (u.navEnabled) EnableNavButtons(*u.navEnabled);
  if (u.pausePrompt) ShowPausePrompt(*u.pausePrompt);
  for (StatusLine line : u.statusLines) ShowStatusLine(line);
  if (u.message) {
    if (u.message->cue) Sounds().PlayCue(u.message->cue);
    ShowMessage(kMessageOk, u.message->title, u.message->text, this);
  }
}

void LogWindow::OpenFile() {
  Sess().MapUpdatesEnabled = false;
  const OpenFileStep step = AfterDataFileCreated(CreateDataFile(this));
  DelayMs(50);
  if (step.next == OpenFileNext::CheckAppend) {
    EnableNavButtons(true);
    // Refused by the append check: the file is closed and the state stays NoFile.
    if (CheckAppendFile(this) == 0 && !OpenExistingFile()) return;
  } else if (step.next == OpenFileNext::Shown) {
    Repaint();
    Show(step.update);
  }
  Repaint();
  FinishCommand();
}

// An existing file accepted by the append check; with the GPS its stored track is drawn first and must fit.
// False when the file holds as many positions as a session may have: the program ends.
bool LogWindow::OpenExistingFile() {
  if (ContinueExistingFile()) {
    RedrawMapFrame();
    const StoredTrackCheck check = CheckStoredTrackFits();
    if (!check.message.text.empty()) ShowMapMessages({check.message});
    if (check.limitReached) {
      QTimer::singleShot(0, this, [this] {
        StopTimer();
        StopReaders();
        if (QWidget* top = window()) top->close();
      });
      return false;
    }
    Repaint();
    if (check.fits != 1) {
      Show(StoredTrackTooLarge());
      return true;
    }
    RedrawMapFromData();
    RedrawMapFrame();
  }
  Repaint();
  Show(ExistingFileOpened());
  return true;
}

void LogWindow::StartLogging() {
  const GoPlan plan = PlanGo(Sess());
  if (plan.refusal) {
    Show({.message = plan.refusal});
    Repaint();
    return;
  }
  if (plan.leaveReview) ExitReview();
  Sess().MapUpdatesEnabled = false;
  const ScreenUpdate update = obrix::StartLogging(TickMs());
  UpdateNavVisibility();
  Show(update);
  Sess().MapUpdatesEnabled = true;
  setFocus();
}

void LogWindow::Pause() {
  Show(PauseLogging());
  InvalidateBars();
  Repaint();
  FinishCommand();
}

void LogWindow::QuickLine() {
  const QuickLineStep step = PlanQuickLine(Config());
  if (step.refusal) {
    Information(step.refusal->text);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  if (ShowMessage(kMessageYesNo, "Quick Line", step.question, this) == IDOK) {
    AcceptQuickLine();
    InvalidateLogPanes(kProfilePane);
    Repaint();
  }
  RedrawMapFrame();
  FinishCommand();
}

void LogWindow::NewLine() {
  if (const auto refusal = NeedsInstrument(Config())) {
    Information(refusal->text);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  if (RunNewLineDialog(this) == 1) NewLineAccepted();
  Repaint();
  RedrawMapFrame();
  FinishCommand();
}

void LogWindow::NewStation() {
  if (!UsesInstrument(Config())) {
    Information(kNeedsInstrumentText);
    return;
  }
  Sess().MapUpdatesEnabled = false;
  RunNewStationDialog(this);
  Repaint();
  RedrawMapFrame();
  FinishCommand();
}

void LogWindow::Comment() {
  Sess().MapUpdatesEnabled = false;
  RunCommentDialog(this);
  FinishCommand();
}

void LogWindow::Exit() {
  Sess().MapUpdatesEnabled = false;
  if (EndLoggingSession(0) == 0) {
    RedrawMapFrame();
    FinishCommand();
    return;
  }
  if (AfterSessionEnded()) {
    for (QPushButton* b : setB_) b->setEnabled(true);
  }
  UpdateNavVisibility();
  if (!isVisible()) {
    Show(ReturnToSetupScreen());
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
  if (UsesGps(Config())) RedrawMapFrame();
}

// --- Options ---

void LogWindow::ScaleReadings() {
  Session& s = Sess();
  const Settings& c = Config();
  s.MapUpdatesEnabled = false;
  if (c.mapColourView > 0 && UsesGps(c)) ShowColourBar(true);
  RunReadingsScaleDialog(this);
  ShowColourBar(false);
  if (MapState().RedrawFlags != 0 && c.mapColourView > 0 && UsesGps(c)) {
    // The colour image is drawn again from the data file with the new scale.
    if (MapScreenHooks().ShowPleaseWait) MapScreenHooks().ShowPleaseWait(mapCanvas());
    RebuildPages(1);
    RedrawMapFromData();
  }
  MapState().RedrawFlags = 0;
  Repaint();
  InvalidateLogPanes(kAllPanes);
  RedrawMapFrame();
  FinishCommand();
}

void LogWindow::ScaleSpeedBar() {
  if (!UsesGps(Config())) {
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
  if (!UsesInstrument(Config())) {
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
  if (!UsesInstrument(c)) Information(kNeedsInstrumentText);
  if (!UsesGps(c)) {
    Information(kNeedsGpsText);
    RedrawMapFrame();
  }
  s.MapUpdatesEnabled = false;
  if (UsesInstrument(c) && UsesGps(c)) s.MapVisible = !s.MapVisible;
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
  RedrawMapFrame();
  FinishCommand();
}

// The map commands need the GPS and the map shown; otherwise their information text is shown.
bool LogWindow::MapCommandRefused() {
  if (!UsesGps(Config())) {
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
    SaveLoadSettings(Save);
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
  if (!UsesGps(Config())) {
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
      SaveLoadSettings(Save);
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
  ShowButtonSet(ButtonSet::None);
  UpdateNavVisibility();
  EnableNavButtons(true);
}

void LogWindow::ExitReview() {
  Session& s = Sess();
  ExitReviewMap(mapCanvas());
  Frame().RecentreAtNextFix = 1;
  RedrawMapFrame();
  for (QPushButton* b : setB_) b->setEnabled(true);
  ShowButtonSet(s.LoggingState == NoFile ? ButtonSet::A : ButtonSet::B);
  UpdateNavVisibility();
  EnableNavButtons(true);
}

}  // namespace obrix
