#include "logscreen/qt/log_session.h"

#include "background/background_list.h"
#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "em38/reading_rate.h"
#include "gps/fix_state.h"
#include "gps/nmea_table.h"
#include "gps/reading_bins.h"
#include "logscreen/qt/log_window.h"
#include "panes/qt/panes.h"
#include "platform/message_box.h"
#include "platform/qt/message_box.h"
#include "platform/ticks.h"
#include "serial/em38_reader.h"
#include "serial/port_access.h"
#include "serial/qt/reader_bridge.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/session.h"
#include "state/session_end.h"
#include "survey/fix_handler.h"
#include "survey/pane_scales.h"
#include "survey/reading_handler.h"

namespace obrix {
namespace {

void ClearSessionCounters() {
  Session& s = Sess();
  s.LineReadingCount = 0;
  s.TotalReadingCount = 0;
  s.RecordedTime = 0;
  s.RecordedTimeBefore = 0;
  s.RecordingStartTick = 0;
}

// Map and position counters of a session.
void ResetSessionPositions() {
  FixState& f = Fix();
  f.GpsPositionCount = 0;
  f.PositionLimitExitPending = false;
}

void ClosePorts() {
  CloseInstrumentPort();
  CloseGpsPort();
}

}  // namespace

int StartLoggingSession(QWidget* setup, LogWindow& log) {
  Settings& c = Config();
  Session& s = Sess();
  // 1. The session's starting values.
  ClearSessionCounters();
  ResetBins();
  ResetBackgrounds();
  s.MapVisible = UsesGps(c);
  if (!UsesGps(c)) c.mapColourView = 0;
  s.ReviewMode = false;
  s.MenuMode = false;
  s.MapOverflowState = MapOverflow::None;
  s.LoggingState = NoFile;
  PrepareFixHandling(c.gpsInput);
  Readers().GpsRecordingOn = 0;
  Readers().GpsLineCounter = 0L;
  Readers().Em38PostEvery = 1;
  Readers().Em38RecordCounter = 0;
  BuildNmeaTable();
  ApplyProfileGridChannelAtEntry();
  PrepareReadingHandling();
  log.PrepareForSession();
  log.ResetMapForSession();
  UpdatePaneScales();

  // 4, 5. Ports; a failure has been reported and nothing stays open.
  InstallPortMessages(setup);
  if (OpenLoggingPorts() == 0) {
    s.LoggingState = Closed;
    return 0;
  }
  // 6. Record format of the instrument.
  if (UsesInstrument(c) && CheckInstrument() == 0) {
    ShowMessage(kMessageOk, kConnectionIssueTitle, kConnectionIssueText, setup);
    ClosePorts();
    s.ActiveScreen = 0;
    s.LoggingState = Closed;
    return 0;
  }
  // A set rate the learnt record form cannot deliver: the operator is told what is recorded.
  if (UsesInstrument(c)) {
    const std::string notice = EffectiveRateNotice(c.readingInterval, Drv().InstrumentPeriodMs);
    if (!notice.empty()) ShowMessage(kMessageOk, "INFORMATION", notice, setup);
  }
  // 7. The instrument reader and the screen's timer.
  log.StartReaders(UsesInstrument(c), UsesGps(c));
  if (UsesInstrument(c)) DelayMs(50);
  log.StartTimer();
  // 8. GPS.
  if (UsesGps(c)) {
    Fix().GpsPositionLimit = kGpsPositionLimit;
    log.ResetMapView();
  }
  // 9. Hand over to the logging screen.
  Drv().EnableFileAtFirstFix = UsesGps(c);
  if (!UsesInstrument(c)) c.mapColourView = 0;
  s.ActiveScreen = 1;
  log.Relayout();
  log.EnterScreen();
  DelayMs(20);
  s.MapUpdatesEnabled = true;
  log.Repaint();
  InvalidateLogPanes(kAllPanes);
  if (UsesGps(c)) {
    log.PrepareMapPane();
    log.StartGpsReader();
  }
  return 1;
}

int LogWindow::EndSession(int silent) {
  Session& s = Sess();
  const Settings& c = Config();
  s.MapUpdatesEnabled = false;
  if (s.LoggingState == Closed) return 1;
  if (s.LoggingState != NoFile && DataFileIsOpen() && silent != 1) {
    if (ShowMessage(kMessageYesNo, "Confirm Exit", "Exit Logging?", this) != IDOK) {
      s.LoggingState = StandBy;
      Repaint();
      InvalidateLogPanes(kAllPanes);
      setFocus();
      return 0;
    }
  }
  StopTimer();
  // The readers stop before the file and the ports close, so no thread writes to a closed descriptor.
  StopReaders();
  ClosePorts();
  // Closing while recording (the program is ending) pauses first, so the survey ends as a pause does.
  if (s.LoggingState == Logging) {
    WriteEventRecord(s.MapOverflowState == MapOverflow::AtPageEdge ? "PAUSED BMP" : "PAUSED", 'X');
  }
  CloseDataFile();
  Readers().GpsRecordingOn = 0;
  ClearSessionCounters();
  ResetSessionPositions();
  ResetBins();
  DataFile().DataFileBaseName.clear();
  Drv().AlongOffsetInUse = c.alongOffset;
  s.LoggingState = Closed;
  LeaveScreen();
  if (repaintSetup_) repaintSetup_();
  return 1;
}

void InstallSessionEnd(LogWindow* log) {
  if (!log) {
    SetSessionEndHandler(nullptr);
    return;
  }
  SetSessionEndHandler([log](int silent) { return log->EndSession(silent); });
}

}  // namespace obrix
