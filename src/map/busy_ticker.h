#pragma once
// The busy indicator of long redraws: stepped about every 750 ms of work through the screen's hook.
#include <cstdint>

namespace obrix {

class BusyTicker {
 public:
  BusyTicker();
  // Called once per unit of work (a record, a point); reads the clock only every 64 calls.
  void Tick();

 private:
  uint32_t last_;
  unsigned calls_ = 0;
};

}  // namespace obrix
