#include "export/reading_export.h"

#include <charconv>
#include <cmath>

#include "em38/em38_record.h"
#include "export/utm_geo.h"
#include "gps/length_units.h"
#include "gps/projection.h"
#include "platform/text.h"

namespace obrix {
namespace {

constexpr int64_t kDayMs = 86400000;
constexpr int64_t kLateReadingMs = 10000;  // fixes kept behind the oldest waiting reading
// A reading that has waited this long for the next fix is given out without a position (memory stays bounded
// when the receiver is silent for hours).
constexpr int64_t kLongestWaitMs = 10 * 60 * 1000;

// Whole days in `ms`, rounded down (negative times fall on earlier days).
int64_t FloorDays(int64_t ms) { return ms >= 0 ? ms / kDayMs : -((-ms + kDayMs - 1) / kDayMs); }

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

}  // namespace

bool ParseLagMs(std::string_view text, int64_t& lagMs) {
  int64_t v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || v < 0 || v > kMaxLagMs)
    return false;
  lagMs = v;
  return true;
}

ReadingExporter::ReadingExporter(RowSink sink, ExportOptions options, FixSink fixSink)
    : sink_(std::move(sink)), fixSink_(std::move(fixSink)), options_(options) {}

bool ReadingExporter::LocalAt(int64_t tick64, int64_t& day, int64_t& ms) const {
  if (!haveAnchor_) return false;
  const int64_t t = anchorMs_ + (tick64 - anchorTick_);
  const int64_t days = FloorDays(t);
  day = anchorDay_ + days;
  ms = t - days * kDayMs;
  return true;
}

unsigned ReadingExporter::StartFlag() const { return fixInSegment_ ? startReason_ : kFlagBeforeFirstFix; }

void ReadingExporter::StartSegment(const SurveyHeader& h) {
  CloseRun(kFlagAfterLastFix);
  header_ = h;
  table_ = MakeNmeaTable(h.nmeaFormat, h.slamPseudoGga);
  decode_ = FixDecodeOptions();
  decode_.rtsUnits = h.rtsUnits;
  decode_.mapUnits = h.mapUnits;
  current_ = CurrentFixValues();
  lateral_ = MetresToLengthUnit(std::isfinite(h.lateralOffset) ? h.lateralOffset : 0.0, h.mapUnits);
  along_ = MetresToLengthUnit(std::isfinite(h.alongOffset) ? h.alongOffset : 0.0, h.mapUnits);
  headerZone_ = h.zone >= 1 && h.zone <= 60;
  zone_ = headerZone_ ? h.zone : 0;
  fixInSegment_ = false;
  startReason_ = kFlagBeforeFirstFix;
  haveAnchor_ = false;  // ticks of another session are not comparable
}

void ReadingExporter::Feed(const SurveyEvent& e) {
  switch (e.kind) {
    case SurveyEventKind::Header:
      StartSegment(e.header);
      break;
    case SurveyEventKind::LineStart:
      CloseRun(kFlagLineChange);
      startReason_ = kFlagLineChange;
      line_ = WidenLatin1(e.line.name);
      station_ = e.line.startStation;
      increment_ = e.line.increment;
      stationStarted_ = false;
      haveLineDate_ = e.line.hasDate;
      if (haveLineDate_) {
        lineDay_ = DayNumber(e.line.year, e.line.month, e.line.day);
        lineMs_ = ((e.line.hour * 60 + e.line.minute) * 60 + e.line.second) * 1000ll;
      }
      haveAnchor_ = false;
      break;
    case SurveyEventKind::TimeMark:
      OnTimeMark(e);
      break;
    case SurveyEventKind::Station:
      station_ = e.station;
      stationStarted_ = false;
      break;
    case SurveyEventKind::Reading:
      OnReading(e);
      break;
    case SurveyEventKind::Event:
      if (IsPauseText(e.text)) {
        CloseRun(kFlagPause);
        startReason_ = kFlagPause;
      }
      break;
    case SurveyEventKind::Sentence:
      OnSentence(e);
      break;
    default:
      break;
  }
}

