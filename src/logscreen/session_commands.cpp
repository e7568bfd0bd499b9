#include "logscreen/session_commands.h"

#include "background/background_list.h"
#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "dialogs/line_station.h"
#include "gps/reading_bins.h"
#include "logscreen/screen_texts.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "panes/profile_pane.h"
#include "platform/sound.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/settings_image.h"
#include "settings/survey_inputs.h"
#include "state/session.h"
#include "survey/pane_state.h"

namespace obrix {
namespace {

// A survey without the instrument has no sensor offsets and no colour view.
void ClearOffsetsWithoutInstrument() {
  Settings& c = Config();
  if (UsesInstrument(c)) return;
  c.lateralOffset = 0;
  Drv().AlongOffsetInUse = 0;
  c.mapColourView = 0;
}

ScreenUpdate StandByShown() {
  Sess().LoggingState = StandBy;
  ScreenUpdate u;
  u.buttons = ButtonSet::B;
  u.statusLines = {StatusLine::FileName, StatusLine::StandBy};
  return u;
}

}  // namespace

SetAEnabled SetAAtEntry(const Settings& s) {
  SetAEnabled e;
  e.file = e.mapSize = !UsesGps(s);
  return e;
}

std::optional<ScreenMessage> NeedsInstrument(const Settings& s) {
  if (UsesInstrument(s)) return std::nullopt;
  return ScreenMessage{kInformationTitle, kNeedsInstrumentText};
}

// --- Open File ---

OpenFileStep AfterDataFileCreated(CreateResult result) {
  OpenFileStep step;
  switch (result) {
    case CreateResult::Cancelled: return step;
    case CreateResult::Foreign:
      // The header is already at the file's end.
      step.next = OpenFileNext::Shown;
      step.update = StandByShown();
      step.update.message = ScreenMessage{kInformationTitle, kForeignFileText};
      break;
    case CreateResult::Existing:
      step.next = OpenFileNext::CheckAppend;
      break;
    case CreateResult::New:
      ClearOffsetsWithoutInstrument();
      step.next = OpenFileNext::Shown;
      step.update = StandByShown();
      break;
  }
  step.update.navEnabled = true;
  return step;
}

bool ContinueExistingFile() {
  ClearOffsetsWithoutInstrument();
  WriteHeaderBlock(1);
  WriteLineBlock();
  WriteTimeMark();
  SyncDataFile();
  SaveLoadSettings(Save);
  return UsesGps(Config());
}

ScreenUpdate ExistingFileOpened() { return StandByShown(); }

ScreenUpdate StoredTrackTooLarge() {
  CloseDataFile();
  ScreenUpdate u;
  u.navEnabled = false;
  return u;
}

// --- Go ---

GoPlan PlanGo(const Session& s) {
  GoPlan plan;
  if (s.MapOverflowState == MapOverflow::Warned) {
    plan.refusal = ScreenMessage{"WARNING", kCannotStartText, kSoundRing};
    return plan;
  }
  plan.leaveReview = s.ReviewMode;
  return plan;
}

ScreenUpdate StartLogging(uint32_t now) {
  Session& s = Sess();
  ResetBinsForRecording();
  ResetSwathForLogging();
  Readers().GpsRecordingOn = 1;
  s.ReviewMode = false;
  s.RecordingStartTick = now;
  Readers().Em38RecordCounter = 0;
  Readers().Em38PostEvery = static_cast<int>(Drv().ReadingsPerInterval);
  s.LoggingState = Logging;
  ResetProfileContinuity();
  s.LoggingStartTick = now;
  WriteEventRecord("$STARTED", 'X');
  ScreenUpdate u;
  u.buttons = ButtonSet::Pause;
  u.navEnabled = false;
  u.pausePrompt = Logging;
  u.statusLines = {StatusLine::Logging};
  return u;
}

// --- Pause ---

ScreenUpdate PauseLogging() {
  Session& s = Sess();
  s.LoggingState = StandBy;
  s.MapUpdatesEnabled = false;
  WriteEventRecord(s.MapOverflowState == MapOverflow::AtPageEdge ? "PAUSED BMP" : "PAUSED", 'X');
  // Everything written so far becomes durable; the descriptor stays open for the GPS reader.
  SyncDataFile();
  Readers().Em38RecordCounter = 0;
  Readers().Em38PostEvery = 1;
  s.RecordedTimeBefore = s.RecordedTime;
  Panes().Cond.Drawn = 0;
  Panes().Inph.Drawn = 0;
  ScreenUpdate u;
  u.pausePrompt = StandBy;
  u.buttons = ButtonSet::B;
  if (s.MapVisible) u.navEnabled = true;
  u.statusLines = {StatusLine::StandBy};
  if (s.MapOverflowState == MapOverflow::AtPageEdge) {
    s.MapOverflowState = MapOverflow::Warned;
    u.message = ScreenMessage{"WARNING", kIncreaseMapText, kSoundRing2s};
  }
  return u;
}

// --- Quick Line ---

QuickLineStep PlanQuickLine(const Settings& s) {
  QuickLineStep step;
  step.refusal = NeedsInstrument(s);
  if (!step.refusal) step.question = "New Line: " + NextLineName(s.lineName, s.lineIncrement);
  return step;
}

void AcceptQuickLine() {
  Settings& c = Config();
  Derived& d = Drv();
  Sess().LineReadingCount = 0;
  c.lineName = NextLineName(c.lineName, c.lineIncrement);
  const LineChange ch =
      QuickLineChange(c.lineSequence, d.StationValue, c.startStation, d.StationIncrementInUse, c.lineDirection);
  d.StationValue = ch.station;
  d.StationStarted = 0;
  c.startStation = ch.startStation;
  d.StartStationInUse = ch.startStation;
  d.StationIncrementInUse = ch.stationIncrement;
  c.lineDirection = ch.lineDirection;
  WriteLineBlock();
  WriteTimeMark();
  SaveLoadSettings(Save);
}

// --- New Line ---

void NewLineAccepted() {
  WriteLineBlock();
  WriteTimeMark();
  Sess().LineReadingCount = 0;
}

void KeepLiveMapSizeInSettingsFile() {
  MapSizeForFile = [](int inForce) { return Sess().ReviewMode ? MapState().SavedMapSize : inForce; };
}

// --- Exit ---

bool AfterSessionEnded() {
  Session& s = Sess();
  DeleteAllBackgroundFiles();
  if (!s.ReviewMode) return false;
  s.ReviewMode = false;
  Config().mapSize = MapState().SavedMapSize;
  MapState().PixelsPerUnit = MapState().SavedPixelsPerUnit;
  Config().mapColourView = MapState().SavedColourView;
  return true;
}

ScreenUpdate ReturnToSetupScreen() {
  Drv().StationValue = Drv().SurveyStartStation;
  Drv().StationStarted = 0;
  Sess().ActiveScreen = 0;
  ScreenUpdate u;
  u.buttons = ButtonSet::A;
  return u;
}

}  // namespace obrix
