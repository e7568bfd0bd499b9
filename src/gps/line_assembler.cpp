#include "gps/line_assembler.h"

#include <array>

namespace obrix {
namespace {

// What the byte rule does with a byte: most bytes of a line are kept and need nothing else.
enum ByteClass : unsigned char { kKeep, kDrop, kDollar, kLineFeed, kStar };

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> c{};
  for (int b = 0; b < 256; ++b) c[b] = b < '$' || b >= 0x7F ? kDrop : kKeep;
  c['$'] = kDollar;
  c['\n'] = kLineFeed;
  c['*'] = kStar;
  return c;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

}  // namespace

void NmeaLineAssembler::Reset() {
  size_ = 0;
  buf_[0] = '\0';
  star_ = NmeaChecksumScan::kNoStar;
  xor_ = starXor_ = 0;
  complete_ = false;
}

NmeaLineAssembler::Event NmeaLineAssembler::Feed(unsigned char byte) {
  size_t used = 0;
  return Feed(std::string_view(reinterpret_cast<const char*>(&byte), 1), &used);
}

NmeaLineAssembler::Event NmeaLineAssembler::Feed(std::string_view bytes, size_t* used) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  *used = n;
  if (n == 0) return Event::None;
  if (complete_) Reset();
  // Local copies keep the loop in registers; the members are written back before every return.
  size_t size = size_;
  unsigned x = xor_;
  size_t i = 0;
  while (i < n) {
    // A run of kept bytes while the line has room: one test per byte.
    if (size <= kRestartAbove) {
      const size_t room = kRestartAbove + 1 - size;
      const size_t end = n - i < room ? n : i + room;
      while (i < end && kClasses[p[i]] == kKeep) {
        buf_[size++] = static_cast<char>(p[i]);
        x ^= p[i++];
      }
      if (i == n) break;
    }
    // Any other byte, or any byte once the line is full: the whole rule.
    const unsigned char b = p[i++];
    const unsigned char cls = kClasses[b];
    if (cls == kDollar) {
      buf_[0] = '$';
      buf_[1] = '\0';
      size_ = 1;
      star_ = NmeaChecksumScan::kNoStar;
      xor_ = starXor_ = 0;
      *used = i;
      return Event::SentenceStart;
    }
    if (cls == kLineFeed) {
      if (size == 0) continue;
      buf_[size] = '\0';
      size_ = size;
      xor_ = x;
      complete_ = true;
      *used = i;
      return Event::LineComplete;
    }
    if (size > kRestartAbove) {
      size = 0;
      x = 0;
      star_ = NmeaChecksumScan::kNoStar;
    }
    if (cls == kDrop) continue;
    if (cls == kStar && star_ == NmeaChecksumScan::kNoStar) {
      star_ = size;
      starXor_ = x;
    }
    buf_[size++] = static_cast<char>(b);
    x ^= b;
  }
  buf_[size] = '\0';
  size_ = size;
  xor_ = x;
  return Event::None;
}

}  // namespace obrix
