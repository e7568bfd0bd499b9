#include "export/grid_input.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>


namespace obrix {
namespace {

double Median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  const size_t mid = v.size() / 2;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
  return v[mid];
}

// The nearest (by ratio) of 1, 2, 2.5 or 5 times a power of ten.
double Nice(double v) {
  if (!(v > 0) || !std::isfinite(v)) return 1.0;
  const double p = std::pow(10.0, std::floor(std::log10(v)));
  double best = p;
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (std::fabs(std::log(m * p / v)) < std::fabs(std::log(best / v))) best = m * p;
  return best;
}

}  // namespace

void GridCollector::Add(const ExportRow& row) {
  ++input_.readings;
  if (!row.positioned || row.channel < 0 || row.channel > 3) return;
  SetFrame(frame_, row.zone > 0, row.zone, row.north, row.mapUnits);
  double x = 0.0, y = 0.0;
  if (!FramePosition(frame_, row, x, y)) return;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(row.value)) return;
  GridPoints& p = channels_[row.channel];
  double path = 0.0;
  if (havePrevious_[row.channel]) path = p.path.back() + std::hypot(x - p.x.back(), y - p.y.back());
  havePrevious_[row.channel] = true;
  p.x.push_back(x);
  p.y.push_back(y);
  p.z.push_back(row.value);
  p.path.push_back(path);
}

GridInput GridCollector::Take() {
  int best = 0;
  for (int c = 1; c < 4; ++c)
    if (channels_[c].x.size() > channels_[best].x.size()) best = c;
  input_.geographic = frame_.geographic;
  input_.zone = frame_.zone;
  input_.north = frame_.north;
  input_.mapUnits = frame_.mapUnits;
  input_.channel = best;
  input_.conductivity = best < 2;
  input_.points = std::move(channels_[best]);
  input_.positioned = static_cast<int64_t>(input_.points.x.size());
  return std::move(input_);
}

bool ParseGridMethod(const std::string& name, GridMethod& method) {
  for (GridMethod m : {GridMethod::Idw, GridMethod::Nearest, GridMethod::Linear, GridMethod::Average}) {
    if (name == GridMethodName(m)) {
      method = m;
      return true;
    }
  }
  return false;
}

const char* GridMethodName(GridMethod method) {
  switch (method) {
    case GridMethod::Nearest: return "nearest";
    case GridMethod::Linear: return "linear";
    case GridMethod::Average: return "average";
    case GridMethod::Idw: break;
  }
  return "idw";
}

