#include "logscreen/logging_input.h"

#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/session.h"

namespace obrix {
namespace {

using C = LoggingCommand;

// The state column of the command table.
bool Allowed(C c, const LoggingInputContext& x) {
  const bool noFile = x.loggingState == NoFile;
  const bool standBy = x.loggingState == StandBy;
  const bool logging = x.loggingState == Logging;
  switch (c) {
    case C::None:
      return false;
    case C::OpenFile:
      return noFile;
    case C::StartLogging:
    case C::QuickLine:
    case C::NewLine:
    case C::NewStation:
    case C::Comment:
      return standBy;
    case C::Pause:
      return logging;
    case C::Exit:
    case C::Menu:
    case C::NextDefaultButton:
      return !logging;
    case C::Nulling:
    case C::ScaleReadings:
    case C::ScaleSpeedBar:
    case C::ProfileDisplayOptions:
    case C::MapSize:
    case C::MapDisplayOptions:
    case C::GpsWarningMask:
    case C::AudioOptions:
    case C::CoordinatesDisplayUnits:
    case C::RemoveCalibration:
    case C::Calibration:
    case C::EnterBackgroundFiles:
      return !x.reviewMode;
    case C::HideMenu:
    case C::ToggleView:
    case C::RemoveBackgroundFiles:
      return true;
    // Navigation needs an open file and the map on screen, and none of it runs while recording.
    case C::PanLeft:
    case C::PanRight:
    case C::PanUp:
    case C::PanDown:
      return standBy && x.mapVisible;
    case C::EnterReview:
      return standBy && x.mapVisible && !x.reviewMode;
    case C::ZoomIn:
    case C::ZoomOut:
    case C::FitAll:
      return standBy && x.mapVisible && x.reviewMode;
    case C::ExitReview:
      return x.reviewMode && !logging;
  }
  return false;
}

C Checked(C c, const LoggingInputContext& x) { return Allowed(c, x) ? c : C::None; }

C MenuItemCommand(int id) {
  switch (id) {
    case kMenuNewLine: return C::NewLine;
    case kMenuNewStation: return C::NewStation;
    case kMenuComment: return C::Comment;
    case kMenuScaleReadings: return C::ScaleReadings;
    case kMenuScaleSpeedBar: return C::ScaleSpeedBar;
    case kMenuProfileDisplayOptions: return C::ProfileDisplayOptions;
    case kMenuHideMenu: return C::HideMenu;
    case kMenuMapSize: return C::MapSize;
    case kMenuMapDisplayOptions: return C::MapDisplayOptions;
    case kMenuToggleView: return C::ToggleView;
    case kMenuGpsWarningMask: return C::GpsWarningMask;
    case kMenuAudioOptions: return C::AudioOptions;
    case kMenuCoordinatesDisplayUnits: return C::CoordinatesDisplayUnits;
    case kMenuEnterBackgroundFiles: return C::EnterBackgroundFiles;
    case kMenuRemoveBackgroundFiles: return C::RemoveBackgroundFiles;
    default: return C::None;
  }
}

constexpr C kNavCommands[kNavButtonLast - kNavButtonFirst + 1] = {
    C::PanLeft, C::PanRight, C::PanUp, C::PanDown, C::ZoomIn, C::ZoomOut, C::FitAll, C::EnterReview, C::ExitReview};

bool IsPauseKey(const KeyInput& in, int pauseKey) {
  switch (pauseKey) {
    case 1: return in.kind == KeyInput::KeyDown && in.code == VK_RETURN;
    case 2: return in.kind == KeyInput::KeyDown && in.code == VK_SPACE;
    case 3: return in.kind == KeyInput::KeyDown && in.code == 'P';
    default: return true;  // 0 (and any unknown value): any key
  }
}

// A character input: only the zoom characters have a meaning.
C CharCommand(int code) {
  switch (code) {
    case '+':
    case '=': return C::ZoomIn;
    case '-':
    case '_': return C::ZoomOut;
    default: return C::None;
  }
}

C KeyDownCommand(int code, const LoggingInputContext& x) {
  const bool menu = x.menuMode;
  switch (code) {
    case 'F': return x.reviewMode ? C::FitAll : C::OpenFile;
    case 'G':
    case VK_F2: return C::StartLogging;
    case 'Q': return C::QuickLine;
    case 'X': return C::Exit;
    case 'M':
    case VK_F3: return C::Menu;
    case 'E': return x.reviewMode ? C::ExitReview : C::NewLine;
    case 'N': return C::NewStation;
    case 'C': return C::Comment;
    case 'U': return C::Nulling;
    case 'A': return C::ScaleReadings;
    case 'B': return C::ScaleSpeedBar;
    case 'O': return C::ProfileDisplayOptions;
    case 'S': return C::MapSize;
    case 'Y': return C::MapDisplayOptions;
    case 'W': return C::GpsWarningMask;
    case 'T': return C::CoordinatesDisplayUnits;
    case 'V': return C::EnterBackgroundFiles;
    case 'I': return C::EnterReview;
    case 'D': return menu ? C::AudioOptions : C::PanDown;
    case 'R': return menu ? C::RemoveCalibration : C::PanRight;
    case 'L': return menu ? C::Calibration : C::PanLeft;
    case 'P':
    case VK_UP: return C::PanUp;
    case VK_LEFT: return menu ? C::None : C::PanLeft;
    case VK_RIGHT: return menu ? C::None : C::PanRight;
    case VK_DOWN: return menu ? C::None : C::PanDown;
    case VK_TAB: return C::NextDefaultButton;
    default: return C::None;
  }
}

}  // namespace

LoggingInputContext CurrentLoggingInputContext() {
  const Session& sess = Sess();
  const Settings& s = Config();
  LoggingInputContext x;
  x.activeScreen = sess.ActiveScreen;
  x.loggingState = sess.LoggingState;
  x.menuMode = sess.MenuMode;
  x.reviewMode = sess.ReviewMode;
  x.mapVisible = sess.MapVisible;
  x.instrumentEnabled = UsesInstrument(s);
  x.pauseKey = s.pauseKey;
  x.focusedButton = sess.FocusedButton;
  return x;
}

LoggingCommand MainButtonCommand(int id, const LoggingInputContext& x) {
  if (x.loggingState != NoFile && x.loggingState != StandBy && x.loggingState != Logging) return C::None;
  switch (id) {
    case 460:
      return x.loggingState == NoFile ? C::OpenFile : x.loggingState == StandBy ? C::StartLogging : C::Pause;
    case 461:
      if (x.loggingState == Logging) return C::None;
      // Without the instrument the button only reports that Quick Line needs it, in either set.
      if (!x.instrumentEnabled) return C::QuickLine;
      return Checked(x.loggingState == NoFile ? C::MapSize : C::QuickLine, x);
    case 462: return Checked(C::Exit, x);
    case 463: return Checked(C::Menu, x);
    default: return C::None;
  }
}

LoggingCommand DecodeLoggingInput(const KeyInput& in, const LoggingInputContext& x, int notification) {
  if (in.kind == KeyInput::Command) {
    const int id = in.code;
    if (id >= 501 && id <= 521) return x.activeScreen == 1 ? Checked(MenuItemCommand(id), x) : C::None;
    if (id >= kMainButtonFirst && id <= kMainButtonLast) {
      return notification == 0 ? MainButtonCommand(id, x) : C::None;
    }
    if (id >= kNavButtonFirst && id <= kNavButtonLast) return Checked(kNavCommands[id - kNavButtonFirst], x);
    return C::None;
  }

  if (x.activeScreen != 1) return C::None;
  if (x.loggingState == Logging) return IsPauseKey(in, x.pauseKey) ? C::Pause : C::None;
  if (in.kind == KeyInput::Char) return Checked(CharCommand(in.code), x);
  if (in.code == VK_RETURN) {
    if (x.loggingState == Logging) return C::None;
    const int focused = x.focusedButton >= 0 && x.focusedButton <= 3 ? x.focusedButton : 0;
    return MainButtonCommand(kMainButtonFirst + focused, x);
  }
  return Checked(KeyDownCommand(in.code, x), x);
}

}  // namespace obrix
