// Reader byte handling on arbitrary input: EM38 framing (both record lengths) and GPS line handling in every
// input format, with the data still flowing as if recording.
#include <cstddef>
#include <cstdint>

#include "gps/nmea_table.h"
#include "serial/em38_reader.h"
#include "serial/gps_reader.h"
#include "serial/reader_state.h"
#include "state/session.h"

namespace {

class NullSink : public obrix::GpsReaderSink {
 public:
  void SendSentence(const std::string& s, uint32_t) override { sink_ += s.size(); }
  void SendGsa(const std::string& s, uint32_t) override { sink_ += s.size(); }
  void PaintLinkWarning() override {}
  void ShowMessage(const std::string&, const std::string&) override {}
  void WriteSentence(std::string_view text, uint32_t, char, char, char, long) override { sink_ += text.size(); }
  void WriteEvent(std::string_view) override {}
  size_t sink_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  obrix::Sess().LoggingState = obrix::Logging;
  obrix::ReaderValues& r = obrix::Readers();
  r.GpsRecordingOn = 1;
  r.Em38RecordLength = (data[0] & 1) ? 12 : 7;
  r.Em38PostEvery = 1 + data[0] % 5;
  obrix::Em38Framer framer;
  NullSink sink;
  obrix::GpsLineHandler gps(sink, obrix::MakeNmeaTable(data[1] % 10, data[1] & 0x10 ? 1 : 0));
  gps.Start(0);
  uint32_t now = 0;
  for (size_t i = 2; i < size; ++i) {
    now += data[i] & 0x3F;
    obrix::Em38RecordCopy copy;
    framer.Feed(data[i], now, &copy);
    gps.Feed(data[i], now);
  }
  return 0;
}