void ReadingExporter::OnTimeMark(const SurveyEvent& e) {
  const int64_t ms = ((e.time.hour * 60 + e.time.minute) * 60 + e.time.second) * 1000ll + e.time.millisecond;
  int64_t day, before;
  if (haveAnchor_) {
    day = anchorDay_;
    before = anchorMs_ + (e.tick64 - anchorTick_);  // where the previous mark puts this one
    const int64_t days = FloorDays(before);
    day += days;
    before -= days * kDayMs;
  } else if (haveLineDate_) {
    day = lineDay_;
    before = lineMs_;
  } else {
    return;  // no date known
  }
  // A time of day well before the expected one has passed midnight; well after it, the clock went back.
  if (ms < before - kDayMs / 2) ++day;
  else if (ms > before + kDayMs / 2) --day;
  haveAnchor_ = true;
  anchorDay_ = day;
  anchorMs_ = ms;
  anchorTick_ = e.tick64;
}

void ReadingExporter::OnReading(const SurveyEvent& e) {
  ExportRow row;
  row.record = e.record;
  row.segment = e.segment;
  row.line = line_;
  if (stationStarted_) station_ += increment_;
  stationStarted_ = true;
  row.station = station_;
  row.hasLocal = LocalAt(e.tick64, row.localDay, row.localMs);
  row.tick = e.tick;
  row.tick64 = e.tick64;
  std::string_view field = e.text;
  while (!field.empty() && (field.back() == ' ' || field.back() == '\0')) field.remove_suffix(1);
  row.instrument = WidenLatin1(field);
  const Em38Reading r = ParseEm38Record(e.text);
  row.channel = r.channel;
  row.conductivity = r.conductivity;
  row.dipole = r.dipole;
  // Counts times the scale carry binary noise (49.300000000000004); the finest step of any mode is 0.00036, so
  // six decimals keep every value and print as the instrument shows it.
  row.value = std::round(r.value * 1e6) / 1e6;
  row.marker = r.marker == 'M';
  row.mapUnits = header_.mapUnits;
  ++counts_.readings;
  pending_.push_back(std::move(row));
  if (!header_.gpsInput) {  // a ground survey without a receiver: no fixes to wait for
    Resolve(pending_.front(), 0);
    pending_.pop_front();
    return;
  }
  while (e.tick64 - pending_.front().tick64 > kLongestWaitMs) {
    ExportRow& old = pending_.front();
    old.flags |= run_.empty() ? StartFlag() : kFlagGap;
    sink_(old);
    pending_.pop_front();
  }
  Drain();
}

