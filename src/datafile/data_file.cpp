#include "datafile/data_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <shared_mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "datafile/records.h"
#include "platform/files.h"

namespace obrix {
namespace {

DataFileState g_state;
// Shared by every use of the descriptor (writes, syncs); exclusive while it is closed, so no thread can use a
// descriptor number the system has already handed to another file.
std::shared_mutex g_fdLock;
std::atomic<bool> g_dirty{false};
std::atomic<int> g_lastError{0};
// The writers' lock: one append or cut at a time, so a cut never removes another thread's record.
std::mutex g_writeMutex;
DataFileWriteCall g_writeCall;  // guarded by g_writeMutex; empty = ::write
off_t g_cutTo = -1;             // guarded by g_writeMutex; the length to cut back to when a cut failed

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

off_t FileLength(int fd) {
  struct stat st{};
  return ::fstat(fd, &st) == 0 ? st.st_size : -1;
}

// Cuts the file back to g_cutTo when it is longer; clears the pending cut on success. Writers' lock held.
bool CutBackPending(int fd) {
  if (g_cutTo < 0) return true;
  const off_t length = FileLength(fd);
  if (length < 0) return false;
  if (length > g_cutTo && ::ftruncate(fd, g_cutTo) != 0) return false;
  g_cutTo = -1;
  return true;
}

ssize_t WriteOnce(int fd, const std::string& bytes) {
  ssize_t n;
  do {
    n = g_writeCall ? g_writeCall(fd, bytes.data(), bytes.size()) : ::write(fd, bytes.data(), bytes.size());
  } while (n < 0 && errno == EINTR);
  return n;
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
    std::lock_guard<std::mutex> writing(g_writeMutex);
    g_state.DataFileHandle = fd;
    g_cutTo = -1;
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
  std::lock_guard<std::mutex> writing(g_writeMutex);
  int fd = g_state.DataFileHandle;
  if (fd < 0) return false;
  if (!CutBackPending(fd)) {
    CountError(errno);
    return false;
  }
  const off_t before = FileLength(fd);
  const ssize_t n = WriteOnce(fd, bytes);
  if (n == static_cast<ssize_t>(bytes.size())) {
    g_dirty.store(true);
    return true;
  }
  CountError(n < 0 ? errno : ENOSPC);
  // Whatever part of the bytes reached the file is cut off again; a cut that fails now is retried before
  // the next append. (With the length before unknown there is nothing to cut back to.)
  if (before >= 0) {
    g_cutTo = before;
    CutBackPending(fd);
  }
  g_dirty.store(true);
  return false;
}

long IncompleteTailBytes() {
  std::shared_lock<std::shared_mutex> lock(g_fdLock);
  const int fd = g_state.DataFileHandle;
  if (fd < 0) return 0;
  const off_t length = FileLength(fd);
  if (length < RecordLength) return 0;
  return static_cast<long>(length % RecordLength);
}

bool DropIncompleteTail() {
  std::shared_lock<std::shared_mutex> lock(g_fdLock);
  std::lock_guard<std::mutex> writing(g_writeMutex);
  const int fd = g_state.DataFileHandle;
  if (fd < 0) return true;
  const off_t length = FileLength(fd);
  if (length < 0) return false;
  if (length < RecordLength || length % RecordLength == 0) return true;
  if (::ftruncate(fd, length - length % RecordLength) != 0) return false;
  g_dirty.store(true);
  return true;
}

void SetDataFileWriteCall(DataFileWriteCall call) {
  std::lock_guard<std::mutex> writing(g_writeMutex);
  g_writeCall = std::move(call);
}

int LastDataFileError() { return g_lastError.load(); }

}  // namespace obrix
