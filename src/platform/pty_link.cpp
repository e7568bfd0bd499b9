#include "platform/pty_link.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/paths.h"

namespace obrix {
namespace {

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool MakeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace

PtyLink::~PtyLink() { Close(); }

std::string PtyLink::PortLinkPath(const std::string& portName) {
  MakeFolders(PortsFolder());
  return PortsFolder() + portName;
}

bool PtyLink::Open(const std::string& linkPath, std::string* error) {
  Close();
  std::string err;
  int m = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m < 0) {
    err = ErrnoText("posix_openpt");
  } else if (grantpt(m) != 0 || unlockpt(m) != 0) {
    err = ErrnoText("unlockpt");
  } else {
    char name[128] = {};
    if (ptsname_r(m, name, sizeof name) != 0) {
      err = ErrnoText("ptsname");
    } else {
      slavePath_ = name;
      // Raw on both sides: a cooked slave would echo and eat control bytes before the reader sets its mode.
      slaveHold_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
      if (slaveHold_ < 0) {
        err = ErrnoText("open slave");
      } else if (!MakeRaw(m) || !MakeRaw(slaveHold_)) {
        err = ErrnoText("raw mode");
      } else {
        unlink(linkPath.c_str());
        if (symlink(name, linkPath.c_str()) != 0) err = ErrnoText(("link " + linkPath).c_str());
      }
    }
  }
  if (!err.empty()) {
    if (slaveHold_ >= 0) close(slaveHold_);
    if (m >= 0) close(m);
    slaveHold_ = -1;
    slavePath_.clear();
    if (error) *error = err;
    return false;
  }
  master_ = m;
  linkPath_ = linkPath;
  return true;
}

void PtyLink::Close() {
  if (!linkPath_.empty()) {
    // Remove the link only while it still points at this pty: a newer simulator may have replaced it.
    char target[256] = {};
    ssize_t n = readlink(linkPath_.c_str(), target, sizeof target - 1);
    if (n > 0 && slavePath_ == std::string(target, static_cast<size_t>(n))) unlink(linkPath_.c_str());
    linkPath_.clear();
  }
  if (slaveHold_ >= 0) close(slaveHold_);
  if (master_ >= 0) close(master_);
  slaveHold_ = -1;
  master_ = -1;
  slavePath_.clear();
}

size_t PtyLink::Write(const char* data, size_t size) {
  if (master_ < 0) return 0;
  size_t done = 0;
  while (done < size) {
    ssize_t n = write(master_, data + done, size - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // full (EAGAIN) or gone: the rest is lost
    }
  }
  return done;
}

size_t PtyLink::Read(char* data, size_t size, int timeoutMs) {
  if (master_ < 0 || size == 0) return 0;
  pollfd p{master_, POLLIN, 0};
  int r = poll(&p, 1, timeoutMs);
  if (r <= 0 || !(p.revents & POLLIN)) return 0;
  ssize_t n = read(master_, data, size);
  return n > 0 ? static_cast<size_t>(n) : 0;
}

bool PtyLink::Drain(int timeoutMs) {
  if (slaveHold_ < 0) return true;
  // Real time on purpose: this waits for another process, whatever clock the caller has injected.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  // Written bytes reach the slave's input queue a moment later (the kernel moves them asynchronously), so
  // look only after a short wait.
  for (;;) {
    usleep(10000);
    int pending = 0;
    if (ioctl(slaveHold_, TIOCINQ, &pending) != 0 || pending == 0) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
  }
}

}  // namespace obrix
