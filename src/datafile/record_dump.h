#pragma once
// A readable listing of a data file, one record a line with its kind named (the t38dump tool).
#include <cstdint>
#include <string>

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

// Every record of the open descriptor, one line each, and a note on a short final record.
std::string DumpDataFile(int fd);

}  // namespace obrix
