// The readout panel of the logging screen: the full repaint into its canvas, the status line, the pause
// prompt, the map title and the fields the handlers rewrite.
#include <QPushButton>
#include <array>
#include <cstdio>
#include <vector>

#include "datafile/data_file.h"
#include "gps/fix_state.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/screen_texts.h"
#include "panes/pane_paint.h"
#include "panes/qt/panes.h"
#include "platform/numbers.h"
#include "platform/qt/canvas_text.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/palette.h"
#include "state/session.h"

namespace obrix {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), int(s.size())); }
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), int(s.size())); }

constexpr Colour kFramePen = Rgb(128, 128, 128);
constexpr Colour kWarningText = Rgb(200, 0, 0);

// The longest start of `text` that fits `width` in the font.
QString Clipped(const QString& text, const QFont& font, int width) {
  QString t = text;
  while (!t.isEmpty() && TextWidth(font, t) > width) t.chop(1);
  return t;
}


bool Meet(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void LogWindow::ForgetFields(const Rect& r) {
  std::erase_if(shownFields_, [&r](const ShownField& f) { return Meet(f.rect, r); });
}

void LogWindow::EraseField(const Rect& r) {
  canvas_.FillRect(r, kButtonFace);
  update(ToQRect(r));
  ForgetFields(r);
}

// Only the field (and the text cell, which may be taller) is shown again; Qt joins the updates of one event.
// A field erased and drawn with the text, font and colour it shows already is left alone.
void LogWindow::DrawField(const Rect& r, const std::string& text, const QFont& font, Colour colour, bool erase) {
  if (erase) {
    for (const ShownField& f : shownFields_)
      if (f.rect == r && f.colour == colour && f.text == text && f.font == font) return;
  }
  // The erased field lies inside what is shown again below.
  if (erase) canvas_.FillRect(r, kButtonFace);
  const QString shown = Clipped(Q(text), font, r.right - r.left);
  const Rect cell = DrawText(canvas_, r.left, r.top, shown, font, TextStyle{colour});
  // A text cell taller or wider than its field draws over its neighbours, whose texts are then no longer known.
  const Rect drawn = shown.isEmpty() ? r : Rect{std::min(r.left, cell.left), std::min(r.top, cell.top),
                                                std::max(r.right, cell.right), std::max(r.bottom, cell.bottom)};
  update(ToQRect(drawn));
  ForgetFields(drawn);
  if (erase) shownFields_.push_back({r, text, font, colour});
}

void LogWindow::DrawLabel(Point p, const std::string& text, const QFont& font) {
  DrawText(canvas_, p.x, p.y, Q(text), font, TextStyle{kWindowText});
}

void LogWindow::ShowStatusLine(StatusLine line) {
  if (line == StatusLine::FileName) {
    DrawField(rects_.fileName, FileLineText(true, DataFile().DataFileBaseName), labelFont_);
  } else {
    const int state = line == StatusLine::NoFile ? NoFile : line == StatusLine::StandBy ? StandBy : Logging;
    DrawField(statusRect_, StateText(state, Config().loggingMode), labelFont_);
  }
}

void LogWindow::ShowPausePrompt(int loggingState) {
  const Rect& r = layout_.pausePrompt;
  EraseField(r);
  if (loggingState == Logging) {
    // The large font on wide screens, unless the lines would not fit the prompt's place.
    const int room = r.right - r.left;
    const bool large = width() >= 1000 &&
                       TextWidth(largeFont_, Q(PausePromptFirstLine())) <= room &&
                       TextWidth(largeFont_, Q(PausePromptSecondLine(Config().pauseKey))) <= room;
    const QFont& font = large ? largeFont_ : labelFont_;
    const int th = TextHeight(font);
    const int cx = (r.left + r.right) / 2;
    const Rect first = DrawTextCentred(canvas_, cx, r.top + th, Q(PausePromptFirstLine()), font,
                                       TextStyle{kWindowText});
    const Rect second = DrawTextCentred(canvas_, cx, r.top + 2 * th, Q(PausePromptSecondLine(Config().pauseKey)),
                                        font, TextStyle{kWindowText});
    update(ToQRect(first));
    update(ToQRect(second));
    ForgetFields(first);
    ForgetFields(second);
  }
}

void LogWindow::ShowMapTitle() {
  EraseField(mapTitleRect_);
  const Session& s = Sess();
  if (s.MapVisible) {
    const Settings& c = Config();
    const std::string title = MapTitleText(s.ReviewMode, c.mapColourView, c.component, c.dipoleMode);
    const int cx = (statusRect_.right + mapCaptionRect_.left) / 2;
    ForgetFields(DrawTextCentred(canvas_, cx, statusRect_.top, Q(title), largeFont_, TextStyle{kWindowText}));
  }
  update();
}

void LogWindow::ShowWriteWarning() {
  const unsigned errors = DataFile().DataFileWriteErrors.load();
  shownWriteErrors_ = errors;
  DrawField(rects_.writeWarning, WriteErrorText(errors), labelFont_, kWarningText);
}

void LogWindow::PaintFrame() {
  const int W = width(), H = height();
  canvas_.SelectPen(SolidPen(1, kFramePen));
  canvas_.MoveTo(10, 10);
  canvas_.LineTo(10, H - 16);
  canvas_.MoveTo(W - 14, H - 16);
  canvas_.LineTo(W - 14, 10);
  canvas_.SelectBrush(SolidBrush(Rgb(200, 200, 200)));
  canvas_.Ellipse(7, 7, 13, 13);
  canvas_.Ellipse(W - 17, 7, W - 11, 13);
  canvas_.Ellipse(7, H - 19, 13, H - 13);
  canvas_.Ellipse(W - 17, H - 19, W - 11, H - 13);
}

void LogWindow::PaintLegend() {
  const Rect& p = layout_.profile;
  const Rect& b = layout_.condBars;
  Rect r{p.right + 3, b.top, b.left - 3, b.bottom};
  if (r.right - r.left < 4) return;
  canvas_.SelectPen(Pens().LegendFramePen);
  canvas_.SelectBrush(HollowBrush());
  canvas_.Rectangle(r);
  const int colours = ColourCount + 1;
  const int band = (r.bottom - r.top - 2) / colours;
  if (band <= 0) return;
  for (int i = ColourCount; i >= 0; --i) {
    const int top = r.top + 1 + (ColourCount - i) * band;
    canvas_.FillRect({r.left + 2, top, r.right - 1, top + band}, ColourTable[i]);
  }
}

void LogWindow::PaintScaleLimits() {
  const Settings& s = Config();
  const Rect& q = layout_.condBars;
  const Rect& i = layout_.inphBars;
  auto centred = [&](const Rect& half, int y, const std::string& text, bool shiftWhenWide) {
    const QString t = Q(text);
    int cx = (half.left + half.right) / 2;
    if (shiftWhenWide && TextWidth(labelFont_, t) > half.right - half.left) cx -= 10;
    DrawTextCentred(canvas_, cx, y, t, labelFont_, TextStyle{kWindowText});
  };
  const int above = q.top - lineHeight_ + 1;
  centred(q, above, CondScaleText(s.condScaleMax), true);
  centred(q, q.bottom + 2, CondScaleText(s.condScaleMin), true);
  centred(i, above, InphScaleText(s.inphScaleMax), false);
  centred(i, i.bottom + 2, InphScaleText(s.inphScaleMin), false);
}

void LogWindow::PaintInstrumentSummary() {
  const Settings& s = Config();
  const Point p = layout_.summary;
  const int L = lineHeight_;
  if (!UsesInstrument(s)) {
    DrawLabel(p, "Instrument", labelFont_);
    DrawLabel({p.x, p.y + L}, "Disabled", labelFont_);
    DrawLabel({p.x, p.y + 2 * L}, "GXY Mode", labelFont_);
    return;
  }
  DrawLabel(p, "Selected for file :", labelFont_);
  DrawLabel({p.x + 7, p.y + L}, s.dipoleMode == 1 ? "Dipole: Horiz." : "Dipole: Vertical", labelFont_);
  const char* comp = s.component == 0 ? "Comp.: Cond." : s.component == 1 ? "Comp.: Inph." : "Comp.: ?";
  DrawLabel({p.x + 7, p.y + 2 * L}, comp, labelFont_);
}

void LogWindow::PaintReadoutLabels() {
  const Settings& s = Config();
  const Session& ss = Sess();
  const ReadoutRects& r = rects_;
  // 7. Rounded frames around the two groups.
  canvas_.SelectPen(SolidPen(1, kFramePen));
  canvas_.SelectBrush(HollowBrush());
  canvas_.RoundRect(r.frames[0].left, r.frames[0].top, r.frames[0].right, r.frames[0].bottom, 10, 10);
  if (UsesGps(s))
    canvas_.RoundRect(r.frames[1].left, r.frames[1].top, r.frames[1].right, r.frames[1].bottom, 10, 10);
  // 9. Line and station.
  DrawLabel(r.line.label, "Curr. Line:", labelFont_);
  DrawField(r.line.value, s.lineName, valueFont_, kWindowText);
  DrawLabel(r.station.label, "Station:      ", labelFont_);
  char buf[64];
  DrawField(r.station.value, FormatC("%-11.2f", Drv().StationValue), valueFont_, kWindowText);
  // 10. GPS rows.
  if (!UsesGps(s)) {
    DrawLabel(r.dop.label, "GPS Disabled", valueFont_);
  } else {
    DrawLabel(r.positions.label, "Positions: ", labelFont_);
    std::snprintf(buf, sizeof buf, "%-6d", Fix().GpsPositionCount);
    DrawField(r.positions.value, buf, valueFont_, kWindowText);
    DrawField(r.fixQuality, "RTS", valueFont_, kWindowText);
    DrawLabel(r.dop.label, DopLabel(s.nmeaFormat, s.slamPseudoGga), labelFont_);
    if (ShowsSatellites(s.nmeaFormat)) DrawLabel(r.satellites.label, "Sat:", labelFont_);
    const bool grid = GridCoordinateLabels(s.coordinatesDisplay, s.nmeaFormat);
    DrawLabel(r.east.label, grid ? "E:" : "Lon:", labelFont_);
    DrawLabel(r.north.label, grid ? "N:" : "Lat:", labelFont_);
    if (ShowsZone(s.coordinatesDisplay)) DrawLabel(r.zone.label, "Z:", labelFont_);
    if (DopNotAvailableAtRepaint(s.nmeaFormat, s.slamPseudoGga)) DrawField(r.dop.value, "N/A", valueFont_, kWindowText);
  }
  // 11. File line.
  DrawField(r.fileName, FileLineText(ss.LoggingState != NoFile && DataFileIsOpen(), DataFile().DataFileBaseName),
            labelFont_, kWindowText);
  // 12. Counters.
  DrawLabel(r.totalReadings.label, "Tot. Stns:", labelFont_);
  std::snprintf(buf, sizeof buf, "%-7d", ss.TotalReadingCount);
  DrawField(r.totalReadings.value, buf, valueFont_, kWindowText);
  DrawLabel(r.totalTime.label, "Tot. Time:", labelFont_);
  const uint32_t secs = ss.RecordedTime / 1000;
  std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", secs / 3600, (secs / 60) % 60, secs % 60);
  DrawField(r.totalTime.value, buf, valueFont_, kWindowText);
  // 13. Speed label and the speed-bar scale in the row above the bar.
  if (UsesGps(s)) {
    DrawLabel(r.speed.label, "Speed:", labelFont_);
    const Rect& bar = layout_.speedBar;
    if (bar.right > bar.left) {
      const int y = bar.top - lineHeight_;
      DrawText(canvas_, bar.left, y, "0.0", labelFont_, TextStyle{kWindowText});
      DrawTextRight(canvas_, bar.right, y, FormatC("%0.1f", s.speedScaleMax).c_str(), labelFont_, TextStyle{kWindowText});
    }
  }
}

void LogWindow::Repaint() {
  const Settings& s = Config();
  const Session& ss = Sess();
  canvas_.Clear(kButtonFace);
  TextBatch texts(canvas_);
  shownFields_.clear();
  // 1. Map caption.
  if (ss.MapVisible) {
    const std::string caption = MapCaptionText(s.mapUnits, s.mapSize);
    EraseField(mapCaptionRect_);
    DrawTextRight(canvas_, mapCaptionRect_.right, mapCaptionRect_.top, Q(caption), labelFont_, TextStyle{kWindowText});
  }
  // 2. Map title, 3. frame, 4. legend.
  ShowMapTitle();
  PaintFrame();
  if (s.mapColourView > 0 && UsesGps(s) && ss.MapVisible) PaintLegend();
  // 5. State text.
  DrawField(statusRect_, StateText(ss.LoggingState, s.loggingMode), labelFont_, kWindowText);
  // 6. Scale limits of the bars.
  if (UsesInstrument(s)) PaintScaleLimits();
  // 7..13. Readouts and summary.
  PaintInstrumentSummary();
  PaintReadoutLabels();
  if (ss.LoggingState == Logging) ShowPausePrompt(Logging);
  ShowWriteWarning();
  // Texts drawn after a field may cover it: every field draws afresh next time.
  shownFields_.clear();
  update();
  setFocus();
}

// --- Fields the handlers rewrite ---

void LogWindow::ShowFixReadouts(const FixScreenReadouts& r) {
  TextBatch texts(canvas_);
  const ReadoutRects& f = rects_;
  auto put = [&](const ReadoutField& field, const Rect& rect) {
    if (field.written) DrawField(rect, field.text.str(), valueFont_, kWindowText);
  };
  const Settings& s = Config();
  if (ShowsSatellites(s.nmeaFormat)) put(r.decoded.satellites, f.satellites.value);
  put(r.decoded.quality, f.fixQuality);
  put(r.decoded.dop, f.dop.value);
  put(r.decoded.north, f.north.value);
  put(r.decoded.east, f.east.value);
  if (ShowsZone(s.coordinatesDisplay)) put(r.zone, f.zone.value);
  put(r.speed, f.speed.value);
  put(r.positions, f.positions.value);
}

void LogWindow::ShowDopReadout(const ReadoutText& dop) {
  DrawField(rects_.dop.value, dop.str(), valueFont_, kWindowText);
}

void LogWindow::DrawGpsIndicator(char phase, bool maskMet) {
  const Colour mask = maskMet ? kIndicatorNormalColour : kIndicatorWarningColour;
  DrawIndicatorCircles(phase == '/' ? mask : kIndicatorOffColour, phase == '/' ? kIndicatorOffColour : mask);
}

void LogWindow::DrawIndicatorCircles(Colour first, Colour second) {
  const Point p = rects_.indicator;
  canvas_.SelectPen(SolidPen(1, kWindowText));
  canvas_.SelectBrush(SolidBrush(first));
  canvas_.Ellipse(p.x, p.y, p.x + 10, p.y + 10);
  canvas_.SelectBrush(SolidBrush(second));
  canvas_.Ellipse(p.x + 14, p.y, p.x + 24, p.y + 10);
  update(QRect(p.x - 1, p.y - 1, 27, 13));
  ForgetFields({p.x - 1, p.y - 1, p.x + 26, p.y + 12});
}

void LogWindow::PaintGpsLinkWarning() {
  const Settings& s = Config();
  const ReadoutRects& f = rects_;
  // The indicator's two circles, the position fields in use, DOP and satellites; the quality keeps its text.
  DrawIndicatorCircles(kIndicatorWarningColour, kIndicatorWarningColour);
  std::vector<const Rect*> fields = {&f.east.value, &f.north.value, &f.dop.value};
  if (ShowsZone(s.coordinatesDisplay)) fields.push_back(&f.zone.value);
  if (ShowsSatellites(s.nmeaFormat)) fields.push_back(&f.satellites.value);
  for (const Rect* r : fields) {
    canvas_.FillRect(*r, kReadoutWarningColour);
    update(ToQRect(*r));
    ForgetFields(*r);
  }
}

void LogWindow::ShowSpeedOnBar(double shownSpeed) { obrix::ShowSpeedOnBar(shownSpeed); }

void LogWindow::RepaintNumbersPane() {
  const InstrumentReadout& r = lastInstrument_;
  const std::array<NumbersLine, kNumbersLines> lines = {{{Q(r.dipole.view()), r.dipoleWarning},
                                                         {Q(r.gain.view()), false},
                                                         {Q(r.value.view()), r.componentWarning},
                                                         {Q(lastMarker_.view()), false}}};
  ShowNumbers(lines, ReadoutBackgroundColour(r.background), valueFont_, lineHeight_);
}

void LogWindow::ShowInstrumentReadout(const InstrumentReadout& readout) {
  lastInstrument_ = readout;
  RepaintNumbersPane();
}

void LogWindow::ShowMarker(const ReadoutText& marker) {
  // Every reading sends its marker after its readout, which painted the pane already.
  if (marker.view() == lastMarker_.view()) return;
  lastMarker_ = marker;
  RepaintNumbersPane();
}

void LogWindow::ShowReadingReadouts(const ReadingReadouts& r) {
  TextBatch texts(canvas_);
  DrawField(rects_.station.value, r.station.str(), valueFont_, kWindowText);
  DrawField(rects_.totalReadings.value, r.totalReadings.str(), valueFont_, kWindowText);
  DrawField(rects_.totalTime.value, r.recordedTime.str(), valueFont_, kWindowText);
  if (DataFile().DataFileWriteErrors.load() != shownWriteErrors_) ShowWriteWarning();
}

void LogWindow::ScrollProfile(const DisplayPixels& pixels, std::span<const int, kProfileChannels> present) {
  ScrollProfilePane(pixels, present);
}

void LogWindow::UpdateBars(const DisplayPixels& pixels) { UpdateBarPanes(pixels); }

}  // namespace obrix
