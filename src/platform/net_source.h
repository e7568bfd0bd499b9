#pragma once
// Network sources behind the serial port interface. A port link whose text is "tcp://HOST:PORT" names a raw byte
// stream over TCP (both directions); "gpsd://HOST[:PORT]" names a GNSS daemon asked for the NMEA sentences of its
// receivers (read only). Hosts are numeric IPv4 or bracketed IPv6 addresses, or "localhost": nothing is looked
// up. The connected socket is the port's descriptor; the serial calls know it by that descriptor.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace obrix {

enum class NetKind { Tcp, Gpsd };

inline constexpr int kGpsdDefaultPort = 2947;
// The longest wait for a connection: the open runs on the window thread when logging starts.
inline constexpr int kNetConnectTimeoutMs = 1000;
// Sent to gpsd once connected: every receiver's sentences as they come, no JSON reports.
inline constexpr std::string_view kGpsdWatchRequest = "?WATCH={\"enable\":true,\"nmea\":true};\n";

struct NetAddress {
  NetKind kind = NetKind::Tcp;
  std::string host;  // as written, without the brackets of an IPv6 address
  int port = 0;
};

enum class NetParse { NotNetwork, Valid, Invalid };

// Splits "tcp://HOST:PORT" or "gpsd://HOST[:PORT]" (schemes in any case; port 1..65535; an IPv6 host in
// brackets). NotNetwork when `text` has neither scheme; Invalid, with *why, when it is malformed. The host is
// not checked beyond its syntax.
NetParse SplitNetAddress(std::string_view text, NetAddress* out, std::string* why = nullptr);
// SplitNetAddress, and the host must be a numeric address or "localhost".
NetParse ParseNetAddress(std::string_view text, NetAddress* out, std::string* why = nullptr);
// A numeric IPv4 or IPv6 address (no brackets).
bool IsNumericHost(std::string_view host);
// The link text of an address: "tcp://10.0.0.5:10110", "gpsd://[::1]:2947".
std::string NetAddressText(const NetAddress& address);

// The address a port link names, when its text (the link is read, not followed) is a network address.
NetParse ReadNetLink(const std::string& linkPath, NetAddress* out);

// Connects within `timeoutMs` and, for gpsd, sends the watch request. Returns the non-blocking socket, or -1
// with *error: a refused, unreachable or unanswered address gives 2 (as a missing device), an address that
// is not numeric 87, other failures as WindowsErrorFromErrno.
int NetConnect(const NetAddress& address, int timeoutMs, uint32_t* error);

// The kind of a descriptor NetConnect returned and that is not closed yet.
std::optional<NetKind> NetSourceKind(int fd);
// Forgets a descriptor before it is closed.
void ForgetNetSource(int fd);
// Passes bytes read from `fd` through its source's filter: a gpsd source drops its JSON lines (every line that
// begins with '{'), keeping all other bytes as they are. Returns the count kept, moved to the front of `buf`.
size_t FilterNetBytes(int fd, unsigned char* buf, size_t n);

// The filter of a gpsd source, kept per descriptor: lines beginning with '{' are dropped up to and with their
// line feed, in reads split anywhere.
class GpsdJsonFilter {
 public:
  size_t Filter(unsigned char* buf, size_t n);

 private:
  bool lineStart_ = true;
  bool dropping_ = false;
};

}  // namespace obrix
