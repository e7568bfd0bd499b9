#include "platform/serial.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "platform/net_source.h"
#include "platform/paths.h"
#include "platform/wake_event.h"

namespace obrix {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void SleepUntil(Clock::time_point deadline) { std::this_thread::sleep_until(deadline); }

// Reads from a port after poll reported input; a network source passes the bytes through its filter. The count
// kept; 0 when the poll should be repeated (interrupted, nothing there after all, every byte dropped); -1 when the
// device hung up, the peer closed or the read failed.
ssize_t ReadPort(int fd, unsigned char* buf, size_t size) {
  const ssize_t n = ::read(fd, buf, size);
  if (n < 0) return errno == EINTR || errno == EAGAIN ? 0 : -1;
  if (n == 0) return -1;
  return static_cast<ssize_t>(FilterNetBytes(fd, buf, static_cast<size_t>(n)));
}

void SetModemLine(int fd, int line, bool on) {
  int bits = line;
  // Pseudo-terminals and some adapters have no modem lines; that is not an error here.
  (void)::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits);
}

}  // namespace

uint32_t WindowsErrorFromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return kErrorFileNotFound;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
      return kErrorAccessDenied;
    case ETIMEDOUT:
      return kErrorSemTimeout;
    case EIO:
      return kErrorIoDevice;
    case EINVAL:
      return kErrorInvalidParameter;
    default:
      return kErrorGenFailure;
  }
}

std::string SerialDeviceName(int portIndex) {
  const int n = portIndex + 1;
  return n < 10 ? "COM" + std::to_string(n) + ":" : "\\\\.\\COM" + std::to_string(n);
}

std::string SerialPortName(int portIndex) { return "COM" + std::to_string(portIndex + 1); }

std::string SerialLinkPath(int portIndex) { return PortsFolder() + SerialPortName(portIndex); }

unsigned SpeedConstant(int baud) {
  switch (baud) {
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
  }
}

int SerialOpen(const std::string& path, uint32_t* error) {
  NetAddress address;
  switch (ReadNetLink(path, &address)) {
    case NetParse::Valid:
      return NetConnect(address, kNetConnectTimeoutMs, error);
    case NetParse::Invalid:
      if (error) *error = kErrorInvalidParameter;
      return kInvalidPort;
    case NetParse::NotNetwork:
      break;
  }
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = WindowsErrorFromErrno(errno);
    return kInvalidPort;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int saved = errno;
    ::close(fd);
    if (error) *error = WindowsErrorFromErrno(saved == EWOULDBLOCK ? EBUSY : saved);
    return kInvalidPort;
  }
  (void)::ioctl(fd, TIOCEXCL);
  (void)::tcflush(fd, TCIOFLUSH);
  return fd;
}

void ApplyLineSettings(termios& t, const LineSettings& s) {
  const speed_t in = ::cfgetispeed(&t);
  const speed_t out = ::cfgetospeed(&t);
  ::cfmakeraw(&t);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  t.c_cflag |= CLOCAL | CREAD | (s.dataBits == 7 ? CS7 : CS8);
  if (s.parity == 'E' || s.parity == 'O') {
    t.c_cflag |= PARENB;
    if (s.parity == 'O') t.c_cflag |= PARODD;
    t.c_iflag |= INPCK;
  }
  if (s.stopBits == 2) t.c_cflag |= CSTOPB;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  const speed_t speed = static_cast<speed_t>(SpeedConstant(s.baud));
  if (speed != 0) {
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
  } else {
    ::cfsetispeed(&t, in);
    ::cfsetospeed(&t, out);
  }
}

bool SerialConfigure(int fd, const LineSettings& s, uint32_t* error) {
  if (NetSourceKind(fd)) return true;  // no line settings on a network source
  termios t{};
  if (::tcgetattr(fd, &t) != 0) {
    if (error) *error = WindowsErrorFromErrno(errno);
    return false;
  }
  ApplyLineSettings(t, s);
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    if (error) *error = WindowsErrorFromErrno(errno);
    return false;
  }
  SetModemLine(fd, TIOCM_RTS, s.rts);
  SetModemLine(fd, TIOCM_DTR, s.dtr);
  return true;
}

