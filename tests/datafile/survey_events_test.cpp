#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "datafile/records.h"
#include "datafile/survey_events.h"
#include "settings/settings.h"
#include "test_support.h"

namespace obrix {
namespace {

LocalTime At(int h, int m, int s, int ms) {
  LocalTime t;
  t.year = 2024;
  t.month = 5;
  t.day = 17;
  t.hour = h;
  t.minute = m;
  t.second = s;
  t.millisecond = ms;
  return t;
}

std::string Header(int appendMode, int nmeaFormat, double lateral, double along, int zone) {
  Settings s;
  s.nmeaFormat = nmeaFormat;
  s.lateralOffset = lateral;
  s.alongOffset = along;
  s.mapUnits = 1;
  s.component = 1;
  return IdentifierRecord(s, appendMode) + FileNameRecord("survey", 0.2) + SettingsRecord(s) +
         OriginEastingRecord(612345.5, zone) + OriginNorthingRecord(4829876.25);
}

std::string LineBlock(const std::string& name, double start, int direction, double increment) {
  return LineRecord(name, false, "") + StartStationRecord(start) + DirectionRecord(direction, increment) +
         DateRecord(At(9, 30, 5, 0));
}

class SurveyEventsTest : public ::testing::Test {
 protected:
  std::vector<SurveyEvent> Walk(const std::string& bytes, SurveyEventOptions options = {}) {
    const std::string path = dir_.file("walk.T38");
    test::WriteFile(path, bytes);
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    SurveyEventReader reader(fd, options);
    std::vector<SurveyEvent> out;
    SurveyEvent e;
    while (reader.Next(e)) out.push_back(e);
    skipped_ = reader.skipped();
    ::close(fd);
    return out;
  }
  test::TempDir dir_;
  int64_t skipped_ = 0;
};

TEST_F(SurveyEventsTest, WalksEveryKindInOrder) {
  const std::string sentence = "$GPGGA,120000.00,4336.5940,N,07936.6420,W,4,10,0.9,152.50,M,-35.4,M,,*5C";
  std::string bytes = Header(0, 6, 0.3, 1.25, 17) + LineBlock("Line A", 100.0, 3, -0.5) +
                      TimeMarkRecord(At(9, 30, 5, 123), 5000) + EventRecord('X', "$STARTED", 5001) +
                      ReadingRecord("T\x2b" "00250", 5072) + SentenceGroup(sentence, 5100, '@', '#', '!', 'p', 7) +
                      SentenceGroup("junk,line", 5101, '?', '"', '!', ' ', 8) +
                      StationRecord(12.5, At(9, 30, 6, 7)) + EventRecord('C', "a comment here", 5200) +
                      SwathBlock('{', 1, 1, 2, 3, 4);
  const std::vector<SurveyEvent> ev = Walk(bytes);
  ASSERT_EQ(ev.size(), 9u);  // the swath records are skipped
  EXPECT_EQ(skipped_, 0);

  const SurveyHeader& h = ev[0].header;
  EXPECT_EQ(ev[0].kind, SurveyEventKind::Header);
  EXPECT_EQ(ev[0].record, 0);
  EXPECT_EQ(ev[0].segment, 0);
  EXPECT_FALSE(h.append);
  EXPECT_EQ(h.records, 5);
  EXPECT_EQ(h.nmeaFormat, 6);
  EXPECT_EQ(h.mapUnits, 1);
  EXPECT_EQ(h.component, 1);
  EXPECT_DOUBLE_EQ(h.lateralOffset, 0.3);
  EXPECT_DOUBLE_EQ(h.alongOffset, 1.25);
  EXPECT_DOUBLE_EQ(h.readingInterval, 0.2);
  EXPECT_EQ(h.baseName, "survey");
  EXPECT_EQ(h.zone, 17);
  EXPECT_DOUBLE_EQ(h.originEasting, 612345.5);
  EXPECT_DOUBLE_EQ(h.originNorthing, 4829876.25);

  const SurveyLine& l = ev[1].line;
  EXPECT_EQ(ev[1].kind, SurveyEventKind::LineStart);
  EXPECT_EQ(ev[1].record, 5);
  EXPECT_EQ(l.name, "Line A");
  EXPECT_DOUBLE_EQ(l.startStation, 100.0);
  EXPECT_EQ(l.direction, 'E');
  EXPECT_DOUBLE_EQ(l.increment, -0.5);
  EXPECT_TRUE(l.hasDate);
  EXPECT_EQ(l.year * 10000 + l.month * 100 + l.day, 20240517);
  EXPECT_EQ(l.hour * 3600 + l.minute * 60 + l.second, 9 * 3600 + 30 * 60 + 5);

  EXPECT_EQ(ev[2].kind, SurveyEventKind::TimeMark);
  EXPECT_EQ(ev[2].time.second * 1000 + ev[2].time.millisecond, 5123);
  EXPECT_EQ(ev[2].tick, 5000u);

  EXPECT_EQ(ev[3].kind, SurveyEventKind::Event);
  EXPECT_TRUE(IsStartedText(ev[3].text));

  EXPECT_EQ(ev[4].kind, SurveyEventKind::Reading);
  EXPECT_EQ(ev[4].text, std::string("T\x2b" "00250     ", 12));  // the padding is part of the field
  EXPECT_EQ(ev[4].tick, 5072u);

  EXPECT_EQ(ev[5].kind, SurveyEventKind::Sentence);
  EXPECT_EQ(ev[5].text, sentence);
  EXPECT_EQ(ev[5].fixMark, 'p');
  EXPECT_EQ(ev[5].lineCounter, 7);
  EXPECT_EQ(ev[5].tick, 5100u);
  EXPECT_EQ(ev[5].record, 12);

  EXPECT_EQ(ev[6].kind, SurveyEventKind::RawLine);
  EXPECT_TRUE(ev[6].raw);
  EXPECT_EQ(ev[6].text, "junk,line");
  EXPECT_EQ(ev[6].fixMark, ' ');

  EXPECT_EQ(ev[7].kind, SurveyEventKind::Station);
  EXPECT_DOUBLE_EQ(ev[7].station, 12.5);
  EXPECT_EQ(ev[7].time.millisecond, 7);
  EXPECT_FALSE(ev[7].hasTick);

  EXPECT_EQ(ev[8].kind, SurveyEventKind::Comment);
  EXPECT_EQ(ev[8].text, "a comment h");
}

TEST_F(SurveyEventsTest, SwathsPassOnlyWhenAsked) {
  const std::string bytes = Header(0, 1, 0, 0, 17) + SwathBlock('{', 0, 0, 0, 0, 0) + SwathBlock('{', 2, 1.5, 2, 3, 4);
  std::vector<SurveyEvent> skipped = Walk(bytes);
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped_, 0);
  SurveyEventOptions o;
  o.swaths = true;
  std::vector<SurveyEvent> passed = Walk(bytes, o);
  ASSERT_EQ(passed.size(), 6u);
  EXPECT_EQ(passed[1].kind, SurveyEventKind::Swath);
  EXPECT_EQ(passed[1].swathSubKind, '0');
  EXPECT_EQ(passed[2].swathSubKind, 'e');
  EXPECT_DOUBLE_EQ(passed[2].swathValue, 1.5);
}

TEST_F(SurveyEventsTest, TicksUnwrapWithinASegmentAndRestartOnAppend) {
  struct Step {
    std::string record;
    uint32_t tick;
    int64_t tick64;
    int segment;
  };
  const uint32_t nearWrap = 0xFFFFFF00u;
  const std::vector<Step> steps = {
      {ReadingRecord("T+00100", nearWrap), nearWrap, nearWrap, 0},
      {SentenceGroup("$GPGGA,1", nearWrap + 0x80u, '@', '#', '!', 'p', 1), nearWrap + 0x80u, nearWrap + 0x80ll, 0},
      {ReadingRecord("T+00100", 0x40u), 0x40u, 0x100000040ll, 0},
      // A reading handed over late carries an earlier tick than the group written before it.
      {ReadingRecord("T+00100", 0x10u), 0x10u, 0x100000010ll, 0},
      {EventRecord('X', "PAUSED", 0x200u), 0x200u, 0x100000200ll, 0},
      {Header(1, 1, 0, 0, 17), 0, 0, 1},
      {ReadingRecord("T+00100", 7u), 7u, 7, 1},
      {TimeMarkRecord(At(1, 2, 3, 4), 9u), 9u, 9, 1},
  };
  std::string bytes = Header(0, 1, 0, 0, 17);
  for (const Step& s : steps) bytes += s.record;
  std::vector<SurveyEvent> ev = Walk(bytes);
  ASSERT_EQ(ev.size(), steps.size() + 1);
  EXPECT_TRUE(ev[6].header.append);
  for (size_t i = 0; i < steps.size(); ++i) {
    const SurveyEvent& e = ev[i + 1];
    EXPECT_EQ(e.segment, steps[i].segment) << i;
    if (e.kind == SurveyEventKind::Header) continue;
    EXPECT_EQ(e.tick, steps[i].tick) << i;
    EXPECT_EQ(e.tick64, steps[i].tick64) << i;
  }
}

TEST_F(SurveyEventsTest, BadRecordsAreSkippedAndCounted) {
  const std::string good = ReadingRecord("T+00100", 1000);
  struct Case {
    const char* name;
    std::string bytes;
    size_t events;    // after the header
    int64_t skipped;
  } cases[] = {
      {"line too short", "T+00100 1000\n" + good, 1, 1},
      {"line too long", std::string(40, 'T') + "\n" + good, 1, 1},
      {"unknown kind", "Q" + std::string(25, ' ') + "\n" + good, 1, 1},
      {"letters in the tick", "T+00100" + std::string(12, ' ') + "12x4567\n" + good, 1, 1},
      {"blank tick", "X" + std::string(25, ' ') + "\n" + good, 1, 1},
      {"time mark without a clock", "*ab:cd:ef.ghi      1000000\n" + good, 1, 1},
      {"trailer without lines", SentenceGroup("x", 5, '@', '#', '!', 'p', 1).substr(27) + good, 1, 1},
      {"continuation without a first line", SentenceGroup(std::string(30, 'x'), 5, '@', '#', '!', ' ', 1).substr(27),
       0, 2},
      {"group cut by another record", SentenceGroup("$GPGGA", 5, '@', '#', '!', 'p', 1).substr(0, 27) + good +
                                          SentenceGroup("$GPGGA", 5, '@', '#', '!', 'p', 1).substr(27),
       1, 2},
      {"start station outside a line block", StartStationRecord(5) + good, 1, 1},
      {"G record outside the header", OriginNorthingRecord(5) + good, 1, 1},
      {"record cut short at the end", good + good.substr(0, 20), 1, 1},
      {"a megabyte without a line feed", std::string(1 << 20, 'T') + "\n" + good, 1, 1},
      {"binary junk", std::string("\0\xff\n\n", 4) + good, 1, 2},
  };
  for (const Case& c : cases) {
    std::vector<SurveyEvent> ev = Walk(Header(0, 1, 0, 0, 17) + c.bytes);
    EXPECT_EQ(ev.size(), c.events + 1) << c.name;
    EXPECT_EQ(skipped_, c.skipped) << c.name;
    if (c.events == 1 && ev.size() == 2) {
      EXPECT_EQ(ev[1].kind, SurveyEventKind::Reading) << c.name;
    }
  }
}

TEST_F(SurveyEventsTest, BlocksCutShortAreStillReported) {
  // A header of two records and a line block without its date, each ended by another record.
  Settings s;
  const std::string bytes = IdentifierRecord(s, 0) + FileNameRecord("abc", 0.5) +
                            LineRecord("L1", false, "") + StartStationRecord(3) +
                            ReadingRecord("T+00100", 10);
  std::vector<SurveyEvent> ev = Walk(bytes);
  ASSERT_EQ(ev.size(), 3u);
  EXPECT_EQ(ev[0].kind, SurveyEventKind::Header);
  EXPECT_EQ(ev[0].header.records, 2);
  EXPECT_DOUBLE_EQ(ev[0].header.readingInterval, 0.5);
  EXPECT_EQ(ev[0].header.zone, -9);
  EXPECT_EQ(ev[1].kind, SurveyEventKind::LineStart);
  EXPECT_EQ(ev[1].line.records, 2);
  EXPECT_FALSE(ev[1].line.hasDate);
  EXPECT_DOUBLE_EQ(ev[1].line.startStation, 3);
  EXPECT_EQ(ev[2].kind, SurveyEventKind::Reading);
  // A file that ends inside a block reports it too.
  ev = Walk(IdentifierRecord(s, 0));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].header.records, 1);
}

TEST_F(SurveyEventsTest, LongSentencesReassembleAcrossLines) {
  const std::string text(25 * 3 + 4, 'a');
  const std::string exact(25, 'b');
  std::vector<SurveyEvent> ev = Walk(SentenceGroup(text, 1, '@', '#', '!', 'p', 1) +
                                     SentenceGroup(exact, 2, '?', '"', '!', ' ', 2));
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_EQ(ev[0].text, text);
  EXPECT_EQ(ev[0].segment, -1);
  EXPECT_EQ(ev[1].text, exact);
  EXPECT_TRUE(ev[1].raw);
  EXPECT_EQ(ev[1].record, 5);
}

}  // namespace
}  // namespace obrix
