#include "gps/line_assembler.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gps/nmea_fields.h"

namespace obrix {
namespace {

using namespace std::string_literals;

struct Fed {
  std::vector<std::string> lines;
  int starts = 0;
};

Fed FeedAll(NmeaLineAssembler& a, const std::string& bytes) {
  Fed f;
  for (unsigned char b : bytes) {
    switch (a.Feed(b)) {
      case NmeaLineAssembler::Event::SentenceStart: ++f.starts; break;
      case NmeaLineAssembler::Event::LineComplete: f.lines.emplace_back(a.line()); break;
      case NmeaLineAssembler::Event::None: break;
    }
  }
  return f;
}

TEST(NmeaLineAssembler, AssemblesLines) {
  const std::string longTail(250, 'A');
  struct Case {
    std::string name;
    std::string bytes;
    std::vector<std::string> lines;
    int starts;
  } cases[] = {
      {"crlf", "$GPGGA,1*00\r\n", {"$GPGGA,1*00"}, 1},
      {"dropped bytes", "$A B!\"#\x7F\x80\xFF" "C\t\x01\0D\n"s, {"$ABCD"}, 1},
      {"dollar restarts", "$GPGGA,12$GPGSA,3\n", {"$GPGSA,3"}, 2},
      {"empty lf ignored", "\n\r\n\n$A\n\n", {"$A"}, 1},
      {"line without dollar", "garbage\n$B\n", {"garbage", "$B"}, 1},
      {"only dropped bytes", "  \r\n", {}, 0},
      {"two lines", "$A\r\n$B\r\n", {"$A", "$B"}, 2},
      // After 201 characters the next byte restarts the buffer: the tail becomes a line without '$'.
      {"overlong", "$" + longTail + "\n", {std::string(50, 'A')}, 1},
      {"201 kept", "$" + std::string(200, 'x') + "\n", {"$" + std::string(200, 'x')}, 1},
      // A dropped byte still triggers the restart of an overlong buffer.
      {"overlong then cr", "$" + std::string(200, 'x') + "\r\n", {}, 1},
      {"dollar after overlong", "$" + longTail + "$Z\n", {"$Z"}, 2},
  };
  for (const Case& c : cases) {
    NmeaLineAssembler a;
    Fed f = FeedAll(a, c.bytes);
    EXPECT_EQ(f.lines, c.lines) << c.name;
    EXPECT_EQ(f.starts, c.starts) << c.name;
  }
}

TEST(NmeaLineAssembler, CompletedLineStaysUntilNextByte) {
  NmeaLineAssembler a;
  FeedAll(a, "$GPGGA,1");
  ASSERT_EQ(a.Feed('\n'), NmeaLineAssembler::Event::LineComplete);
  EXPECT_EQ(a.line(), "$GPGGA,1");
  EXPECT_STREQ(a.c_str(), "$GPGGA,1");
  EXPECT_EQ(a.Feed('\n'), NmeaLineAssembler::Event::None);  // the finished line does not complete twice
  EXPECT_EQ(a.Feed('X'), NmeaLineAssembler::Event::None);
  EXPECT_EQ(a.line(), "X");
}

// Every event with the line and the checksum facts at that point.
struct Trace {
  std::vector<std::string> events;
  bool operator==(const Trace&) const = default;
};

void Note(Trace& t, NmeaLineAssembler::Event e, const NmeaLineAssembler& a) {
  if (e == NmeaLineAssembler::Event::SentenceStart) t.events.push_back("start");
  if (e != NmeaLineAssembler::Event::LineComplete) return;
  const NmeaChecksumScan sum = a.checksum();
  const NmeaChecksumScan rescan = NmeaLineChecksum(a.line());
  EXPECT_EQ(sum.star, rescan.star) << a.line();
  EXPECT_EQ(sum.xorValue, rescan.xorValue) << a.line();
  EXPECT_EQ(a.c_str()[a.size()], '\0');
  t.events.push_back(std::string(a.line()) + " *" + std::to_string(sum.star) + " ^" + std::to_string(sum.xorValue));
}

Trace ByBytes(const std::string& bytes) {
  NmeaLineAssembler a;
  Trace t;
  for (unsigned char b : bytes) Note(t, a.Feed(b), a);
  return t;
}

// Reads of `chunk` bytes, each fed through the buffer path until it is used up.
Trace ByBuffers(const std::string& bytes, size_t chunk) {
  NmeaLineAssembler a;
  Trace t;
  for (size_t at = 0; at < bytes.size(); at += chunk) {
    std::string_view read = std::string_view(bytes).substr(at, chunk);
    while (!read.empty()) {
      size_t used = 0;
      const NmeaLineAssembler::Event e = a.Feed(read, &used);
      EXPECT_GE(used, 1u);
      EXPECT_LE(used, read.size());
      if (e == NmeaLineAssembler::Event::None) EXPECT_EQ(used, read.size());
      read.remove_prefix(used);
      Note(t, e, a);
    }
  }
  return t;
}

TEST(NmeaLineAssembler, BufferPathFollowsTheByteRule) {
  std::vector<std::string> inputs = {
      "$GPGGA,133524,4336.5940,N,07936.6403,W,8,11,2.0,142.5,M,-35.4,M,,*74\r\n$GPGSA,A,3,,,*30\r\n",
      "$A*B*03\n$AB\n*\n**\n$*\n",
      "$A B!\"#\x7F\x80\xFF" "C\t\x01\0D*1\n"s,
      "$" + std::string(199, 'x') + "*12345\r\n",                 // the line fills up around its '*'
      "$" + std::string(197, 'x') + "\x80\x80yz" + std::string(20, 'w') + "*0\n",  // restart inside a run
      "no dollar," + std::string(300, 'q') + "*7\n$Z\n",
  };
  std::mt19937_64 rng(3);
  const char pick[] = "$\n\r*,.0123456789ABCGP\x80\x01 ";
  for (int i = 0; i < 200; ++i) {
    std::string s;
    const size_t length = rng() % 600;
    for (size_t k = 0; k < length; ++k)
      s += rng() % 4 ? static_cast<char>('%' + rng() % 90) : pick[rng() % (sizeof pick - 1)];
    inputs.push_back(s);
  }
  for (const std::string& in : inputs) {
    const Trace expected = ByBytes(in);
    for (size_t chunk : {size_t{1}, size_t{3}, size_t{8}, size_t{64}, size_t{512}, in.size() + 1})
      ASSERT_EQ(ByBuffers(in, chunk).events, expected.events) << "chunk " << chunk << ": " << in;
  }
}

TEST(NmeaLineAssembler, NeverHoldsMoreThan201Characters) {
  NmeaLineAssembler a;
  for (int i = 0; i < 100000; ++i) {
    a.Feed(static_cast<unsigned char>(i * 7 + 3));
    ASSERT_LE(a.size(), 201u);
    ASSERT_EQ(a.c_str()[a.size()], '\0');
  }
}

}  // namespace
}  // namespace obrix
