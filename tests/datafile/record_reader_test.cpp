// Reading records back by position, forwards and backwards, and the field readers.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "datafile/record_reader.h"
#include "datafile/records.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(RecordReader, ReadsBothWaysAndStopsAtAShortFinalRecord) {
  test::TempDir dir;
  std::string path = dir.file("f.T38");
  std::string bytes = EventRecord('X', "$STARTED", 1) + ReadingRecord("T<-0123", 2) + EventRecord('C', "x", 3);
  test::WriteFile(path, bytes + "S   partial");
  int fd = ::open(path.c_str(), O_RDWR | O_APPEND);
  ASSERT_GE(fd, 0);
  RecordReader reader(fd);
  EXPECT_EQ(reader.Count(), 3);

  std::string forward, backward;
  DataRecord r;
  while (reader.Next(r)) forward += r.kind();
  EXPECT_EQ(forward, "XTC");
  reader.SeekEnd();
  while (reader.Prev(r)) backward += r.kind();
  EXPECT_EQ(backward, "CTX");
  EXPECT_FALSE(reader.ReadAt(3, r));
  EXPECT_FALSE(reader.ReadAt(-1, r));

  // Positioned reads leave the append position alone: a write after reading still lands at the end.
  reader.Seek(0);
  ASSERT_TRUE(reader.Next(r));
  ASSERT_EQ(::write(fd, "tail\n", 5), 5);
  EXPECT_EQ(test::ReadFile(path).substr(bytes.size() + 11), "tail\n");
  ::close(fd);
}

TEST(RecordReader, FieldReaders) {
  DataRecord reading = DataRecord::From(ReadingRecord("T<-0123", 4294967295u));
  EXPECT_EQ(reading.kind(), 'T');
  EXPECT_EQ(InstrumentField(reading), "T<-0123");
  EXPECT_EQ(RecordTick(reading), 4294967295u);
  EXPECT_EQ(reading.at(26), '\0');  // the line feed is replaced
  EXPECT_EQ(reading.at(400), '\0');

  DataRecord event = DataRecord::From(EventRecord('X', "GPS CONN BRK", 12));
  EXPECT_EQ(EventText(event), "GPS CONN BR");
  EXPECT_EQ(RecordTick(event), 12u);

  DataRecord swath = DataRecord::From(SwathRecord('{', 'g', -12.5));
  EXPECT_EQ(SwathSubKind(swath), 'g');
  EXPECT_DOUBLE_EQ(SwathValue(swath), -12.5);

  DataRecord origin = DataRecord::From(OriginEastingRecord(617001.25, 17));
  EXPECT_DOUBLE_EQ(FieldNumber(origin, 1, 14), 617001.25);
  EXPECT_EQ(FieldInt(origin, 16, 2), 17);

  // Too short a source gives a record whose text is clipped, never read past.
  DataRecord tiny = DataRecord::From("S1");
  EXPECT_EQ(tiny.text(), "S");
  EXPECT_EQ(tiny.field(5, 10), "");
  EXPECT_EQ(RecordTick(tiny), 0u);
}

TEST(SentenceAssembler, ReassemblesGroupsAndDropsBrokenOnes) {
  std::string longText = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  std::string bytes = SentenceGroup(longText, 1, '@', '#', '!', 'p', 1) +
                      SentenceGroup("garbage", 2, '?', '"', '!', ' ', 2) +
                      ReadingRecord("T<-0123", 3) + SentenceGroup("$GPGSA,A", 4, '@', '#', '!', ' ', 3);
  // A continuation of the wrong kind and a stray trailer are ignored.
  bytes += SwathRecord('"', 'x', 0) + EventRecord('!', "", 0);
  SentenceAssembler a;
  std::vector<std::pair<std::string, bool>> got;
  for (size_t i = 0; i + 27 <= bytes.size(); i += 27)
    if (a.Feed(DataRecord::From(std::string_view(bytes).substr(i, 27)))) got.emplace_back(a.text(), a.raw());
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].first, longText);
  EXPECT_FALSE(got[0].second);
  EXPECT_EQ(got[1].first, "garbage");
  EXPECT_TRUE(got[1].second);
  EXPECT_EQ(got[2].first, "$GPGSA,A");

  SentenceAssembler capped(10);
  std::string g = SentenceGroup(longText, 1, '@', '#', '!', ' ', 1);
  bool done = false;
  for (size_t i = 0; i < g.size(); i += 27) done = capped.Feed(DataRecord::From(std::string_view(g).substr(i, 27)));
  EXPECT_TRUE(done);
  EXPECT_EQ(capped.text(), longText.substr(0, 10));
}

}  // namespace
}  // namespace obrix
