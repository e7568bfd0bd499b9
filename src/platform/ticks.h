#pragma once
// Millisecond tick counter and local clock, both injectable for tests.
#include <atomic>
#include <cstdint>
#include <functional>

namespace obrix {

// Milliseconds since boot (CLOCK_BOOTTIME, counting suspend), truncated to 32 bits.
// Differences between ticks are always taken modulo 2^32 (TickDiff), so a wrap is harmless.
uint32_t TickMs();

// Elapsed ticks from `from` to `to`, modulo 2^32.
inline uint32_t TickDiff(uint32_t to, uint32_t from) { return to - from; }

// Waits by polling TickMs until more than `ms` milliseconds have passed; returns the elapsed time.
// Blocks the calling thread. With an injected clock that does not advance by itself, the injected
// sleep hook (if any) is called between polls.
uint32_t DelayMs(uint32_t ms);

struct LocalTime {
  int year = 2000;   // four digits
  int month = 1;     // 1..12
  int day = 1;       // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int weekday = 0;   // 0 = Sunday
};

// Local date and time of day.
LocalTime LocalNow();

// Test hooks: replace the tick source and the local clock; pass nullptr to restore the real ones.
void SetTickSource(std::function<uint32_t()> source);
void SetLocalClock(std::function<LocalTime()> clock);

// A manual clock for tests: TickMs returns `now`, and DelayMs advances it.
struct ManualClock {
  std::atomic<uint32_t> now{0};
  void Set(uint32_t t) { now.store(t); }
  void Advance(uint32_t ms) { now.fetch_add(ms); }
  void Install();
  static void Uninstall();
};

}  // namespace obrix
