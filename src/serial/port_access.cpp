#include "serial/port_access.h"

#include <cstdio>
#include <mutex>

#include "platform/message_box.h"
#include "platform/net_source.h"
#include "platform/ticks.h"
#include "serial/em38_reader.h"
#include "serial/gps_reader.h"
#include "serial/reader_state.h"
#include "serial/reader_thread.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"

namespace obrix {
namespace {

std::mutex g_handlerMutex;
PortMessageHandler g_handler;

void Show(const PortMessageHandler& show, const std::string& title, const std::string& text) {
  SetMessageTitle(title);
  SetMessageText(text);
  if (show) {
    show(title, text);
    return;
  }
  PortMessageHandler installed;
  {
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    installed = g_handler;
  }
  if (installed) installed(title, text);
}

std::string Format(const char* format, int a, uint32_t b = 0) {
  char buf[320];
  std::snprintf(buf, sizeof buf, format, a, b);
  return buf;
}

}  // namespace

PortGlobals& Ports() {
  static PortGlobals p;
  return p;
}

void ResetPorts() {
  StopEm38Reader();
  StopGpsReader();
  PortGlobals& p = Ports();
  SerialClose(p.GpsPortHandle);
  SerialClose(p.InstrumentPortHandle);
  p.GpsPortHandle = kInvalidPort;
  p.InstrumentPortHandle = kInvalidPort;
  p.GpsPortState = 0;
  p.InstrumentPortState = 0;
  p.GpsPortClosing.store(0);
}

int GpsBaudRate(int gpsBaud) {
  static constexpr int kRates[] = {4800, 9600, 19200, 38400, 57600, 115200};
  return gpsBaud >= 0 && gpsBaud < 6 ? kRates[gpsBaud] : 4800;
}

int InstrumentBaudRate(int instrumentBaudIndex) {
  static constexpr int kRates[] = {9600, 19200, 38400, 57600, 115200};
  return instrumentBaudIndex >= 0 && instrumentBaudIndex < 5 ? kRates[instrumentBaudIndex] : 0;
}

LineSettings GpsLineSettings(const Settings& s) {
  LineSettings l;
  l.baud = GpsBaudRate(s.gpsBaud);
  l.dataBits = s.gpsDataBits == 0 ? 7 : 8;
  l.parity = s.gpsParity == 1 ? 'E' : s.gpsParity == 2 ? 'O' : 'N';
  l.stopBits = s.gpsStopBits == 1 ? 2 : 1;
  l.dtr = true;
  l.rts = false;
  return l;
}

LineSettings InstrumentLineSettings(int instrumentBaudIndex) {
  LineSettings l;
  l.baud = InstrumentBaudRate(instrumentBaudIndex);
  l.dataBits = 8;
  l.parity = 'N';
  l.stopBits = 1;
  l.dtr = true;
  l.rts = true;
  return l;
}

std::string PortErrorText(uint32_t code, int portIndex, int kind) {
  const int n = portIndex + 1;
  switch (code) {
    case kErrorFileNotFound:
      return Format("Port COM%d does not exists", n);
    case kErrorAccessDenied:
      return Format("COM%d is already open by another process, or insufficient permission is provided", n);
    case kErrorSharingViolation:
      return Format("COM%d is in use by other process", n);
    case kErrorSemTimeout:
      return kind == kPortKindGps
                 ? Format("COM%d - A timeout occurred while waiting for a response from the GNSS/RTS (disconnected "
                          "or powered off, port open but the device not streaming, incorrect settings: baud rate, "
                          "parity, etc., faulty cabling).",
                          n)
                 : Format("COM%d - A timeout occurred while waiting for a response from the instrument "
                          "(disconnected or powered off, port open but the device not streaming, or faulty "
                          "cabling).",
                          n);
    default:
      return Format("Port COM%d cannot be open - Error #%d. For a full list, see Windows System Error Codes.", n,
                    code);
  }
}

std::string InstrumentGpsdText(int portIndex) {
  return Format("COM%d is linked to gpsd, which serves GNSS receivers only. Link the EM38 port to a serial device "
                "or to a tcp:// address.",
                portIndex + 1);
}

void SetPortMessageHandler(PortMessageHandler handler) {
  std::lock_guard<std::mutex> lock(g_handlerMutex);
  g_handler = std::move(handler);
}

void ReportPortError(uint32_t code, int portIndex, int kind, const PortMessageHandler& show) {
  Show(show, kSerialPortTitle, PortErrorText(code, portIndex, kind));
}

void ShowPortMessage(const std::string& title, const std::string& text) { Show({}, title, text); }

int OpenGpsPort(const PortMessageHandler& show) {
  PortGlobals& ports = Ports();
  const Settings& s = Config();
  uint32_t error = 0;
  const int fd = SerialOpen(SerialLinkPath(s.gpsPort), &error);
  ports.GpsPortHandle = fd;
  if (fd < 0) {
    ReportPortError(error, s.gpsPort, kPortKindGps, show);
    return 0;
  }
  if (!SerialConfigure(fd, GpsLineSettings(s), &error)) {
    SerialClose(fd);
    ports.GpsPortHandle = kInvalidPort;
    ReportPortError(error, s.gpsPort, kPortKindGps, show);
    return 0;
  }
  SerialPurge(fd);
  return 1;
}

namespace {

int OpenInstrument(bool reportFailure, const PortMessageHandler& show) {
  PortGlobals& ports = Ports();
  const int index = Config().instrumentPort;
  const std::string link = SerialLinkPath(index);
  NetAddress address;
  if (ReadNetLink(link, &address) == NetParse::Valid && address.kind == NetKind::Gpsd) {
    ports.InstrumentPortHandle = kInvalidPort;
    if (reportFailure) Show(show, kSerialPortTitle, InstrumentGpsdText(index));
    return 0;
  }
  uint32_t error = 0;
  const int fd = SerialOpen(link, &error);
  ports.InstrumentPortHandle = fd;
  if (fd < 0) {
    if (reportFailure) ReportPortError(error, index, kPortKindInstrument, show);
    return 0;
  }
  // The result is ignored: a device that refuses the settings still streams at its own.
  (void)SerialConfigure(fd, InstrumentLineSettings(Drv().InstrumentBaudIndex), &error);
  return 1;
}

}  // namespace

int OpenInstrumentPort(int reportFailure) { return OpenInstrument(reportFailure != 0, {}); }

int ReopenInstrumentPort(const PortMessageHandler& show) { return OpenInstrument(true, show); }

int OpenInstrumentPortWithRetries(const std::function<int(int)>& open) {
  // A network source is tried once: its connect has waited for an answer already, on the window thread.
  NetAddress address;
  const int attempts =
      ReadNetLink(SerialLinkPath(Config().instrumentPort), &address) == NetParse::Valid ? 1 : 4;
  for (int attempt = 1; attempt <= attempts; ++attempt) {
    if (open(attempt == attempts ? 1 : 0)) return 1;
    DelayMs(10);
  }
  return 0;
}

int OpenLoggingPorts() {
  const Settings& s = Config();
  PortGlobals& ports = Ports();
  int failures = 0;
  bool instrumentOpened = false;
  bool gpsOpened = false;
  if (UsesInstrument(s)) {
    if (ports.InstrumentPortState != 0 || ports.InstrumentPortHandle != kInvalidPort) CloseInstrumentPort();
    if (OpenInstrumentPortWithRetries()) {
      ports.InstrumentPortState = 1;
      instrumentOpened = true;
    } else {
      ++failures;
    }
  }
  if (UsesGps(s)) {
    if (OpenGpsPort()) {
      ports.GpsPortState = 1;
      gpsOpened = true;
    } else {
      ++failures;
    }
  }
  if (failures == 0) return 1;
  if (instrumentOpened) CloseInstrumentPort();
  if (gpsOpened) CloseGpsPort();
  return 0;
}

void CloseInstrumentPort() {
  StopEm38Reader();
  PortGlobals& ports = Ports();
  SerialPurge(ports.InstrumentPortHandle);
  SerialClose(ports.InstrumentPortHandle);
  ports.InstrumentPortHandle = kInvalidPort;
  ports.InstrumentPortState = 0;
}

void CloseGpsPort() {
  StopGpsReader();
  PortGlobals& ports = Ports();
  SerialPurge(ports.GpsPortHandle);
  SerialClose(ports.GpsPortHandle);
  ports.GpsPortHandle = kInvalidPort;
  ports.GpsPortState = 0;
}

void CloseGpsPortForMonitor() {
  PortGlobals& ports = Ports();
  if (ports.GpsPortHandle == kInvalidPort) return;
  ports.GpsPortClosing.exchange(1);
  ReaderThread& thread = GpsReaderThread();
  thread.Wake();
  if (thread.Held()) {
    if (!thread.WaitEnded(5000) && !thread.WaitEnded(2000)) {
      Show({}, kSerialPortTitle, kGpsPortNotClosedText);
      return;
    }
    thread.Join();
  }
  SerialPurge(ports.GpsPortHandle);
  SerialClose(ports.GpsPortHandle);
  ports.GpsPortHandle = kInvalidPort;
  ports.GpsPortClosing.exchange(0);
}

}  // namespace obrix
