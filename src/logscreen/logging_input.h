#pragma once
// The command decoder of the logging screen: a button click, a popup-menu item or a key becomes one command,
// checked against the state the command needs.
#include "platform/key_input.h"

namespace obrix {

enum class LoggingCommand : int {
  None = 0,
  OpenFile,
  StartLogging,
  Pause,
  QuickLine,
  Exit,
  Menu,
  NewLine,
  NewStation,
  Comment,
  Nulling,
  ScaleReadings,
  ScaleSpeedBar,
  ProfileDisplayOptions,
  HideMenu,
  ToggleView,
  MapSize,
  MapDisplayOptions,
  GpsWarningMask,
  AudioOptions,
  CoordinatesDisplayUnits,
  RemoveCalibration,
  Calibration,
  EnterBackgroundFiles,
  RemoveBackgroundFiles,
  PanLeft,
  PanRight,
  PanUp,
  PanDown,
  ZoomIn,
  ZoomOut,
  FitAll,
  EnterReview,
  ExitReview,
  NextDefaultButton,
};

// Identifiers of the logging screen's buttons and menu items.
inline constexpr int kMainButtonFirst = 460;  // 460 File/Go/PAUSE, 461 Map Size/QLine, 462 Exit, 463 Menu
inline constexpr int kMainButtonLast = 463;
inline constexpr int kNavButtonFirst = 470;   // Lf, Rt, Up, Dn, Zm+, Zm-, Fit All, Enter Review, Exit Review
inline constexpr int kNavButtonLast = 478;
inline constexpr int kMenuNewLine = 501;
inline constexpr int kMenuNewStation = 502;
inline constexpr int kMenuComment = 503;
inline constexpr int kMenuScaleReadings = 505;
inline constexpr int kMenuScaleSpeedBar = 506;
inline constexpr int kMenuProfileDisplayOptions = 507;
inline constexpr int kMenuHideMenu = 508;
inline constexpr int kMenuMapSize = 509;
inline constexpr int kMenuMapDisplayOptions = 510;
inline constexpr int kMenuToggleView = 511;
inline constexpr int kMenuGpsWarningMask = 512;
inline constexpr int kMenuAudioOptions = 514;
inline constexpr int kMenuCoordinatesDisplayUnits = 515;
inline constexpr int kMenuEnterBackgroundFiles = 518;
inline constexpr int kMenuRemoveBackgroundFiles = 519;

// What the decoding depends on.
struct LoggingInputContext {
  int activeScreen = 1;       // keys and menu items count only while the logging screen is shown (1)
  int loggingState = 0;       // NoFile 0, StandBy -1, Logging 1
  bool menuMode = false;
  bool reviewMode = false;
  bool mapVisible = false;
  bool instrumentEnabled = true;
  int pauseKey = 0;           // 0 any key, 1 Enter, 2 Space, 3 P
  int focusedButton = 0;      // main button with the default style, 0..3
};
// The context of the process-wide session and settings.
LoggingInputContext CurrentLoggingInputContext();

// The command of one input, or None when it has no meaning in this state. Key-down and character inputs are
// decoded alike; `notification` is the notification code of a command input (0 = a button click).
LoggingCommand DecodeLoggingInput(const KeyInput& input, const LoggingInputContext& context, int notification = 0);

// The command of main button 460..463 in the current state.
LoggingCommand MainButtonCommand(int id, const LoggingInputContext& context);

}  // namespace obrix
