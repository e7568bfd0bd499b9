#pragma once
// A readable listing of a data file, one record a line with its kind named (the t38dump tool).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "datafile/record_reader.h"

namespace obrix {

// The name of a record kind; G records are told apart by their place after the identifier.
class RecordDumper {
 public:
  // One line for record `index`: number, kind name, the text (bytes outside printable ASCII as \xNN) and the
  // decoded fields. A trailer also shows its reassembled sentence.
  std::string Format(int64_t index, const DataRecord& r);

 private:
  int headerPlace_ = -1;  // records since the last identifier record, -1 before any
  SentenceAssembler sentences_{256};
};

// Lists every record of the open descriptor, one line each, then a note on a short final record, handing the
// listing to `out` as it goes (reading the file in blocks, so its size does not matter). `out` returns false to
// stop. False when a read failed or `out` stopped.
bool DumpDataFile(int fd, const std::function<bool(std::string_view)>& out);
// The whole listing as one text.
std::string DumpDataFile(int fd);

}  // namespace obrix
