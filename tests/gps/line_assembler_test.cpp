#include "gps/line_assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
