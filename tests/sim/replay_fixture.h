#pragma once
// Survey data files for replay tests, built with the record builders: logging sessions with readings every
// 72 ms and a GGA group every 500 ms, each session after the first in append form.
#include <cstdint>
#include <string>
#include <vector>

#include "datafile/records.h"
#include "settings/settings.h"
#include "sim/em38_stream.h"
#include "sim/gnss_stream.h"
#include "sim/scenario.h"

namespace obrix::test {

struct ReplaySession {
  uint32_t firstTick = 1000;
  uint32_t lengthMs = 2000;
  bool readings = true;
  bool sentences = true;
  std::string rawLine;   // stored as a raw line halfway through the session when not empty
  int firstValue = 0;    // readings carry distinct values from here on
  double walkStart = 0;  // seconds of the walk (and of UTC after 12:00) at the first tick
};

// What a file holds, in file order: the instrument fields (as they go over the wire) and the sentence texts.
struct ReplayContent {
  std::string bytes;
  std::vector<std::string> readings, sentences;
};

inline void AddSession(const ReplaySession& s, ReplayContent* c) {
  const bool append = !c->bytes.empty();
  Settings st = Config();
  st.gpsInput = s.sentences || !s.rawLine.empty() ? 1 : 0;
  c->bytes += IdentifierRecord(st, append ? 1 : 0);
  c->bytes += FileNameRecord("REPLAY", 0.05);
  c->bytes += SettingsRecord(st);
  c->bytes += OriginEastingRecord(0, 17);
  c->bytes += OriginNorthingRecord(0);
  LocalTime t;
  c->bytes += LineRecord("1", false, "") + StartStationRecord(0) + DirectionRecord(2, 1) + DateRecord(t);
  c->bytes += TimeMarkRecord(t, s.firstTick);
  c->bytes += EventRecord('X', "$STARTED", s.firstTick);

  sim::Em38Options eo;
  sim::GnssOptions go;
  go.format = 1;
  sim::GnssStream gnss(go, sim::Scenario{}, 0, 0, 43200);
  uint32_t nextReading = 0, nextSentence = 3;
  bool rawDone = s.rawLine.empty();
  int value = s.firstValue;
  for (uint32_t at = 0; at <= s.lengthMs; ++at) {
    const uint32_t tick = s.firstTick + at;  // wraps like the counter
    if (s.readings && at == nextReading) {
      std::string r = sim::FormatEm38Record(eo, 10.0 + 0.1 * value++, false);
      r.pop_back();  // the CR
      c->bytes += ReadingRecord(r, tick);
      c->readings.push_back(r);
      nextReading += 72;
    }
    if (s.sentences && at == nextSentence) {
      std::string lines = gnss.Epoch(s.walkStart + at / 1000.0, 43200 + s.walkStart + at / 1000.0);
      for (size_t from = 0, end; (end = lines.find("\r\n", from)) != std::string::npos; from = end + 2) {
        const std::string text = lines.substr(from, end - from);
        c->bytes += SentenceGroup(text, tick, '@', '#', '!', ' ', 0);
        c->sentences.push_back(text);
      }
      nextSentence += 500;
    }
    if (!rawDone && at == s.lengthMs / 2) {
      c->bytes += SentenceGroup(s.rawLine, tick, '?', '"', '!', ' ', 0);
      c->sentences.push_back(s.rawLine);
      rawDone = true;
    }
  }
  c->bytes += EventRecord('X', "PAUSED", s.firstTick + s.lengthMs);
}

inline ReplayContent MakeSurvey(const std::vector<ReplaySession>& sessions) {
  ReplayContent c;
  for (const ReplaySession& s : sessions) AddSession(s, &c);
  return c;
}

}  // namespace obrix::test