int SerialReadByte(int fd, int timeoutMs, unsigned char* byte) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  if (fd < 0) {
    SleepUntil(deadline);
    return 0;
  }
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, MsLeft(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return 0;  // time-out (or a poll failure, treated as no data)
    if (p.revents & POLLIN) {
      const ssize_t n = ReadPort(fd, byte, 1);
      if (n == 1) return 1;
      if (n == 0) continue;
    }
    // Hung up, closed peer or a read error: no data until the time-out, never a spin.
    SleepUntil(deadline);
    return 0;
  }
}

int SerialReadSome(int fd, unsigned char* buf, size_t size, int timeoutMs, int wakeFd) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  bool watchPort = fd >= 0 && size > 0;
  for (;;) {
    pollfd p[2];
    nfds_t count = 0;
    if (watchPort) p[count++] = pollfd{fd, POLLIN, 0};
    const nfds_t wake = count;
    if (wakeFd >= 0) p[count++] = pollfd{wakeFd, POLLIN, 0};
    if (count == 0) {
      SleepUntil(deadline);
      return 0;
    }
    const int r = ::poll(p, count, MsLeft(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return 0;  // time-out (or a poll failure, treated as no data)
    if (wakeFd >= 0 && p[wake].revents != 0) {
      ClearWakeFd(wakeFd);
      return 0;
    }
    if (watchPort && (p[0].revents & POLLIN)) {
      const ssize_t n = ReadPort(fd, buf, size);
      if (n > 0) return static_cast<int>(n);
      if (n == 0) continue;
    }
    // Hung up, closed peer or a read error: no data until the time-out, never a spin.
    watchPort = false;
  }
}

bool SerialWrite(int fd, const void* data, size_t size, int timeoutMs) {
  if (fd < 0) return false;
  const std::optional<NetKind> net = NetSourceKind(fd);
  if (net == NetKind::Gpsd) return false;  // gpsd owns its receivers
  // A total time-out: 10 ms per byte plus the constant.
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs + static_cast<int>(size) * 10);
  const auto* p = static_cast<const unsigned char*>(data);
  size_t done = 0;
  while (done < size) {
    // A peer that has gone fails the send instead of raising SIGPIPE.
    const ssize_t n = net ? ::send(fd, p + done, size - done, MSG_NOSIGNAL) : ::write(fd, p + done, size - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    const int left = MsLeft(deadline);
    if (left == 0) return false;
    pollfd q{fd, POLLOUT, 0};
    if (::poll(&q, 1, left) < 0 && errno != EINTR) return false;
  }
  return true;
}

void SerialPurge(int fd) {
  if (fd < 0) return;
  if (!NetSourceKind(fd)) {
    (void)::tcflush(fd, TCIOFLUSH);
    return;
  }
  // What has arrived so far is read and dropped (through the source's filter, which keeps its place in the
  // stream); bytes arriving meanwhile are left for the reader.
  int queued = 0;
  if (::ioctl(fd, FIONREAD, &queued) != 0) return;
  unsigned char buf[512];
  while (queued > 0) {
    const ssize_t n = ::recv(fd, buf, std::min(sizeof buf, static_cast<size_t>(queued)), MSG_DONTWAIT);
    if (n <= 0) return;
    FilterNetBytes(fd, buf, static_cast<size_t>(n));
    queued -= static_cast<int>(n);
  }
}

bool SerialClose(int fd) {
  if (fd < 0) return false;
  if (NetSourceKind(fd)) {
    // Forgotten first: once closed, the number may be given to another port.
    ForgetNetSource(fd);
    ::close(fd);
    return true;
  }
  // TIOCEXCL would outlive the holder on a pseudo-terminal.
  (void)::ioctl(fd, TIOCNXCL);
  ::flock(fd, LOCK_UN);
  // Never retried: after close() the descriptor is released whatever it returns.
  ::close(fd);
  return true;
}

}  // namespace obrix
