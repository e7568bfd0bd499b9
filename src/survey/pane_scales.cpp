#include "survey/pane_scales.h"

#include <cmath>
#include <cstdlib>

#include "platform/numbers.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

namespace {

constexpr double kDefaultCondMin = 0.0, kDefaultCondMax = 500.0;
constexpr double kDefaultInphMin = -25.0, kDefaultInphMax = 25.0;

void FixedGrid(GridRows& rows, int h) {
  rows = {};
  rows[0] = 4;
  for (int i = 1; i <= 4; ++i) rows[i] = TruncToInt(h - (h + 1) * (0.2 * i));
}

// trunc(q + 0.5) of the side ratio; 0 when the quotient has no finite value.
int Ratio(double num, double den) {
  if (den == 0) return 0;
  const double q = num / den;
  if (!std::isfinite(q)) return 0;
  return TruncToInt(q + 0.5);
}

}  // namespace

int BarBaselineRow(int baseline, int zeroRow, int height) {
  if (baseline == BaselineTop) return 0;
  if (baseline == BaselineZero) return zeroRow;
  return height;
}

int ValueRow(double max, double v, double factor) { return TruncToInt((max - v) * factor); }

double ScaleFactor(int height, double min, double max) {
  const double range = max - min;
  if (!(range > 0) || !std::isfinite(range)) return 0.0;
  return height / range;
}

int ComputeGridRows(GridRows& rows, int h, double min, double max, double f) {
  if (!ScaleSpansZero(min, max)) {
    FixedGrid(rows, h);
    return max <= 0 && !(min >= 0) ? BaselineTop : BaselineBottom;
  }
  rows = {};
  const int z = TruncToInt(max * f);
  rows[1] = z;
  int r;
  double a, b;  // small side, large side
  if (z < h / 2) {
    r = z == 0 ? 0 : Ratio(double(h) - z, z);
    a = std::fabs(max);
    b = std::fabs(min);
  } else {
    r = z == h ? 0 : Ratio(z, double(h) - z);
    a = std::fabs(min);
    b = std::fabs(max);
  }
  if (r <= 0) {
    FixedGrid(rows, h);
    return BaselineZero;
  }
  const double s = r > 4 ? b / 5 : r == 1 ? a / 4 : b / r;
  int next = 2;
  for (int k = 1; next < kGridRowsSize; ++k) {
    const int row = TruncToInt((max - k * s) * f);
    if (row <= 0) break;
    rows[next++] = row;
  }
  for (int k = 1; next < kGridRowsSize; ++k) {
    const int row = TruncToInt((max + k * s) * f);
    if (row >= h) break;
    rows[next++] = row;
  }
  rows[0] = next - 1;
  return BaselineZero;
}

bool GridHasZeroLine(int height, double min, double max, double factor) {
  if (!ScaleSpansZero(min, max)) return false;
  const int z = TruncToInt(max * factor);
  return z > 0 && z < height;
}

ProfileGridScale SelectedProfileScale() {
  const Settings& s = Config();
  const PaneState& p = Panes();
  if (s.profileGridChannel == 1) return {s.inphScaleMin, s.inphScaleMax, p.InphProfileFactor};
  return {s.condScaleMin, s.condScaleMax, p.CondProfileFactor};
}

void UpdateProfileGrid() {
  PaneState& p = Panes();
  const ProfileGridScale g = SelectedProfileScale();
  const int baseline = ComputeGridRows(p.ProfileGridRows, p.ProfileHeight, g.min, g.max, g.factor);
  (Config().profileGridChannel == 1 ? p.InphBaseline : p.CondBaseline) = baseline;
}

namespace {

void ComputeScales(double condMin, double condMax, double inphMin, double inphMax, int gridChannel) {
  PaneState& p = Panes();
  p.CondProfileFactor = ScaleFactor(p.ProfileHeight, condMin, condMax);
  p.InphProfileFactor = ScaleFactor(p.ProfileHeight, inphMin, inphMax);
  p.CondBarFactor = ScaleFactor(p.BarHeight, condMin, condMax);
  p.InphBarFactor = ScaleFactor(p.BarHeight, inphMin, inphMax);
  if (gridChannel == 1)
    p.InphBaseline = ComputeGridRows(p.ProfileGridRows, p.ProfileHeight, inphMin, inphMax, p.InphProfileFactor);
  else
    p.CondBaseline = ComputeGridRows(p.ProfileGridRows, p.ProfileHeight, condMin, condMax, p.CondProfileFactor);
  p.CondBaseline = ComputeGridRows(p.CondBarGridRows, p.BarHeight, condMin, condMax, p.CondBarFactor);
  p.InphBaseline = ComputeGridRows(p.InphBarGridRows, p.BarHeight, inphMin, inphMax, p.InphBarFactor);
  // Bars of baseline 0 start at the row of the value 0, also where the grid fell back to the fixed rows.
  p.CondBarZeroRow = TruncToInt(condMax * p.CondBarFactor);
  p.InphBarZeroRow = TruncToInt(inphMax * p.InphBarFactor);
}

}  // namespace

void UpdatePaneScales() {
  const Settings& s = Config();
  ComputeScales(s.condScaleMin, s.condScaleMax, s.inphScaleMin, s.inphScaleMax, s.profileGridChannel);
}

void InitPaneScales() {
  ComputeScales(kDefaultCondMin, kDefaultCondMax, kDefaultInphMin, kDefaultInphMax, 0);
  InstallScaleLimitsHook();
}

void InstallScaleLimitsHook() { OnScaleLimitsLoaded = [] { UpdatePaneScales(); }; }

void PlaceBars(int c) {
  PaneState& p = Panes();
  const double u = ((c - 2) / 2.0 - 2) / 21;
  p.BarWidth = TruncToInt(9 * u + 0.5);
  p.BarX[0] = TruncToInt(u + 0.5);
  p.BarX[1] = TruncToInt(p.BarX[0] + 9 * u + u + 0.5);
  p.BarPaneWidth = (c - 2) / 2;
}

void UpdateSpeedBarScale() {
  PaneState& p = Panes();
  const double full = Config().speedScaleMax;
  p.SpeedBarScale = full > 0 && std::isfinite(full) ? p.SpeedBarWidth / full : 0.0;
}

int SpeedBarEmptyWidth(double shownSpeed) {
  return TruncToInt((Config().speedScaleMax - shownSpeed) * Panes().SpeedBarScale);
}

void ApplyProfileGridChannelAtEntry() {
  Settings& s = Config();
  if (s.component == 1) s.profileGridChannel = 1;
  else if (s.component == 2) s.profileGridChannel = 0;
}

DisplayPixels ToDisplayPixels(std::span<const double, kProfileChannels> v) {
  const Settings& s = Config();
  const PaneState& p = Panes();
  DisplayPixels out;
  for (int c = 0; c < 2; ++c) out.profileRows[c] = ValueRow(s.condScaleMax, v[c], p.CondProfileFactor);
  for (int c = 2; c < 4; ++c) out.profileRows[c] = ValueRow(s.inphScaleMax, v[c], p.InphProfileFactor);
  for (int k = 0; k < 2; ++k) {
    out.condBarRows[k] = ValueRow(s.condScaleMax, v[k], p.CondBarFactor);
    out.inphBarRows[k] = ValueRow(s.inphScaleMax, v[2 + k], p.InphBarFactor);
  }
  return out;
}

}  // namespace obrix
