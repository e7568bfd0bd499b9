#include "sim/gnss_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace obrix::sim {
namespace {

std::string Fmt(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

std::string Int(const char* format, int v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

std::string Angle(double degrees, int degreeDigits) {
  const long long total = std::llround(std::fabs(degrees) * 60.0 * 1e5);  // 1e-5 minutes
  const long long perDegree = 60LL * 100000;
  const int deg = static_cast<int>(total / perDegree);
  const long long rem = total % perDegree;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*d%02d.%05d", degreeDigits, deg, static_cast<int>(rem / 100000),
                static_cast<int>(rem % 100000));
  return buf;
}

}  // namespace

std::string NmeaLatitude(double degrees) { return Angle(degrees, 2); }
std::string NmeaLongitude(double degrees) { return Angle(degrees, 3); }

std::string NmeaTime(double secondsOfDay) {
  long long cs = std::llround(secondsOfDay * 100.0) % 8640000;
  if (cs < 0) cs += 8640000;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d.%02d", static_cast<int>(cs / 360000), static_cast<int>(cs / 6000 % 60),
                static_cast<int>(cs / 100 % 60), static_cast<int>(cs % 100));
  return buf;
}

std::string NmeaFinish(const std::string& body, bool withChecksum, bool corrupt) {
  std::string s = body;
  if (withChecksum) {
    unsigned x = 0;
    for (size_t i = 1; i < body.size(); ++i) x ^= static_cast<unsigned char>(body[i]);
    if (corrupt) x ^= 0x5A;
    char buf[8];
    std::snprintf(buf, sizeof buf, "*%02X", x & 0xFF);
    s += buf;
  }
  s += "\r\n";
  return s;
}

bool GnssFormatHasChecksum(const GnssOptions& o) {
  if (o.format == 7) return o.slam;
  return o.format != 8;
}

GnssStream::GnssStream(const GnssOptions& o, const Scenario& scenario, uint32_t startMs, double walkSecondsAtStart,
                       double utcAtStart)
    : o_(o), scenario_(scenario), last_(startMs), walkAtStart_(walkSecondsAtStart), utcAtStart_(utcAtStart) {
  o_.rateHz = std::clamp(o_.rateHz, 1, 10);
}

std::string GnssStream::Sentence(const std::string& body) {
  const bool checksum = GnssFormatHasChecksum(o_);
  bool corrupt = false;
  if (checksum) {
    ++checksummed_;
    corrupt = o_.badChecksumEvery > 0 && checksummed_ % static_cast<uint64_t>(o_.badChecksumEvery) == 0;
  }
  return NmeaFinish(body, checksum, corrupt);
}

