#include "datafile/data_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <shared_mutex>
#include <thread>
#include <unistd.h>

#include "platform/files.h"

namespace obrix {
namespace {

DataFileState g_state;
// Shared by every use of the descriptor (writes, syncs); exclusive while it is closed, so no thread can use a
// descriptor number the system has already handed to another file.
std::shared_mutex g_fdLock;
std::atomic<bool> g_dirty{false};
std::atomic<int> g_lastError{0};

// Makes the file durable at a fixed interval while it is open, off the window thread.
class Syncer {
 public:
  void Start() {
    Stop();
    {
      std::lock_guard<std::mutex> lock(m_);
      stop_ = false;
    }
    thread_ = std::thread([this] { Run(); });
  }
  void Stop() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(m_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  ~Syncer() { Stop(); }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(m_);
    while (!stop_) {
      cv_.wait_for(lock, std::chrono::milliseconds(kDataFileSyncIntervalMs), [this] { return stop_; });
      if (stop_) break;
      lock.unlock();
      if (g_dirty.exchange(false)) SyncDataFile();
      lock.lock();
    }
  }

  std::mutex m_;
  std::condition_variable cv_;
  bool stop_ = false;
  std::thread thread_;
};

Syncer g_syncer;
std::mutex g_openCloseMutex;  // serialises attach and close

void CountError(int err) {
  g_lastError.store(err);
  ++g_state.DataFileWriteErrors;
}

}  // namespace

DataFileState& DataFile() { return g_state; }

void ResetDataFile() {
  CloseDataFile();
  g_state.DataFilePath.clear();
  g_state.DataFileBaseName.clear();
  g_state.BaseNameOverflow.clear();
  g_state.LongBaseName = 0;
  g_state.DataFileWriteErrors = 0u;
  g_lastError.store(0);
}

void AttachDataFile(int fd) {
  CloseDataFile();
  std::lock_guard<std::mutex> guard(g_openCloseMutex);
  {
    std::unique_lock<std::shared_mutex> lock(g_fdLock);
    g_state.DataFileHandle = fd;
  }
  g_state.DataFileWriteErrors = 0u;
  g_lastError.store(0);
  g_dirty.store(false);
  if (fd >= 0) g_syncer.Start();
}

void CloseDataFile() {
  std::lock_guard<std::mutex> guard(g_openCloseMutex);
  g_syncer.Stop();
  std::unique_lock<std::shared_mutex> lock(g_fdLock);
  int fd = g_state.DataFileHandle;
  if (fd < 0) return;
  g_state.DataFileHandle = -1;
  if (::fdatasync(fd) != 0) CountError(errno);
  CloseFile(fd);
}

bool DataFileIsOpen() { return g_state.DataFileHandle >= 0; }

bool SyncDataFile() {
  std::shared_lock<std::shared_mutex> lock(g_fdLock);
  int fd = g_state.DataFileHandle;
  if (fd < 0) return true;
  if (::fdatasync(fd) == 0) return true;
  CountError(errno);
  return false;
}

bool AppendToDataFile(const std::string& bytes) {
  std::shared_lock<std::shared_mutex> lock(g_fdLock);
  int fd = g_state.DataFileHandle;
  if (fd < 0) return false;
  ssize_t n;
  do {
    n = ::write(fd, bytes.data(), bytes.size());
  } while (n < 0 && errno == EINTR);
  if (n == static_cast<ssize_t>(bytes.size())) {
    g_dirty.store(true);
    return true;
  }
  CountError(n < 0 ? errno : ENOSPC);
  if (n > 0) g_dirty.store(true);
  return false;
}

int LastDataFileError() { return g_lastError.load(); }

}  // namespace obrix
