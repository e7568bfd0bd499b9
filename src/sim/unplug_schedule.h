#pragma once
// When a simulated device is unplugged and plugged in again: once at a set time after the start and at each
// request (SIGUSR2), each time for a set length.
#include <cstdint>

namespace obrix::sim {

class UnplugSchedule {
 public:
  enum class Action { None, Unplug, PlugIn };

  // `atMs` < 0: no unplugging at a set time.
  UnplugSchedule(int64_t atMs, uint32_t forMs) : atMs_(atMs), forMs_(forMs) {}

  // What to do `elapsedMs` after the start, with `requests` unplug requests counted so far. A request while
  // unplugged is ignored.
  Action Step(uint64_t elapsedMs, int requests) {
    bool unplugNow = false;
    if (requests != requests_) {
      requests_ = requests;
      unplugNow = true;
    }
    if (atMs_ >= 0 && elapsedMs >= static_cast<uint64_t>(atMs_)) {
      atMs_ = -1;
      unplugNow = true;
    }
    if (unplugNow && !unplugged_) {
      unplugged_ = true;
      plugBackAt_ = elapsedMs + forMs_;
      return Action::Unplug;
    }
    if (unplugged_ && elapsedMs >= plugBackAt_) {
      unplugged_ = false;
      return Action::PlugIn;
    }
    return Action::None;
  }
  bool unplugged() const { return unplugged_; }

 private:
  int64_t atMs_;
  uint32_t forMs_;
  int requests_ = 0;
  bool unplugged_ = false;
  uint64_t plugBackAt_ = 0;
};

}  // namespace obrix::sim
