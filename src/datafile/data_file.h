#pragma once
// The open survey data file: process-wide state, its descriptor, durability and the raw append used by the
// writers. The window thread opens and closes it; the GPS reader thread appends to it as well.
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

#include "platform/shared_value.h"

namespace obrix {

struct DataFileState {
  Shared<int> DataFileHandle = -1;      // O_APPEND read/write descriptor with an exclusive lock; -1 when none
  std::string DataFilePath;              // full path (native bytes)
  std::string DataFileBaseName;          // 8-bit name without folder and extension
  std::string BaseNameOverflow;          // bytes 10..19 of the base name (set by the header writer)
  int LongBaseName = 0;                  // 1 when the base name is longer than 10 bytes
  Shared<uint32_t> DataFileWriteErrors = 0u;  // failed or short writes and syncs since the file was opened
};

DataFileState& DataFile();
// Closes any open file and restores the initial state.
void ResetDataFile();

// Makes `fd` the data file (taking ownership) and starts the background syncer. A file already open is
// closed first. Clears the write-error count.
void AttachDataFile(int fd);
// Syncs and closes the data file, after stopping the syncer. The handle becomes -1. Writers racing with this
// either complete on the old descriptor or find none; they never write to a reused descriptor number.
void CloseDataFile();
bool DataFileIsOpen();

// fdatasync on the open file; false (and counted as an error) when it fails; true with no file open.
bool SyncDataFile();

// Appends `bytes` in one write() call. Returns true when every byte was written. With no file open nothing
// is written and the result is false (not counted). A failed or short write is counted, and whatever it left
// is cut off again at once, so the file keeps ending where the previous append ended (a record, group or
// corner set is written whole or not at all). A cut that fails is retried before the next append, which is
// not written while the cut is outstanding. Appends and cuts hold the writers' lock.
bool AppendToDataFile(const std::string& bytes);

// Bytes after the last whole record of the open file when it holds at least one whole record; 0 when its
// size is a multiple of the record length, when it is shorter than one record or when no file is open.
long IncompleteTailBytes();
// Cuts an incomplete last record off the open file (as IncompleteTailBytes counts it), under the writers'
// lock. Records before it are kept. false (with errno) when the cut failed.
bool DropIncompleteTail();

// The call appends go through: ::write unless a test installs another (one that fails or writes short at
// chosen moments). An empty function restores ::write.
using DataFileWriteCall = std::function<ssize_t(int fd, const void* data, size_t size)>;
void SetDataFileWriteCall(DataFileWriteCall call);
// errno of the last failed write or sync (ENOSPC for a short write), 0 when none.
int LastDataFileError();

// Interval of the background syncer in milliseconds (at most 2000): each sync costs a journal commit, so it runs
// no more often than the two seconds of survey the page cache may hold.
inline constexpr int kDataFileSyncIntervalMs = 2000;

}  // namespace obrix
