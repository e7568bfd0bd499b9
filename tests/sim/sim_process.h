#pragma once
// Runs a simulator executable of build/bin in the background for a test, with its own data root.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace obrix::test {

// Folder of the built executables: $OBRIX_BIN, else the folder of the running test binary.
std::string BinFolder();

class SimProcess {
 public:
  SimProcess() = default;
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts `tool` (a built executable, or an absolute path) with `args` and OBRIX38_HOME = `dataRoot`; its
  // stdout (and its stderr with `withStderr`) goes to a pipe read by ReadOutput.
  bool Start(const std::string& tool, const std::vector<std::string>& args, const std::string& dataRoot,
             bool withStderr = false);
  // Sends a signal to the process.
  void Signal(int sig);
  // Sends SIGTERM (when still running) and waits up to `timeoutMs`; returns the exit status, or -1 when it did
  // not exit (it is then killed) or died of a signal.
  int Stop(int timeoutMs = 3000);
  // Waits for the exit without a signal; -1 as above.
  int Wait(int timeoutMs);
  // Output gathered so far (reads what the pipe holds, waiting up to `timeoutMs` for more).
  const std::string& ReadOutput(int timeoutMs = 0);
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
};

// Waits until `path` exists (as a link to an existing target). Returns the target, or "" after `timeoutMs`.
std::string WaitForLink(const std::string& path, int timeoutMs);
// Waits until `path` is gone; false after `timeoutMs`.
bool WaitForLinkGone(const std::string& path, int timeoutMs);
// Opens a port link for reading in raw mode, as a serial reader would.
int OpenRaw(const std::string& path);
// Reads everything that arrives for `ms` milliseconds (or until end of file).
std::string ReadFor(int fd, int ms);

}  // namespace obrix::test

// Implementation.

namespace obrix::test {
namespace sim_process_detail {

using Clock = std::chrono::steady_clock;

inline int MsLeft(Clock::time_point end) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace sim_process_detail

inline std::string BinFolder() {
  if (const char* bin = std::getenv("OBRIX_BIN"); bin && *bin) return bin;
  char self[4096] = {};
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
  return path.substr(0, path.rfind('/'));
}

inline SimProcess::~SimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (out_ >= 0) close(out_);
}

inline bool SimProcess::Start(const std::string& tool, const std::vector<std::string>& args, const std::string& dataRoot,
                              bool withStderr) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  if (withStderr) posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  std::string exe = !tool.empty() && tool[0] == '/' ? tool : BinFolder() + "/" + tool;
  std::vector<std::string> argStore = {exe};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStore = {"OBRIX38_HOME=" + dataRoot};
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("OBRIX38_HOME=", 0) != 0) envStore.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);
  int rc = posix_spawn(&pid_, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (rc != 0) {
    pid_ = -1;
    close(pipeFds[0]);
    return false;
  }
  out_ = pipeFds[0];
  return true;
}

inline void SimProcess::Signal(int sig) {
  if (pid_ > 0) kill(pid_, sig);
}

inline int SimProcess::Wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  const auto end = sim_process_detail::Clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  for (;;) {
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) break;
    if (sim_process_detail::MsLeft(end) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
      return -1;
    }
    ReadOutput(0);  // keep the pipe from filling up
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  ReadOutput(0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline int SimProcess::Stop(int timeoutMs) {
  Signal(SIGTERM);
  return Wait(timeoutMs);
}

inline const std::string& SimProcess::ReadOutput(int timeoutMs) {
  if (out_ < 0) return output_;
  const auto end = sim_process_detail::Clock::now() + std::chrono::milliseconds(timeoutMs);
  char buf[1024];
  for (;;) {
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, sim_process_detail::MsLeft(end)) <= 0) break;
    ssize_t n = read(out_, buf, sizeof buf);
    if (n <= 0) {
      close(out_);
      out_ = -1;
      break;
    }
    output_.append(buf, static_cast<size_t>(n));
  }
  return output_;
}

inline std::string WaitForLink(const std::string& path, int timeoutMs) {
  const auto end = sim_process_detail::Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    char buf[256] = {};
    ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
    struct stat st {};
    if (n > 0 && stat(path.c_str(), &st) == 0) {
      return std::string(buf, static_cast<size_t>(n));
    }
    if (sim_process_detail::MsLeft(end) == 0) return "";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

inline bool WaitForLinkGone(const std::string& path, int timeoutMs) {
  const auto end = sim_process_detail::Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return true;
    if (sim_process_detail::MsLeft(end) == 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

inline int OpenRaw(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  termios t{};
  tcgetattr(fd, &t);
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
  tcflush(fd, TCIOFLUSH);
  return fd;
}

inline std::string ReadFor(int fd, int ms) {
  const auto end = sim_process_detail::Clock::now() + std::chrono::milliseconds(ms);
  std::string got;
  char buf[512];
  while (sim_process_detail::MsLeft(end) > 0) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, sim_process_detail::MsLeft(end)) <= 0) continue;
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;  // hung up
    got.append(buf, static_cast<size_t>(n));
  }
  return got;
}

}  // namespace obrix::test