std::string GnssStream::Epoch(double walkSeconds, double utcSeconds) {
  const WalkPoint w = WalkAt(scenario_, walkSeconds);
  double lat = 0, lon = 0;
  LocalToGeo(scenario_, w.east, w.north, &lat, &lon);
  const std::string time = NmeaTime(utcSeconds);
  const std::string latText = NmeaLatitude(lat), ns = lat < 0 ? "S" : "N";
  const std::string lonText = NmeaLongitude(lon), ew = lon < 0 ? "W" : "E";
  const std::string q = Int("%d", o_.quality), sats = Int("%02d", o_.satellites);
  const double north = o_.gridNorthOrigin + w.north, east = o_.gridEastOrigin + w.east;
  char mdy[16], dmy[16];
  std::snprintf(mdy, sizeof mdy, "%02d%02d%02d", o_.month % 100, o_.day % 100, o_.year % 100);
  std::snprintf(dmy, sizeof dmy, "%02d%02d%02d", o_.day % 100, o_.month % 100, o_.year % 100);
  const std::string alt = Fmt("%.2f", o_.altitude);
  const std::string geoPart = latText + "," + ns + "," + lonText + "," + ew;

  std::string out;
  switch (o_.format) {
    case 0:
    case 1:
    default:
      out += Sentence("$GPGGA," + time + "," + geoPart + "," + q + "," + sats + "," + Fmt("%.1f", o_.hdop) + "," +
                      alt + ",M," + Fmt("%.1f", o_.geoidSeparation) + ",M,,");
      if (o_.format == 0) {
        static const int kPrn[12] = {1, 3, 7, 8, 11, 13, 17, 19, 22, 27, 28, 30};
        std::string body = "$GPGSA,A,3";
        for (int i = 0; i < 12; ++i) body += i < o_.satellites ? Int(",%02d", kPrn[i]) : ",";
        body += Fmt(",%.1f", o_.pdop) + Fmt(",%.1f", o_.hdop) + Fmt(",%.1f", o_.vdop);
        out += Sentence(body);
      }
      break;
    case 2:
      out += Sentence("$PASHR,POS," + Int("%d", std::max(0, o_.quality - 1)) + "," + sats + "," + time + "," +
                      geoPart + "," + Fmt("%+08.2f", o_.altitude) + ",," + Fmt("%05.1f", w.courseDeg) + "," +
                      Fmt("%05.1f", w.speed * 3.6) + ",+000.0," + Fmt("%.1f", o_.pdop) + "," +
                      Fmt("%.1f", o_.hdop) + "," + Fmt("%.1f", o_.vdop) + ",1.0,UC00");
      break;
    case 3:
    case 4:
      out += Sentence(std::string(o_.format == 3 ? "$GPLLK," : "$GPLLQ,") + time + "," +
                      (o_.format == 3 ? mdy : dmy) + "," + Fmt("%.3f", east) + ",M," + Fmt("%.3f", north) + ",M," +
                      q + "," + sats + "," + Fmt("%.3f", o_.hdop * 0.01) + "," + Fmt("%.3f", o_.altitude) + ",M");
      break;
    case 5:
    case 8:
      out += Sentence("$GPGLL," + geoPart + "," + time + ",A,A");
      break;
    case 6:
      out += Sentence("$PTNL,GGK," + time + "," + mdy + "," + geoPart + "," + q + "," + sats + "," +
                      Fmt("%.1f", o_.pdop) + "," + Fmt("EHT%.3f", o_.altitude) + ",M");
      break;
    case 7: {
      const double f = o_.rtsFeet ? 1.0 / 0.3048 : 1.0;
      const std::string unit = o_.rtsFeet ? "F" : "M";
      const std::string grid = Fmt("%.3f", north * f) + ",N," + Fmt("%.3f", east * f) + ",E," + q;
      if (o_.slam) {
        // SLAM fields: a status in field 8 and three values in fields 9, 12 and 14.
        out += Sentence("$GPGGA," + time + "," + grid + "," + Int("%02d", o_.quality > 0 ? 1 : 0) + "," +
                        Fmt("%.3f", o_.hdop * 0.01) + "," + Fmt("%.3f", o_.altitude * f) + "," + unit + "," +
                        Fmt("%.3f", o_.vdop * 0.01) + "," + unit + "," + Fmt("%.3f", w.speed));
      } else {
        out += Sentence("$GPGGA," + time + "," + grid + "," + sats + "," + Fmt("%.1f", o_.hdop) + "," +
                        Fmt("%.3f", o_.altitude * f) + "," + unit + ",,,,");
      }
      break;
    }
  }
  if (o_.extraSentence) {
    const double knots = w.speed * 3600.0 / 1852.0;
    out += NmeaFinish("$GPVTG," + Fmt("%.1f", w.courseDeg) + ",T,,M," + Fmt("%.2f", knots) + ",N," +
                          Fmt("%.2f", w.speed * 3.6) + ",K,A",
                      true);
  }
  return out;
}

std::string GnssStream::Garbage(int kind) {
  switch (kind % 3) {
    case 0:
      return "RX OVERRUN 0x3F ### ~~ noise\r\n";
    case 1: {
      std::string s = "$GPG";
      s += '\x01';
      s += "\x7f\xff\xc3";
      s += "A,12\x02\x03";
      s += "\r\n";
      return s;
    }
    default: {
      std::string s = "$GPTXT,";
      while (s.size() < 250) s += static_cast<char>('A' + s.size() % 26);
      return s + "\r\n";
    }
  }
}

void GnssStream::AddSilence(uint64_t fromElapsedMs, uint32_t durationMs) {
  silences_.push_back({fromElapsedMs, fromElapsedMs + durationMs});
}

void GnssStream::SilenceNow(uint32_t durationMs) { AddSilence(elapsed_, durationMs); }

bool GnssStream::SilentAt(uint64_t elapsedMs) const {
  for (const Window& w : silences_)
    if (elapsedMs >= w.from && elapsedMs < w.to) return true;
  return false;
}

void GnssStream::Generate(uint32_t nowMs, std::string* out) {
  elapsed_ += AdvanceTicks(&last_, nowMs);
  const uint64_t rate = static_cast<uint64_t>(o_.rateHz);
  const uint64_t due = elapsed_ * rate / 1000 + 1;  // epochs 0 .. due-1 are due
  if (due > next_ + 2 * rate) next_ = due - 1;
  for (; next_ < due; ++next_) {
    const uint64_t at = next_ * 1000 / rate;
    if (SilentAt(at)) continue;
    *out += Epoch(walkAtStart_ + at / 1000.0, utcAtStart_ + at / 1000.0);
    if (o_.garbageEvery > 0 && (next_ + 1) % static_cast<uint64_t>(o_.garbageEvery) == 0)
      *out += Garbage(garbageKind_++);
  }
  // Windows that are over are forgotten.
  silences_.erase(std::remove_if(silences_.begin(), silences_.end(), [&](const Window& w) { return w.to <= elapsed_; }),
                  silences_.end());
}

}  // namespace obrix::sim
