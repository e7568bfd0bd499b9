// Arbitrary bytes as a data file: the record reader, the listing of t38dump and the append check.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "datafile/append_check.h"
#include "datafile/record_dump.h"
#include "datafile/record_reader.h"

using namespace obrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // The append check over the first records, with settings picked from the last byte.
  AppendInputs in;
  uint8_t pick = size ? data[size - 1] : 0;
  in.instrumentEnabled = pick & 1;
  in.gpsInput = (pick >> 1) & 1;
  in.dipoleMode = (pick >> 2) & 1;
  in.mapStarted = (pick >> 3) & 1;
  in.nmeaFormat = (pick >> 4) % 9;
  in.utmZoneInUse = pick % 62 - 1;
  AppendVerdict v = EvaluateAppend(bytes, in);
  if (v.result == 0 && v.zoneStep == 1 && (v.fileZone < 1 || v.fileZone > 60)) __builtin_trap();

  // Records of every length the reader takes, straight from memory.
  for (int len : {2, RecordLength, 30, kMaxRecordLength}) {
    DataRecord r = DataRecord::From(bytes, len);
    (void)RecordTick(r);
    (void)SwathValue(r);
    (void)EventText(r);
    (void)FieldNumber(r, 1, 14);
    (void)FieldInt(r, 16, 2);
    (void)r.field(len, 5);
  }

  // The file through positioned reads, forwards and backwards, and its listing.
  int fd = memfd_create("datafile", 0);
  if (fd < 0) return 0;
  if (size && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
    ::close(fd);
    return 0;
  }
  std::string listing = DumpDataFile(fd);
  RecordReader reader(fd);
  reader.SeekEnd();
  DataRecord r;
  SentenceAssembler sentences(64);
  while (reader.Prev(r)) sentences.Feed(r);
  if (sentences.text().size() > 64) __builtin_trap();
  ::close(fd);
  return 0;
}
