// The map pane of the logging screen: the map's texts and busy indicator drawn with fonts, each fix drawn on
// the pane, and the views the commands show again.
#include <QTimer>

#include "background/bg_file_draw.h"
#include "background/qt/bg_labels.h"
#include "gps/fix_state.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/screen_texts.h"
#include "map/map_grid.h"
#include "map/map_hooks.h"
#include "map/map_pages.h"
#include "map/map_redraw.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "panes/qt/panes.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/message_box.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "state/session.h"

namespace obrix {
namespace {

constexpr int kBusySteps = 5;
constexpr int kBusyCircle = 8;  // diameter of one indicator circle
constexpr int kBusyGap = 3;

// A map text in the large map font, centred on the page area of the pane, over a cleared pane.
void DrawMapText(Canvas& pane, const char* text) {
  ClearMapPane(pane);
  const QFont font = SystemFont(28, 600);
  const int w = PageWidth(), h = PageHeight();
  const int left = (w - 1) / 2 - TextWidth(font, text) / 2;
  DrawText(pane, left, (h - 1) / 2, text, font, TextStyle{kTextGrey});
}

}  // namespace

Canvas& LogWindow::mapCanvas() { return map_->canvas(); }

void LogWindow::InstallMapHooks() {
  MapHooks& h = MapScreenHooks();
  // The long redraws that follow run on this thread: the text and the busy indicator are painted at once
  // (repaint() handles no other event, so no input is taken while the map is being redrawn).
  h.ShowPleaseWait = [this](Canvas& pane) {
    if (!Sess().MapVisible) return;
    DrawMapText(pane, "Please Wait");
    map_->repaint();
  };
  h.ShowWaitingForFix = [this](Canvas& pane) {
    DrawMapText(pane, "Waiting for the first valid GPS position");
    map_->update();
  };
  h.AdvanceBusyIndicator = [this] { AdvanceBusyIndicator(); };
  h.ShowMapSizeCaption = [this] { ShowMapSizeCaption(); };
  h.RefreshProfilePane = [] { RedrawProfilePaneFromData(); };
  h.RepaintScreen = [this] { Repaint(); };
  // UWM_MAP_LIMIT takes the default processing: MapOverflowState carries the overflow to Pause and Go.
  h.MapLimitReached = nullptr;
  // Pages that lost their base drawings get the background files again.
  h.RedrawBackgroundFiles = RedrawAllBackgrounds;
  InstallBgLabelFont(labelFont_);
}

void LogWindow::ResetMapForSession() {
  // The edge band follows the map side, which the settings load at the screen's creation did not know yet.
  Drv().CursorBandPx = CursorBandPixels(Config().cursorBandIndex, Drv().MapPaneWidth);
  ResetMapFrame();
  ResetSwathTrack();
  busyStep_ = 0;
}

void LogWindow::ResetMapView() {
  MapFrame& f = Frame();
  const int side = Drv().MapPaneWidth;
  f.ViewBounds = {0, side - 1, 0, side - 1};
  UpdatePixelsPerUnit();
  ChooseSwathMethod();
}

void LogWindow::PrepareMapPane() {
  UpdateCursorSizes();
  UpdateGridSpacing();
  if (MapScreenHooks().ShowWaitingForFix) MapScreenHooks().ShowWaitingForFix(mapCanvas());
}

void LogWindow::UpdateMapPosition(int loggingState, double northing, double easting, double distance) {
  const Rect r = obrix::UpdateMapPosition(mapCanvas(), loggingState, northing, easting, distance);
  if (r.left < r.right && r.top < r.bottom) map_->update(ToQRect(r));
}

void LogWindow::RedrawMapFrame() {
  const Session& s = Sess();
  if (!s.MapVisible) return;
  Canvas& pane = mapCanvas();
  const MapFrame& f = Frame();
  if (f.MapInitialised == 0) {
    DrawMapText(pane, "Waiting for the first valid GPS position");
  } else if (s.ReviewMode) {
    ShowView(pane, f.ReviewView);
  } else {
    ShowView(pane, f.LiveView);
    DrawCursor(pane, f.CursorPos.x, f.CursorPos.y);
  }
  map_->update();
}

void LogWindow::ShowMapSizeCaption() {
  if (!Sess().MapVisible) return;
  const Settings& c = Config();
  EraseField(mapCaptionRect_);
  ForgetFields(DrawTextRight(canvas_, mapCaptionRect_.right, mapCaptionRect_.top,
                             QString::fromStdString(MapCaptionText(c.mapUnits, c.mapSize)), labelFont_,
                             TextStyle{kWindowText}));
  update();
}

Rect LogWindow::BusyIndicatorRect() const {
  const int right = mapCaptionRect_.left - 6;
  const int width = kBusySteps * (kBusyCircle + kBusyGap) + kBusyGap;
  const int top = mapCaptionRect_.top + 2;
  return {right - width, top, right, top + kBusyCircle + 2};
}

void LogWindow::AdvanceBusyIndicator() {
  const Rect r = BusyIndicatorRect();
  canvas_.FillRect(r, Pens().WhiteBrush);
  const int x = r.left + kBusyGap + busyStep_ * (kBusyCircle + kBusyGap);
  canvas_.SelectPen(Pens().GreyPen);
  canvas_.SelectBrush(Pens().GreyBrush);
  canvas_.Ellipse(x, r.top + 1, x + kBusyCircle, r.top + 1 + kBusyCircle);
  busyStep_ = (busyStep_ + 1) % kBusySteps;
  ForgetFields(r);
  repaint(ToQRect(r));
}

void LogWindow::ShowMapMessages(const std::vector<MapMessage>& messages) {
  for (const MapMessage& m : messages) ShowMessage(m.templateName.c_str(), m.title, m.text, this);
}

}  // namespace obrix
