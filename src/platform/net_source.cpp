#include "platform/net_source.h"

#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/serial.h"

namespace obrix {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

NetParse Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return NetParse::Invalid;
}

bool ParsePortNumber(std::string_view text, int* port) {
  if (text.empty() || text.size() > 5) return false;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < 1 || n > 65535) return false;
  *port = n;
  return true;
}

bool IsHostNameText(std::string_view host) {
  for (char c : host)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') return false;
  return true;
}

// Open network sources by descriptor, with the filter state of each.
struct SourceEntry {
  NetKind kind;
  GpsdJsonFilter filter;
};
std::mutex g_sourcesMutex;
std::map<int, SourceEntry> g_sources;

int ConnectError(int err) {
  switch (err) {
    case ECONNREFUSED:
    case ENETUNREACH:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ENETDOWN:
    case ETIMEDOUT:
    case ECONNRESET:
      return kErrorFileNotFound;
    default:
      return static_cast<int>(WindowsErrorFromErrno(err));
  }
}

// Waits for a non-blocking connect; 0 when connected, else the errno of the failure (ETIMEDOUT after
// `timeoutMs`).
int WaitConnected(int fd, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    pollfd p{fd, POLLOUT, 0};
    const int r = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return errno;
    if (r == 0) return ETIMEDOUT;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
    return err;
  }
}

bool SendAll(int fd, std::string_view bytes, int timeoutMs) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return false;
  }
  return true;
}

}  // namespace

NetParse SplitNetAddress(std::string_view text, NetAddress* out, std::string* why) {
  const size_t sep = text.find("://");
  if (sep == std::string_view::npos) return NetParse::NotNetwork;
  NetAddress a;
  const std::string scheme = Lower(text.substr(0, sep));
  if (scheme == "tcp") {
    a.kind = NetKind::Tcp;
  } else if (scheme == "gpsd") {
    a.kind = NetKind::Gpsd;
  } else {
    return Fail(why, "unknown kind of address (tcp:// or gpsd://)");
  }
  std::string_view rest = text.substr(sep + 3);
  std::string_view portText;
  bool hasPort = false;
  if (!rest.empty() && rest.front() == '[') {
    const size_t close = rest.find(']');
    if (close == std::string_view::npos) return Fail(why, "an IPv6 address without its closing bracket");
    a.host = std::string(rest.substr(1, close - 1));
    const std::string_view after = rest.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return Fail(why, "text after the IPv6 address");
      portText = after.substr(1);
      hasPort = true;
    }
    if (a.host.empty() || a.host.find(':') == std::string::npos || !IsNumericHost(a.host))
      return Fail(why, "not an IPv6 address in the brackets");
  } else {
    const size_t colon = rest.find(':');
    if (colon != std::string_view::npos && rest.find(':', colon + 1) != std::string_view::npos)
      return Fail(why, "an IPv6 address goes in brackets, e.g. tcp://[::1]:10110");
    a.host = std::string(rest.substr(0, colon));
    if (colon != std::string_view::npos) {
      portText = rest.substr(colon + 1);
      hasPort = true;
    }
    if (a.host.empty()) return Fail(why, "no host");
    if (!IsHostNameText(a.host)) return Fail(why, "the host is neither an address nor a host name");
  }
  if (hasPort) {
    if (!ParsePortNumber(portText, &a.port)) return Fail(why, "the port is not a number from 1 to 65535");
  } else if (a.kind == NetKind::Gpsd) {
    a.port = kGpsdDefaultPort;
  } else {
    return Fail(why, "no port (tcp://HOST:PORT)");
  }
  if (out) *out = std::move(a);
  return NetParse::Valid;
}

NetParse ParseNetAddress(std::string_view text, NetAddress* out, std::string* why) {
  NetAddress a;
  const NetParse r = SplitNetAddress(text, &a, why);
  if (r != NetParse::Valid) return r;
  if (!IsNumericHost(a.host) && Lower(a.host) != "localhost")
    return Fail(why, "a host name; the link needs a numeric address");
  if (out) *out = std::move(a);
  return NetParse::Valid;
}

bool IsNumericHost(std::string_view host) {
  const std::string h(host);
  unsigned char buf[sizeof(in6_addr)];
  return ::inet_pton(AF_INET, h.c_str(), buf) == 1 || ::inet_pton(AF_INET6, h.c_str(), buf) == 1;
}

std::string NetAddressText(const NetAddress& a) {
  const std::string host = a.host.find(':') != std::string::npos ? "[" + a.host + "]" : a.host;
  return (a.kind == NetKind::Gpsd ? "gpsd://" : "tcp://") + host + ":" + std::to_string(a.port);
}

NetParse ReadNetLink(const std::string& linkPath, NetAddress* out) {
  char text[512];
  const ssize_t n = ::readlink(linkPath.c_str(), text, sizeof text);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof text) return NetParse::NotNetwork;
  return ParseNetAddress(std::string_view(text, static_cast<size_t>(n)), out);
}

int NetConnect(const NetAddress& a, int timeoutMs, uint32_t* error) {
  sockaddr_storage addr{};
  socklen_t addrLen = 0;
  const std::string host = Lower(a.host) == "localhost" ? "127.0.0.1" : a.host;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&addr);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&addr);
  if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<uint16_t>(a.port));
    addrLen = sizeof *v4;
  } else if (::inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<uint16_t>(a.port));
    addrLen = sizeof *v6;
  } else {
    if (error) *error = kErrorInvalidParameter;
    return kInvalidPort;
  }
  const int fd = ::socket(addr.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    if (error) *error = WindowsErrorFromErrno(errno);
    return kInvalidPort;
  }
  int err = 0;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), addrLen) != 0)
    err = errno == EINPROGRESS || errno == EINTR ? WaitConnected(fd, timeoutMs) : errno;
  if (err == 0 && a.kind == NetKind::Gpsd && !SendAll(fd, kGpsdWatchRequest, timeoutMs)) err = errno ? errno : EIO;
  if (err != 0) {
    ::close(fd);
    if (error) *error = static_cast<uint32_t>(ConnectError(err));
    return kInvalidPort;
  }
  // Commands are a line at a time: no waiting to fill a segment.
  const int on = 1;
  (void)::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  (void)::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  std::lock_guard<std::mutex> lock(g_sourcesMutex);
  g_sources.insert_or_assign(fd, SourceEntry{a.kind, {}});
  return fd;
}

std::optional<NetKind> NetSourceKind(int fd) {
  std::lock_guard<std::mutex> lock(g_sourcesMutex);
  const auto it = g_sources.find(fd);
  if (it == g_sources.end()) return std::nullopt;
  return it->second.kind;
}

void ForgetNetSource(int fd) {
  std::lock_guard<std::mutex> lock(g_sourcesMutex);
  g_sources.erase(fd);
}

size_t FilterNetBytes(int fd, unsigned char* buf, size_t n) {
  std::lock_guard<std::mutex> lock(g_sourcesMutex);
  const auto it = g_sources.find(fd);
  if (it == g_sources.end() || it->second.kind != NetKind::Gpsd) return n;
  return it->second.filter.Filter(buf, n);
}

size_t GpsdJsonFilter::Filter(unsigned char* buf, size_t n) {
  size_t kept = 0;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = buf[i];
    if (lineStart_ && b == '{') dropping_ = true;
    lineStart_ = b == '\n';
    if (dropping_) {
      if (b == '\n') dropping_ = false;
      continue;
    }
    buf[kept++] = b;
  }
  return kept;
}

}  // namespace obrix
