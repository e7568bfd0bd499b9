// Arbitrary bytes as a background source: the ASCII conversion with options picked from the first byte, and the
// data-file import of the same bytes. Every record produced must keep its 38-byte layout.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "background/ascii_import.h"
#include "background/bg_record.h"
#include "background/data_import.h"

using namespace obrix;

namespace {

void CheckRecords(const std::string& records, int count) {
  if (records.size() != size_t(count) * kBgRecordBytes) __builtin_trap();
  for (size_t at = 0; at < records.size(); at += kBgRecordBytes) {
    BgPoint p;
    if (!ParseBgRecord(std::string_view(records).substr(at, kBgRecordBytes), p)) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  BgImportOptions o;
  o.fileType = 1 + (pick & 1);
  o.coordinatesType = (pick >> 1) & 3;
  o.delimiter = (pick >> 3) & 3;
  o.mapUnits = (pick >> 5) % 3;
  o.eastingColumn = pick % 3;
  o.northingColumn = (pick >> 2) % 4;
  o.labelsColumn = (pick >> 4) % 5;
  AsciiBackgroundConverter converter(o);
  // Fed in two parts so that lines cross a chunk end.
  converter.Feed(bytes.substr(0, bytes.size() / 2));
  converter.Feed(bytes.substr(bytes.size() / 2));
  converter.Finish();
  CheckRecords(converter.TakeRecords(), converter.RecordCount());

  const int in = memfd_create("source", 0);
  const int out = memfd_create("records", 0);
  if (in >= 0 && out >= 0 && write(in, bytes.data(), bytes.size()) == ssize_t(bytes.size())) {
    if (std::optional<BgSource> source = InspectBgSource(in)) {
      const BgConvertResult r = ConvertProgramDataBackground(in, out, *source, o.mapUnits);
      std::string records(size_t(r.records) * kBgRecordBytes, '\0');
      if (pread(out, records.data(), records.size(), 0) != ssize_t(records.size())) __builtin_trap();
      CheckRecords(records, r.records);
    }
  }
  if (in >= 0) close(in);
  if (out >= 0) close(out);
  return 0;
}
