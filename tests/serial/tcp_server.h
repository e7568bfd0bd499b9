#pragma once
// A TCP server on the loopback address for tests: one client at a time, taken when it connects; bytes written
// to it and read from it. Closing and listening again on the same port stand for a network source that goes
// away and comes back.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace obrix::test {

class TcpServer {
 public:
  // Listens on 127.0.0.1:`port` (0: a free port).
  explicit TcpServer(int port = 0) { Listen(port); }
  ~TcpServer() { Stop(); }
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  bool ok() const { return listener_ >= 0; }
  int port() const { return port_; }
  std::string Address(const char* scheme = "tcp") const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_);
  }

  // Listens again on the same port after Stop.
  bool Restart() {
    Listen(port_);
    return ok();
  }
  // Closes the client and the listener: connections are refused until Restart.
  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseClientLocked();
    if (listener_ >= 0) ::close(listener_);
    listener_ = -1;
  }

  // Takes a waiting client (replacing the current one); true when a client is connected.
  bool Accept() {
    std::lock_guard<std::mutex> lock(mutex_);
    return AcceptLocked();
  }
  bool WaitClient(int ms) {
    for (int waited = 0; waited < ms; waited += 5) {
      if (Accept()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return Accept();
  }
  bool HasClient() {
    std::lock_guard<std::mutex> lock(mutex_);
    return client_ >= 0;
  }
  // Writes to the client (taking one that is waiting); false without a client or when it has gone.
  bool Write(std::string_view bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!AcceptLocked()) return false;
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::send(client_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        CloseClientLocked();
        return false;
      }
      done += static_cast<size_t>(n);
    }
    return true;
  }
  // What the client sent, waiting up to `ms` for the first byte and briefly for more.
  std::string Received(int ms) {
    std::string out;
    char buf[256];
    for (int waited = 0; waited <= ms; waited += 5) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (AcceptLocked()) {
          ssize_t n;
          while ((n = ::recv(client_, buf, sizeof buf, MSG_DONTWAIT)) > 0) out.append(buf, static_cast<size_t>(n));
        }
      }
      if (!out.empty()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return out;
  }
  void CloseClient() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseClientLocked();
  }
  // Connections taken so far.
  int accepted() {
    std::lock_guard<std::mutex> lock(mutex_);
    return accepted_;
  }

 private:
  void Listen(int port) {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0) return;
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t len = sizeof a;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
      ::close(listener_);
      listener_ = -1;
      return;
    }
    port_ = ntohs(a.sin_port);
  }
  bool AcceptLocked() {
    if (listener_ >= 0) {
      const int c = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (c >= 0) {
        CloseClientLocked();
        client_ = c;
        ++accepted_;
      }
    }
    return client_ >= 0;
  }
  void CloseClientLocked() {
    if (client_ >= 0) ::close(client_);
    client_ = -1;
  }

  std::mutex mutex_;
  int listener_ = -1;
  int client_ = -1;
  int port_ = 0;
  int accepted_ = 0;
};

// A loopback port nothing listens on (it was free a moment ago).
inline int UnusedLoopbackPort() {
  TcpServer s;
  return s.port();
}

}  // namespace obrix::test
