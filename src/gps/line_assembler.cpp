#include "gps/line_assembler.h"

namespace obrix {

void NmeaLineAssembler::Reset() {
  size_ = 0;
  buf_[0] = '\0';
  complete_ = false;
}

NmeaLineAssembler::Event NmeaLineAssembler::Feed(unsigned char byte) {
  if (complete_) Reset();
  if (byte == '$') {
    buf_[0] = '$';
    buf_[1] = '\0';
    size_ = 1;
    return Event::SentenceStart;
  }
  if (byte == '\n') {
    if (size_ == 0) return Event::None;
    complete_ = true;
    return Event::LineComplete;
  }
  if (size_ > kRestartAbove) size_ = 0;
  if (byte < '$' || byte >= 0x7F) {
    buf_[size_] = '\0';
    return Event::None;
  }
  buf_[size_++] = static_cast<char>(byte);
  buf_[size_] = '\0';
  return Event::None;
}

}  // namespace obrix
