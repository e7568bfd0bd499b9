#pragma once
// The logging screen "ScreenLogWnd": panes, button sets, the survey state machine, the readout panel painted
// into its canvas, the commands, and the screen sink the GPS and EM38 handlers draw through.
#include <QFont>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "logscreen/logging_input.h"
#include "logscreen/readout_layout.h"
#include "logscreen/screen_layout.h"
#include "logscreen/session_commands.h"
#include "platform/canvas.h"
#include "platform/font_set.h"
#include "platform/key_input.h"
#include "survey/screen_sink.h"

class QPushButton;

namespace obrix {

class CanvasWidget;
class ReaderBridge;
struct MapMessage;

inline constexpr int kLogScreenId = 4;
inline constexpr int kMapPaneId = 652;

class LogWindow : public QWidget, public LoggingScreenSink {
 public:
  // `client` is the client size of the main window; `setupButtons` shows or hides the setup screen's buttons
  // and `repaintSetup` repaints it (the Exit command hands the keyboard back to it).
  LogWindow(QWidget* parent, QSize client, const FontSet& fonts, bool portrait, bool largeScreen);
  ~LogWindow() override;

  void SetSetupHooks(std::function<void(bool)> setupButtons, std::function<void()> repaintSetup);

  // Key and command input as the decoder receives it.
  void HandleInput(const KeyInput& input, int notification = 0);
  void RunCommand(LoggingCommand command);

  // Session start and end (the Logging command of the setup screen, EndLoggingSession).
  void PrepareForSession();        // lays the screen out for the current settings, state NoFile
  void StartReaders(bool em38, bool gps);  // the EM38 reader now, the GPS reader once the screen is shown
  void StartGpsReader();
  void StopReaders();
  void StartTimer();
  void StopTimer();
  void EnterScreen();              // shows the screen with set A (enabled without GPS)
  void LeaveScreen();              // hides it
  int EndSession(int silent);      // EndLoggingSession

  // Re-layout for the current view (portrait or landscape, map shown or not), with the readout sets.
  void Relayout();
  // The full repaint into the canvas (PaintLoggingWindow), then shown.
  void Repaint();
  void ShowStatusLine(StatusLine line);
  void ShowPausePrompt(int loggingState);
  void ShowMapTitle();
  void ShowWriteWarning();

  // Button sets.
  void ShowButtonSet(ButtonSet set);
  void SetFocusedButton(int index);
  void EnableNavButtons(bool enable);
  QPushButton* mainButton(int set, int slot) const;  // set 1 (A) or 2 (B), slot 0..3
  QPushButton* pauseButton() const { return pause_; }
  QPushButton* navButton(int index) const { return nav_[index]; }
  CanvasWidget* mapPane() const { return map_; }
  Canvas& mapCanvas();
  Canvas& canvas() { return canvas_; }
  const ScreenLayout& layout() const { return layout_; }
  const ReadoutRects& readoutRects() const { return rects_; }
  // The texts of the strip above the panes: the status line, the map title and the map size caption.
  const Rect& statusRect() const { return statusRect_; }
  const Rect& mapTitleRect() const { return mapTitleRect_; }
  const Rect& mapCaptionRect() const { return mapCaptionRect_; }
  ReaderBridge* bridge() const { return bridge_.get(); }

  // LoggingScreenSink.
  void ShowFixReadouts(const FixScreenReadouts& readouts) override;
  void ShowDopReadout(const ReadoutText& dop) override;
  void DrawGpsIndicator(char phase, bool maskMet) override;
  void ShowSpeedOnBar(double shownSpeed) override;
  void EnableFileButtons() override;
  void UpdateMapPosition(int loggingState, double northing, double easting, double distance) override;
  void RequestPositionLimitExit() override;
  void ShowInstrumentReadout(const InstrumentReadout& readout) override;
  void ShowReadingReadouts(const ReadingReadouts& readouts) override;
  void ScrollProfile(const DisplayPixels& pixels, std::span<const int, kProfileChannels> present) override;
  void UpdateBars(const DisplayPixels& pixels) override;
  void ShowMarker(const ReadoutText& marker) override;
  // The GPS readouts in the warning colour while the link is broken.
  void PaintGpsLinkWarning();

