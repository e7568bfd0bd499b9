#include "platform/ticks.h"

#include <atomic>
#include <ctime>
#include <mutex>
#include <thread>
#include <chrono>

namespace obrix {
namespace {

std::mutex g_hookMutex;
std::function<uint32_t()> g_tickSource;
std::function<LocalTime()> g_localClock;
std::atomic<ManualClock*> g_manual{nullptr};

uint32_t RealTick() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

LocalTime RealLocal() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm t{};
  localtime_r(&ts.tv_sec, &t);
  LocalTime lt;
  lt.year = t.tm_year + 1900;
  lt.month = t.tm_mon + 1;
  lt.day = t.tm_mday;
  lt.hour = t.tm_hour;
  lt.minute = t.tm_min;
  lt.second = t.tm_sec;
  lt.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
  lt.weekday = t.tm_wday;
  return lt;
}

}  // namespace

uint32_t TickMs() {
  if (ManualClock* m = g_manual.load(std::memory_order_acquire)) return m->now.load();
  std::function<uint32_t()> source;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    source = g_tickSource;
  }
  return source ? source() : RealTick();
}

uint32_t DelayMs(uint32_t ms) {
  const uint32_t start = TickMs();
  for (;;) {
    if (ManualClock* m = g_manual.load(std::memory_order_acquire)) {
      m->Advance(ms + 1);
      return TickDiff(TickMs(), start);
    }
    uint32_t elapsed = TickDiff(TickMs(), start);
    if (elapsed > ms) return elapsed;
    // Short sleeps keep the poll cheap without changing the waiting rule.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

LocalTime LocalNow() {
  std::function<LocalTime()> clock;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    clock = g_localClock;
  }
  return clock ? clock() : RealLocal();
}

void SetTickSource(std::function<uint32_t()> source) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  g_tickSource = std::move(source);
}

void SetLocalClock(std::function<LocalTime()> clock) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  g_localClock = std::move(clock);
}

void ManualClock::Install() { g_manual.store(this, std::memory_order_release); }
void ManualClock::Uninstall() { g_manual.store(nullptr, std::memory_order_release); }

}  // namespace obrix
