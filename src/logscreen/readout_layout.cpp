#include "logscreen/readout_layout.h"

#include <algorithm>

namespace obrix {
namespace {

constexpr int kLabelGap = 5;  // between a label and its value field

Rect Field(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

ReadoutRects LayoutColumns(const Rect& area, bool wide, const ReadoutMetrics& m, const ReadoutLabels& labels) {
  ReadoutRects r;
  const int row = std::max(m.labelHeight, m.valueHeight) + 2;
  const int vh = m.valueHeight;
  int y = area.top + 2;
  r.fileName = {area.left + 6, y, area.right - 6, y + m.labelHeight};
  y += row + 4;

  // Counter column: the time and readings rows share the value column of "Tot Time:".
  const int ax = area.left + 8;
  const int ay = y;
  const int countX = ax + m.labelWidth("Tot Time:") + kLabelGap;
  const int lineX = ax + m.labelWidth("Curr. Line:") + kLabelGap;
  const int stationX = ax + m.labelWidth("Station:      ") + kLabelGap;
  const int valueX = std::max({countX, lineX, stationX});
  const int countWidth = std::max({m.valueWidth(kStationTemplate), m.valueWidth(kTotalReadingsTemplate) -
                                   m.labelWidth("# of Stns:"), m.valueWidth("8888888")});
  r.line = {{ax, y}, Field(valueX, y, countWidth, vh)};
  y += row;
  r.station = {{ax, y}, Field(valueX, y, countWidth, vh)};
  y += row;
  r.totalReadings = {{ax, y}, Field(valueX, y, countWidth, vh)};
  y += row;
  r.totalTime = {{ax, y}, Field(valueX, y, m.valueWidth(kTotalTimeTemplate) - m.labelWidth("Tot Time:"), vh)};
  y += row;
  const int counterRight = std::max(r.station.value.right, r.totalTime.value.right);
  r.frames[0] = {area.left + 2, ay - 3, counterRight + 6, y + 1};

  // GPS column.
  int gx = ax;
  int gy = y + 6;
  if (wide) {
    gx = r.frames[0].right + 10;
    gy = ay;
  }
  const int gy0 = gy;
  const int coordX = gx + std::max(m.labelWidth(labels.east), m.labelWidth(labels.north)) + kLabelGap;
  const int coordWidth = m.valueWidth(labels.grid ? kGridTemplate : kGeodeticTemplate);
  const int posX = gx + m.labelWidth("Positions: ") + kLabelGap;
  r.positions = {{gx, gy}, Field(posX, gy, m.valueWidth(kPositionsTemplate) + 4, vh)};
  r.fixQuality = Field(r.positions.value.right + 8, gy, m.valueWidth(kFixQualityTemplate) + 4, vh);
  r.indicator = {r.fixQuality.right + 8, gy + std::max(0, (vh - 10) / 2)};
  gy += row;
  const int dopX = gx + std::max({m.labelWidth(labels.dop), m.labelWidth("PDOP:")}) + kLabelGap;
  r.dop = {{gx, gy}, Field(dopX, gy, std::max(m.valueWidth("88.8"), m.valueWidth("N/A")) + 6, vh)};
  const int satLabelX = r.dop.value.right + 10;
  r.satellites = {{satLabelX, gy}, Field(satLabelX + m.labelWidth("Sat:") + kLabelGap, gy,
                                         m.valueWidth(kSatellitesTemplate) + 4, vh)};
  gy += row;
  r.east = {{gx, gy}, Field(coordX, gy, coordWidth, vh)};
  gy += row;
  r.north = {{gx, gy}, Field(coordX, gy, coordWidth, vh)};
  const int zoneLabelX = r.north.value.right + 8;
  r.zone = {{zoneLabelX, gy}, Field(zoneLabelX + m.labelWidth("Z:") + kLabelGap, gy, m.valueWidth(kZoneTemplate) + 4, vh)};
  gy += row;
  const int speedX = gx + m.labelWidth("Speed:") + kLabelGap;
  r.speed = {{gx, gy}, Field(speedX, gy, m.valueWidth(kSpeedTemplate) - m.labelWidth("Speed:"), vh)};
  gy += row;
  const int gpsRight = std::max({r.zone.value.right, r.speed.value.right, r.indicator.x + 26, r.satellites.value.right});
  r.frames[1] = {gx - 6, gy0 - 3, gpsRight + 6, gy + 1};
  r.writeWarning = {area.left + 6, gy + 4, area.right - 6, gy + 4 + m.labelHeight};
  return r;
}

}  // namespace

ReadoutRects LayoutReadoutRows(const Rect& area, bool wide, const ReadoutMetrics& m, const ReadoutLabels& labels) {
  if (!wide) return LayoutColumns(area, false, m, labels);
  // Side by side only when the GPS column fits across; otherwise one under the other, which at worst runs
  // into the navigation buttons below (idle while logging) rather than over the summary and the pause prompt.
  const ReadoutRects across = LayoutColumns(area, true, m, labels);
  return across.frames[1].right <= area.right ? across : LayoutColumns(area, false, m, labels);
}

}  // namespace obrix