  // The map pane (log_map.cpp).
  void InstallMapHooks();
  void ResetMapForSession();  // every page discarded, review off, swath tracking afresh
  void ResetMapView();        // view bounds, scale and swath method afresh when the GPS starts
  void PrepareMapPane();      // "Waiting for the first valid GPS position" until the first fix
  void RedrawMapFrame();      // the current view (and the cursor in the live view) shown again
  void ShowMapSizeCaption();
  void AdvanceBusyIndicator();
  Rect BusyIndicatorRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void CreateButtons();
  void PlaceButtons();
  void OnTimer();
  void UpdateNavVisibility();
  // Drawing helpers.
  void EraseField(const Rect& r);  // also forgets the texts shown in fields that meet r
  void ForgetFields(const Rect& r);  // anything drawn over r: the fields it meets draw again
  void DrawField(const Rect& r, const std::string& text, const QFont& font, Colour colour = 0, bool erase = true);
  void DrawLabel(Point p, const std::string& text, const QFont& font);
  void DrawIndicatorCircles(Colour first, Colour second);
  void PaintReadoutLabels();
  void PaintInstrumentSummary();
  void PaintScaleLimits();
  void PaintLegend();
  void PaintFrame();
  void RepaintNumbersPane();

  // Commands (log_commands.cpp).
  void Show(const ScreenUpdate& update);
  void OpenFile();
  bool OpenExistingFile();
  void StartLogging();
  void Pause();
  void QuickLine();
  void NewLine();
  void NewStation();
  void Comment();
  void Exit();
  void Menu();
  void HideMenu();
  void ScaleReadings();
  void ScaleSpeedBar();
  void ProfileDisplayOptions();
  void ToggleView();
  void MapSize();
  void MapDisplayOptions();
  void GpsWarningMask();
  void AudioOptions();
  void CoordinatesUnits();
  void EnterBackgroundFiles();
  void RemoveBackgroundFiles();
  void Navigate(LoggingCommand command);
  void EnterReview();
  void ExitReview();
  void Information(const char* text);
  bool MapCommandRefused();
  void FinishCommand();
  void ShowMapMessages(const std::vector<MapMessage>& messages);

  QFont labelFont_, valueFont_, largeFont_, buttonFont_;
  bool portrait_ = false;
  bool largeScreen_ = false;
  int lineHeight_ = 18;
  Canvas canvas_;
  ScreenLayout layout_;
  ReadoutRects rects_;
  ReadoutRects rectSets_[2];  // map hidden, map visible
  Rect statusRect_, mapCaptionRect_, mapTitleRect_;
  std::array<QPushButton*, 4> setA_{};  // by layout slot
  std::array<QPushButton*, 4> setB_{};
  QPushButton* pause_ = nullptr;
  std::array<QPushButton*, kNavButtonCount> nav_{};
  std::array<QPushButton*, 2> channel_{};
  CanvasWidget* map_ = nullptr;
  ButtonSet shownSet_ = ButtonSet::A;
  // The text each field shows since it was last drawn, so that a handler rewriting the same text draws nothing.
  struct ShownField {
    Rect rect;
    std::string text;
    QFont font;
    Colour colour = 0;
  };
  std::vector<ShownField> shownFields_;
  InstrumentReadout lastInstrument_;
  ReadoutText lastMarker_;
  unsigned shownWriteErrors_ = 0;
  QTimer timer_;
  std::unique_ptr<ReaderBridge> bridge_;
  std::function<void(bool)> setupButtons_;
  std::function<void()> repaintSetup_;
  int positionLimitRequested_ = 0;
  int busyStep_ = 0;
};

// The logging screen of the program, nullptr before the setup screen created it.
LogWindow* TheLogWindow();

}  // namespace obrix
