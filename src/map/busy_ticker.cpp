#include "map/busy_ticker.h"

#include "map/map_hooks.h"
#include "platform/ticks.h"

namespace obrix {
namespace {
constexpr uint32_t kBusyIntervalMs = 750;
constexpr unsigned kCallsPerClockRead = 64;
}  // namespace

BusyTicker::BusyTicker() : last_(TickMs()) {}

void BusyTicker::Tick() {
  if (++calls_ % kCallsPerClockRead != 0) return;
  const uint32_t now = TickMs();
  if (TickDiff(now, last_) < kBusyIntervalMs) return;
  last_ = now;
  if (MapScreenHooks().AdvanceBusyIndicator) MapScreenHooks().AdvanceBusyIndicator();
}

}  // namespace obrix
