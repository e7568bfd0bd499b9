#pragma once
// A wake-up descriptor (eventfd): a thread waiting in poll on fd() returns as soon as another thread calls
// Signal(). The signal stays until Clear() (or a read of the descriptor) takes it.
namespace obrix {

class WakeEvent {
 public:
  WakeEvent();
  ~WakeEvent();
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;

  int fd() const { return fd_; }  // -1 when the descriptor could not be made
  void Signal();
  void Clear();

 private:
  int fd_ = -1;
};

// Takes a pending signal from an eventfd descriptor (non-blocking; nothing happens when none is pending).
void ClearWakeFd(int fd);

}  // namespace obrix
