#include "serial/reader_state.h"

namespace obrix {

ReaderValues& Readers() {
  static ReaderValues r;
  return r;
}

void ResetReaderValues() { Readers() = ReaderValues(); }

}  // namespace obrix
