// Arbitrary bytes as a data file imported as background: the source is inspected and converted from one
// in-memory file into another. Every record written must be read back whole and keep its 38-byte layout.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "background/bg_record.h"
#include "background/data_import.h"

using namespace obrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int in = memfd_create("source", 0);
  const int out = memfd_create("records", 0);
  if (in >= 0 && out >= 0 && write(in, data, size) == ssize_t(size)) {
    if (std::optional<BgSource> source = InspectBgSource(in)) {
      if (source->recordLength <= 0 || source->recordLength > kBgMaxRecordLength) __builtin_trap();
      const BgConvertResult r = ConvertProgramDataBackground(in, out, *source, int(size % 3));
      if (r.records < 0 || r.writeFailed) __builtin_trap();
      const off_t written = lseek(out, 0, SEEK_END);
      if (written != off_t(r.records) * off_t(kBgRecordBytes)) __builtin_trap();
      std::string records(size_t(written), '\0');
      if (pread(out, records.data(), records.size(), 0) != ssize_t(records.size())) __builtin_trap();
      for (size_t at = 0; at < records.size(); at += kBgRecordBytes) {
        BgPoint p;
        if (!ParseBgRecord(std::string_view(records).substr(at, kBgRecordBytes), p)) __builtin_trap();
      }
    }
  }
  if (in >= 0) close(in);
  if (out >= 0) close(out);
  return 0;
}
