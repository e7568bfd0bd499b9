#include "gps/line_assembler.h"

#include <array>
#include <cstdint>
#include <cstring>

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

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

// Whether all eight bytes of `w` are kept bytes ('%'..'~' other than '*').
bool AllKept(uint64_t w) {
  const uint64_t below = (w - kOnes * '%') & ~w;           // high bit where a byte may be below '%'
  const uint64_t above = (w + kOnes * (0x80 - 0x7F)) | w;  // high bit where a byte may be above '~'
  const uint64_t star = w ^ (kOnes * '*');
  const uint64_t isStar = (star - kOnes) & ~star;          // high bit where a byte may be '*'
  return ((below | above | isStar) & kHighs) == 0;
}

// XOR of the eight bytes of `w`.
unsigned FoldXor(uint64_t w) {
  w ^= w >> 32;
  w ^= w >> 16;
  w ^= w >> 8;
  return static_cast<unsigned>(w & 0xFF);
}

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
      uint64_t words = 0;
      for (uint64_t w; i + 8 <= end; i += 8, size += 8) {
        std::memcpy(&w, p + i, 8);
        if (!AllKept(w)) break;
        std::memcpy(buf_ + size, &w, 8);
        words ^= w;
      }
      x ^= FoldXor(words);
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
