#pragma once
// Positioned readings from the events of a data file: each reading with its line, station, local and UTC time,
// decoded value and the sensor point placed between the accepted fixes around it. Rows come out in the order of
// the reading records; a reading waits only until a fix after it (or the end of its stretch) is known.
#include <cstdint>
#include <deque>
#include <functional>
#include <string_view>

#include "datafile/survey_events.h"
#include "export/export_row.h"
#include "export/fix_track.h"
#include "gps/nmea_decode.h"
#include "gps/nmea_table.h"

namespace obrix {

struct ExportCounts {
  int64_t readings = 0;
  int64_t positioned = 0;
  int64_t fixes = 0;  // accepted fixes used
};

struct ExportOptions {
  // Each reading is placed where the sensor was this long before its record was written (the instrument's
  // response and transmission delay); its times stay those of the record.
  int64_t lagMs = 0;
};

inline constexpr int64_t kMaxLagMs = 60000;
// Whole milliseconds 0..kMaxLagMs; false for anything else.
bool ParseLagMs(std::string_view text, int64_t& lagMs);

class ReadingExporter {
 public:
  using RowSink = std::function<void(const ExportRow&)>;
  using FixSink = std::function<void(const ExportFix&)>;
  explicit ReadingExporter(RowSink sink, ExportOptions options = {}, FixSink fixSink = nullptr);

  void Feed(const SurveyEvent& e);
  // The end of the file: readings after the last fix are given out unpositioned.
  void Finish();
  const ExportCounts& counts() const { return counts_; }

 private:
  void StartSegment(const SurveyHeader& h);
  void CloseRun(unsigned endFlag);
  void Drain();
  void Resolve(ExportRow& row, unsigned endFlag);
  void OnSentence(const SurveyEvent& e);
  void OnReading(const SurveyEvent& e);
  void OnTimeMark(const SurveyEvent& e);
  unsigned StartFlag() const;

  bool LocalAt(int64_t tick64, int64_t& day, int64_t& ms) const;

  RowSink sink_;
  FixSink fixSink_;
  ExportOptions options_;
  ExportCounts counts_;
  int64_t stretch_ = 0;

  // Segment: header settings and fix decoding.
  SurveyHeader header_;
  NmeaTable table_ = MakeNmeaTable(1, 0);
  FixDecodeOptions decode_;
  CurrentFixValues current_;
  double lateral_ = 0.0, along_ = 0.0;  // map units
  bool headerZone_ = false;
  int zone_ = 0;
  bool geographic_ = false;  // the fixes are latitude/longitude (else grid coordinates)
  bool fixInSegment_ = false;

  // Stretch between breaks.
  FixRun run_;
  unsigned startReason_ = kFlagBeforeFirstFix;  // the break that ended the last stretch
  unsigned runStart_ = kFlagBeforeFirstFix;     // flag of readings before the first fix of this stretch
  std::deque<ExportRow> pending_;

  // Line, station and local clock.
  std::string line_;
  double station_ = 0.0, increment_ = 0.0;
  bool stationStarted_ = false;
  bool haveLineDate_ = false;
  int64_t lineDay_ = 0, lineMs_ = 0;
  bool haveAnchor_ = false;
  int64_t anchorDay_ = 0, anchorMs_ = 0, anchorTick_ = 0;
};

}  // namespace obrix
