#pragma once
// A pseudo-terminal standing in for a serial device in tests: the master side in raw mode, the slave linked as
// <data root>/ports/COMn. Bytes written to the master arrive at the port.
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/paths.h"
#include "platform/serial.h"

namespace obrix::test {

class PtyPort {
 public:
  // Opens a pseudo-terminal and links it as the port with the 0-based index (no link when index < 0).
  explicit PtyPort(int portIndex = -1) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) return;
    slave_ = name;
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
    // Keep a slave descriptor open so the master never reads as hung up before the reader opens the port.
    hold_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (portIndex >= 0) Link(portIndex);
  }
  ~PtyPort() {
    Unlink();
    Close();
  }
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  bool ok() const { return master_ >= 0 && !slave_.empty(); }
  int master() const { return master_; }
  const std::string& slave() const { return slave_; }

  void Link(int portIndex) {
    Unlink();
    MakeFolders(PortsFolder());
    link_ = SerialLinkPath(portIndex);
    ::unlink(link_.c_str());
    if (::symlink(slave_.c_str(), link_.c_str()) != 0) link_.clear();
  }
  void Unlink() {
    if (!link_.empty()) ::unlink(link_.c_str());
    link_.clear();
  }
  // Lets go of the extra slave descriptor (after the port under test has opened it).
  void ReleaseHold() {
    if (hold_ >= 0) ::close(hold_);
    hold_ = -1;
  }
  // Unplugs the device: the link goes, the master closes.
  void Close() {
    Unlink();
    ReleaseHold();
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  bool Write(std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }
  // Reads what the port wrote, waiting up to `ms` for the first byte and briefly for more.
  std::string ReadAvailable(int ms) {
    std::string out;
    char buf[256];
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    for (int waited = 0; waited < ms; waited += 5) {
      ssize_t n;
      while ((n = ::read(master_, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
      if (!out.empty()) break;
      ::usleep(5000);
    }
    ::fcntl(master_, F_SETFL, flags);
    return out;
  }
  // The line settings the port put on the slave (the master shares them).
  termios Attributes() const {
    termios t{};
    ::tcgetattr(master_, &t);
    return t;
  }

 private:
  int master_ = -1;
  int hold_ = -1;
  std::string slave_;
  std::string link_;
};

}  // namespace obrix::test
