#include "datafile/records.h"

#include "platform/numbers.h"
#include "platform/text.h"
#include "settings/survey_inputs.h"

namespace obrix {
namespace {

// Builds one record left to right. A field wider than its width pushes what follows to the right; the text is
// cut at offset 26 in the end, so nothing ever runs past the record.
class RecordText {
 public:
  explicit RecordText(char kind) { s_.push_back(kind); }
  // Bytes left-aligned in `width`, cut to it.
  RecordText& Field(std::string_view bytes, size_t width) {
    bytes = bytes.substr(0, width);
    s_.append(bytes);
    s_.append(width - bytes.size(), ' ');
    return *this;
  }
  RecordText& Put(const std::string& formatted) {
    s_ += formatted;
    return *this;
  }
  RecordText& Spaces(size_t n) {
    s_.append(n, ' ');
    return *this;
  }
  std::string Finish() {
    s_.resize(RecordTextLength, ' ');
    s_.push_back('\n');
    return std::move(s_);
  }

 private:
  std::string s_;
};

std::string Tick(uint32_t tick) { return FormatC("%10lu", static_cast<unsigned long>(tick)); }

}  // namespace

std::string ClockWithMillis(const LocalTime& t) {
  return FormatC("%02d:%02d:%02d.%03d", t.hour, t.minute, t.second, t.millisecond);
}

std::string IdentifierRecord(const Settings& s, int appendMode) {
  RecordText r(appendMode == 1 ? 'o' : 'O');
  r.Put("BX38   W").Put("215").Put(UsesGps(s) ? "GPS" : "GRD");
  r.Put(FormatC("%1d%1d%1d%1d%1d", s.mapUnits, s.dipoleMode, s.loggingMode.load(), s.component, s.modelOption));
  r.Put(FormatC("%2d", s.instrumentEnabled));
  return r.Finish();
}

std::string FileNameRecord(std::string_view baseName, double readingInterval) {
  RecordText r('H');
  r.Field(baseName, 10).Put(FormatC("%7.3f", readingInterval)).Spaces(2).Put(FormatC("%4d", 0));
  return r.Finish();
}

std::string SettingsRecord(const Settings& s) {
  RecordText r('G');
  r.Put(FormatC("%7.3f", s.lateralOffset)).Put(FormatC("%7.3f", s.alongOffset)).Spaces(1).Put("7");
  r.Put(FormatC("%1d%1d%1d%1d", s.rtsUnits, s.slamPseudoGga, s.nmeaFormat.load(), s.gpsInput));
  return r.Finish();
}

std::string OriginEastingRecord(double easting, int zone) {
  RecordText r('G');
  r.Field(FormatC("%14.3f", easting), 14).Spaces(1).Field(FormatC("%02d", zone), 2);
  return r.Finish();
}

std::string OriginNorthingRecord(double northing) {
  RecordText r('G');
  r.Field(FormatC("%14.3f", northing), 14);
  return r.Finish();
}

std::string LineRecord(std::string_view lineName, bool longBaseName, std::string_view overflow) {
  RecordText r('L');
  r.Field(NarrowLatin1(lineName, 12), 12);
  if (longBaseName) r.Field(overflow, 10);
  return r.Finish();
}

std::string StartStationRecord(double startStation) {
  RecordText r('B');
  r.Put(FormatC("%11.2f", startStation));
  return r.Finish();
}

std::string DirectionRecord(int lineDirection, double stationIncrement) {
  static constexpr char kLetters[4] = {'W', 'S', 'N', 'E'};
  // A direction outside 0..3 cannot come from the settings; a space keeps the layout.
  char letter = lineDirection >= 0 && lineDirection < 4 ? kLetters[lineDirection] : ' ';
  RecordText r('A');
  r.Field(std::string_view(&letter, 1), 1).Spaces(6).Put(FormatC("%11.3f", stationIncrement));
  return r.Finish();
}

std::string DateRecord(const LocalTime& t) {
  RecordText r('Z');
  r.Put(FormatC("%02d%02d%04d", t.day, t.month, t.year)).Spaces(1);
  r.Put(FormatC("%02d:%02d:%02d", t.hour, t.minute, t.second));
  return r.Finish();
}

std::string TimeMarkRecord(const LocalTime& t, uint32_t tick) {
  RecordText r('*');
  r.Put(ClockWithMillis(t)).Spaces(3).Put(Tick(tick));
  return r.Finish();
}

std::string StationRecord(double station, const LocalTime& t) {
  RecordText r('S');
  r.Put(FormatC("%11.2f", station)).Spaces(2).Put(ClockWithMillis(t));
  return r.Finish();
}

std::string ReadingRecord(std::string_view instrumentField, uint32_t tick) {
  std::string s(instrumentField.substr(0, 12));
  s.resize(12, ' ');
  s.append(4, ' ');
  s += Tick(tick);
  s.resize(RecordTextLength, ' ');
  s.push_back('\n');
  return s;
}

std::string EventRecord(char kind, std::string_view text, uint32_t tick) {
  RecordText r(kind);
  r.Field(NarrowLatin1(text, 11), 11).Spaces(4).Put(Tick(tick));
  return r.Finish();
}

std::string SentenceGroup(std::string_view text, uint32_t tick, char firstMark, char contMark, char trailerMark,
                          char fixMark, long lineCounter) {
  std::string out;
  out.reserve((text.size() / SentenceChunk + 2) * RecordLength);
  size_t pos = 0;
  char mark = firstMark;
  do {
    RecordText r(mark);
    r.Field(text.substr(pos, SentenceChunk), SentenceChunk);
    out += r.Finish();
    pos += SentenceChunk;
    mark = contMark;
  } while (pos < text.size());
  RecordText trailer(trailerMark);
  trailer.Put(FormatC("%06ld", lineCounter)).Field(std::string_view(&fixMark, 1), 1).Spaces(8).Put(Tick(tick));
  out += trailer.Finish();
  return out;
}

std::string SwathRecord(char kind, char subKind, double value) {
  RecordText r(kind);
  r.Field(std::string_view(&subKind, 1), 1).Put(FormatC("%14.3f", value));
  return r.Finish();
}

std::string SwathBlock(char kind, int set, double v0, double v1, double v2, double v3) {
  if (set == 0) return SwathRecord(kind, '0', 0.0);
  if (set != 1 && set != 2) return {};
  const double values[4] = {v0, v1, v2, v3};
  std::string out;
  for (int k = 0; k < 4; ++k) out += SwathRecord(kind, static_cast<char>(93 + 4 * set + k), values[k]);
  return out;
}

}  // namespace obrix
