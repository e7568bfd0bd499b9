#pragma once
// Serial ports over POSIX termios: exclusive open, raw line settings, reads bounded by a time-out,
// purge and close. Failures are reported as Windows system error codes translated from errno. A port link may
// name a network source instead (platform/net_source.h): the same calls then work on its socket.
#include <cstddef>
#include <cstdint>
#include <string>

struct termios;

namespace obrix {

inline constexpr int kInvalidPort = -1;

// The system error codes the serial layer reports.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorGenFailure = 31;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorSemTimeout = 121;
inline constexpr uint32_t kErrorIoDevice = 1117;

// ENOENT, ENODEV, ENXIO -> 2; EACCES, EPERM, EBUSY, EWOULDBLOCK (held by another opener) -> 5;
// ETIMEDOUT -> 121; EIO -> 1117; EINVAL -> 87; anything else -> 31.
uint32_t WindowsErrorFromErrno(int err);

// The name shown and reported for a 0-based port index: "COM9:" up to COM9, "\\.\COM10" from COM10 on.
std::string SerialDeviceName(int portIndex);
// "COM<index + 1>".
std::string SerialPortName(int portIndex);
// <data root>/ports/COM<index + 1>, the link to the device.
std::string SerialLinkPath(int portIndex);

struct LineSettings {
  int baud = 9600;      // bits per second; 0 keeps the rate the driver reports
  int dataBits = 8;     // 7 or 8
  char parity = 'N';    // 'N', 'E' or 'O'
  int stopBits = 1;     // 1 or 2
  bool dtr = true;      // modem lines held active (ignored by devices without them)
  bool rts = false;
};

// Opens `path` read/write without becoming its controlling terminal, takes flock(LOCK_EX|LOCK_NB) and
// TIOCEXCL, and puts the line in raw mode. Returns the descriptor, or -1 with *error set. When `path` is a
// link whose text is a network address, connects to it instead (a malformed or non-numeric address: 87).
int SerialOpen(const std::string& path, uint32_t* error);
// Raw mode with the line settings on `t`: data bits, parity (with input parity checking), stop bits, no flow
// control, reads return at once; the rate stays as it is when settings.baud is 0 or unsupported.
void ApplyLineSettings(termios& t, const LineSettings& settings);
// Applies the line settings (raw mode, no flow control, reads return at once). false with *error on failure.
// A network source has none: true.
bool SerialConfigure(int fd, const LineSettings& settings, uint32_t* error);
// Reads one byte, waiting at most `timeoutMs`. Returns 1 with the byte, 0 when nothing came. An invalid
// descriptor or a hung-up device waits out the time-out, so a caller looping on it keeps its pace.
int SerialReadByte(int fd, int timeoutMs, unsigned char* byte);
// Reads what `fd` has, at most `size` bytes in one call, waiting at most `timeoutMs` for data or for `wakeFd`
// (an eventfd, -1 for none) to be signalled; a signal is taken. Returns the count read, 0 when nothing came
// (time-out or wake-up). An invalid descriptor or a hung-up device waits for the wake-up or the time-out only.
int SerialReadSome(int fd, unsigned char* buf, size_t size, int timeoutMs, int wakeFd);
// Writes all bytes within about `timeoutMs` plus the time the bytes take; true when everything was written.
// Never writes to a gpsd source (false).
bool SerialWrite(int fd, const void* data, size_t size, int timeoutMs);
// Discards what is queued in both directions (on a network source: what has arrived).
void SerialPurge(int fd);
// Releases the exclusive hold and closes. Ignores -1. Returns true when the descriptor was closed.
bool SerialClose(int fd);

// termios speed constant for a rate this layer supports, 0 when unsupported.
unsigned SpeedConstant(int baud);

}  // namespace obrix