SurveySpacing MeasureSpacing(const GridPoints& p) {
  SurveySpacing s;
  const size_t n = p.x.size();
  if (n < 2) return s;
  std::vector<double> steps;
  steps.reserve(n);
  for (size_t i = 1; i < n; ++i) {
    const double d = p.path[i] - p.path[i - 1];
    if (d > 0) steps.push_back(d);
  }
  s.along = Median(steps);
  if (!(s.along > 0)) return s;

  // Another pass: a reading much nearer in space than along the path. Buckets of a few along-steps, searched
  // ring by ring out to a limit, for a sample of the readings.
  double minX = p.x[0], maxX = p.x[0], minY = p.y[0], maxY = p.y[0];
  for (size_t i = 0; i < n; ++i) {
    minX = std::min(minX, p.x[i]);
    maxX = std::max(maxX, p.x[i]);
    minY = std::min(minY, p.y[i]);
    maxY = std::max(maxY, p.y[i]);
  }
  const double extent = std::max(maxX - minX, maxY - minY);
  if (!std::isfinite(extent) || !(extent > 0)) return s;
  // Lines further apart than 500 reading steps are not looked for; at most 32 rings of buckets are searched.
  const double limit = std::min(extent, s.along * 500.0);
  const double bucket = std::max(limit / 32.0, extent / 4096.0);
  auto key = [&](int64_t bx, int64_t by) { return (bx << 32) ^ (by & 0xffffffff); };
  std::unordered_map<int64_t, std::vector<uint32_t>> cells;
  cells.reserve(n / 4 + 1);
  for (size_t i = 0; i < n; ++i) {
    const int64_t bx = static_cast<int64_t>(std::floor((p.x[i] - minX) / bucket));
    const int64_t by = static_cast<int64_t>(std::floor((p.y[i] - minY) / bucket));
    cells[key(bx, by)].push_back(static_cast<uint32_t>(i));
  }
  const size_t stride = std::max<size_t>(1, n / 2000);
  const int maxRing = static_cast<int>(std::ceil(limit / bucket)) + 1;
  std::vector<double> spacings;
  for (size_t i = 1; i + 1 < n; i += stride) {
    // Direction of travel at the reading, to tell the passes on its left from those on its right.
    const double tx = p.x[i + 1] - p.x[i - 1], ty = p.y[i + 1] - p.y[i - 1];
    if (!(std::hypot(tx, ty) > 0)) continue;
    const int64_t bx = static_cast<int64_t>(std::floor((p.x[i] - minX) / bucket));
    const int64_t by = static_cast<int64_t>(std::floor((p.y[i] - minY) / bucket));
    double side[2] = {INFINITY, INFINITY};  // nearest reading of another pass to the left, to the right
    auto look = [&](int64_t cx, int64_t cy) {
      const auto it = cells.find(key(cx, cy));
      if (it == cells.end()) return;
      for (uint32_t j : it->second) {
        const double ex = p.x[j] - p.x[i], ey = p.y[j] - p.y[i];
        const double d = std::hypot(ex, ey);
        if (!(d > 0) || std::fabs(p.path[j] - p.path[i]) <= 3.0 * d + 2.0 * s.along) continue;  // the same pass
        double& best = side[tx * ey - ty * ex > 0 ? 0 : 1];
        best = std::min(best, d);
      }
    };
    for (int r = 0; r <= maxRing; ++r) {
      if ((r - 1) * bucket > std::max(side[0], side[1])) break;  // nothing nearer on either side further out
      if (r == 0) {
        look(bx, by);
        continue;
      }
      for (int64_t d = -r; d <= r; ++d) {
        look(bx + d, by - r);
        look(bx + d, by + r);
      }
      for (int64_t d = -r + 1; d < r; ++d) {
        look(bx - r, by + d);
        look(bx + r, by + d);
      }
    }
    // Between two passes the spacing is the mean of both sides (tracks paired up by a lateral offset give
    // the line spacing); at the edge of the survey the one side.
    const bool left = side[0] <= limit, right = side[1] <= limit;
    if (left && right) spacings.push_back((side[0] + side[1]) / 2.0);
    else if (left || right) spacings.push_back(left ? side[0] : side[1]);
  }
  s.lines = Median(spacings);
  return s;
}

double DefaultCell(const SurveySpacing& s) {
  const double raw = std::max(s.along, s.lines / 4.0);
  return raw > 0 ? Nice(raw) : 1.0;
}

double DefaultRadius(const SurveySpacing& s, double cell) {
  const double lines = s.lines > 0 ? s.lines : 10.0 * std::max(s.along, cell / 10.0);
  return std::max(1.5 * lines, 2.0 * cell);
}

bool PlanGrid(const GridPoints& p, double cell, double radius, GridMethod method, GridPlan& plan,
              std::string& why) {
  if (p.x.empty()) {
    why = "no positioned readings to grid";
    return false;
  }
  if (!(cell > 0) || !std::isfinite(cell)) {
    why = "the cell must be a positive number";
    return false;
  }
  if (!(radius > 0) || !std::isfinite(radius)) {
    why = "the radius must be a positive number";
    return false;
  }
  const auto [minX, maxX] = std::minmax_element(p.x.begin(), p.x.end());
  const auto [minY, maxY] = std::minmax_element(p.y.begin(), p.y.end());
  const double west = (std::floor(*minX / cell) - 1) * cell, east = (std::floor(*maxX / cell) + 2) * cell;
  const double south = (std::floor(*minY / cell) - 1) * cell, north = (std::floor(*maxY / cell) + 2) * cell;
  const double columns = std::round((east - west) / cell), rows = std::round((north - south) / cell);
  if (!(columns * rows <= static_cast<double>(kMaxGridCells))) {
    why = "the grid would have " + std::to_string(static_cast<long long>(columns)) + " x " +
          std::to_string(static_cast<long long>(rows)) + " cells; choose a larger --cell";
    return false;
  }
  plan.cell = cell;
  plan.radius = radius;
  plan.method = method;
  plan.west = west;
  plan.north = north;
  plan.columns = static_cast<int>(columns);
  plan.rows = static_cast<int>(rows);
  return true;
}

}  // namespace obrix
