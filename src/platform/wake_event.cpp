#include "platform/wake_event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace obrix {

WakeEvent::WakeEvent() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeEvent::~WakeEvent() {
  if (fd_ >= 0) ::close(fd_);
}

void WakeEvent::Signal() {
  if (fd_ < 0) return;
  const uint64_t one = 1;
  while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void WakeEvent::Clear() { ClearWakeFd(fd_); }

void ClearWakeFd(int fd) {
  if (fd < 0) return;
  uint64_t count = 0;
  while (::read(fd, &count, sizeof count) < 0 && errno == EINTR) {
  }
}

}  // namespace obrix