void ReadingExporter::OnSentence(const SurveyEvent& e) {
  if (header_.nmeaFormat == 0 && Contains(e.text, "GSA")) {
    current_.FixDop = DecodeGsaDop(e.text, current_.FixDop).FixDop;
    return;
  }
  if (e.fixMark != 'p' || !Contains(e.text, table_.NmeaPositionTag)) return;
  const FixDecode d = DecodeFixSentence(e.text, current_, table_, decode_);
  current_ = d.fix;
  if (!d.fix.FixValid) return;
  TrackFix f;
  f.tick64 = e.tick64;
  if (d.geographic) {
    if (!std::isfinite(d.latitude) || !std::isfinite(d.longitude) || std::fabs(d.latitude) > 90.0 ||
        std::fabs(d.longitude) > 180.0)
      return;
    int zone = zone_;
    const UtmCoordinates u = GeoToUtm(d.latitude, d.longitude, zone, zone_ >= 1 ? 1 : 0);
    zone_ = zone;
    f.easting = MetresToLengthUnit(u.easting, header_.mapUnits);
    f.northing = MetresToLengthUnit(u.northing, header_.mapUnits);
    f.north = d.latitude >= 0.0;
  } else {
    f.easting = d.gridEasting;
    f.northing = d.gridNorthing;
    f.north = false;
  }
  geographic_ = d.geographic;
  f.utcSeconds = std::isfinite(d.fixTime) ? d.fixTime : 0.0;
  f.quality = d.fix.FixQuality;
  f.satellites = d.fix.FixSatellites;
  f.dop = d.fix.FixDop;
  const bool first = run_.empty();
  if (!run_.Add(f)) return;
  if (first) runStart_ = StartFlag();  // what came before this stretch
  fixInSegment_ = true;
  ++counts_.fixes;
  if (fixSink_) {
    ExportFix x;
    x.segment = e.segment;
    x.line = line_;
    x.stretch = stretch_;
    x.tick64 = f.tick64;
    x.easting = f.easting;
    x.northing = f.northing;
    x.mapUnits = header_.mapUnits;
    x.geographic = d.geographic;
    x.zone = d.geographic ? zone_ : 0;
    x.north = f.north;
    x.hasLocal = LocalAt(f.tick64, x.localDay, x.localMs);
    fixSink_(x);
  }
  Drain();
}

void ReadingExporter::Resolve(ExportRow& row, unsigned endFlag) {
  const Placement p = run_.Place(row.tick64 - options_.lagMs, lateral_, along_, kExportGapMs);
  switch (p.result) {
    case PlaceResult::Empty: row.flags |= StartFlag() | endFlag; break;
    case PlaceResult::Before: row.flags |= runStart_; break;
    case PlaceResult::After: row.flags |= endFlag; break;
    case PlaceResult::NoHeading: row.flags |= kFlagNoHeading; break;
    case PlaceResult::Placed:
      row.positioned = true;
      row.easting = p.easting;
      row.northing = p.northing;
      break;
  }
  if (p.gap) row.flags |= kFlagGap;
  if (p.nearer) {
    const TrackFix& f = *p.nearer;
    row.hasFix = true;
    row.quality = f.quality;
    row.satellites = f.satellites;
    row.dop = f.dop;
    double utc = f.utcSeconds + static_cast<double>(row.tick64 - f.tick64) / 1000.0;
    utc = std::fmod(utc, 86400.0);
    if (utc < 0) utc += 86400.0;
    row.hasUtc = std::isfinite(utc);
    row.utcSeconds = utc;
    if (row.positioned && geographic_) {
      row.zone = zone_;
      row.north = f.north;
      row.hasGeo = UtmToGeo(zone_, f.north, LengthUnitToMetres(row.easting, row.mapUnits),
                            LengthUnitToMetres(row.northing, row.mapUnits), row.latitude, row.longitude);
    }
  }
  if (row.positioned) ++counts_.positioned;
  sink_(row);
}

void ReadingExporter::Drain() {
  while (!pending_.empty() && !run_.empty() && pending_.front().tick64 - options_.lagMs <= run_.back().tick64) {
    Resolve(pending_.front(), 0);
    pending_.pop_front();
  }
  if (!run_.empty()) {
    const int64_t oldest = pending_.empty() ? run_.back().tick64 : pending_.front().tick64;
    run_.Trim(oldest - options_.lagMs - kLateReadingMs, std::max(along_, 0.0));
  }
}

void ReadingExporter::CloseRun(unsigned endFlag) {
  // A stretch closed by the end of its session has an end only when it had fixes.
  const unsigned flag = endFlag == kFlagAfterLastFix && !fixInSegment_ ? 0u : endFlag;
  while (!pending_.empty()) {
    Resolve(pending_.front(), flag);
    pending_.pop_front();
  }
  if (!run_.empty()) ++stretch_;
  run_.Clear();
}

void ReadingExporter::Finish() { CloseRun(kFlagAfterLastFix); }

}  // namespace obrix
