#pragma once
// The two ports of a logging session: opening with the line settings from the settings, the port states, the
// error messages of a failed open, and the closing steps.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/serial.h"
#include "platform/shared_value.h"

namespace obrix {

struct Settings;

inline constexpr int kGpsReadTimeoutMs = 50;
inline constexpr int kGpsWriteTimeoutMs = 50;
inline constexpr int kInstrumentReadTimeoutMs = 10;

// Device kinds of ReportPortError.
inline constexpr int kPortKindGps = 0;
inline constexpr int kPortKindInstrument = 1;

// Port states: 0 closed, 1 open, 2 open and being read by its reader thread.
struct PortGlobals {
  Shared<int> GpsPortHandle = kInvalidPort;         // written by the window thread, or by the GPS reader while
                                                    // it reconnects
  Shared<int> InstrumentPortHandle = kInvalidPort;
  Shared<int> GpsPortState = 0;
  Shared<int> InstrumentPortState = 0;
  std::atomic<int> GpsPortClosing{0};               // 1 while the GPS monitor closes the GPS port
};
PortGlobals& Ports();
// Stops any reader, closes both ports and clears the states (tests).
void ResetPorts();

// Rates: gpsBaud 0..5 = 4800..115200, anything else 4800. InstrumentBaudIndex 0..4 = 9600..115200, anything
// else 0 (the driver's current rate is kept).
int GpsBaudRate(int gpsBaud);
int InstrumentBaudRate(int instrumentBaudIndex);
// GPS: 7/8 data bits, none/even/odd parity, one/two stop bits (out-of-range values: 8, none, one); DTR on,
// RTS off. Instrument: 8N1, DTR and RTS on.
LineSettings GpsLineSettings(const Settings& s);
LineSettings InstrumentLineSettings(int instrumentBaudIndex);

// The text of a failed open (the first number is portIndex + 1).
std::string PortErrorText(uint32_t code, int portIndex, int kind);
inline constexpr const char* kSerialPortTitle = "Serial Port";
// Shown instead of opening the instrument port when its link names a gpsd source.
std::string InstrumentGpsdText(int portIndex);
inline constexpr const char* kGpsPortNotClosedText =
    "The GPS port (cable or Bluetooth connection) cannot be closed. Please exit and re-start the program.";

// Shows a message ("MESSAGEOK") and returns when the user has closed it. The UI installs one; until then
// messages are only kept in MessageTitle/MessageText.
using PortMessageHandler = std::function<void(const std::string& title, const std::string& text)>;
void SetPortMessageHandler(PortMessageHandler handler);
// Fills MessageTitle ("Serial Port") and MessageText and shows them through `show` (the installed handler
// when `show` is empty).
void ReportPortError(uint32_t code, int portIndex, int kind, const PortMessageHandler& show = {});
// Shows a message through the installed handler (filling the message buffers).
void ShowPortMessage(const std::string& title, const std::string& text);

// Opens `gpsPort` with the GPS line settings into GpsPortHandle; 1 on success, 0 after reporting the failure
// (through `show`, or the installed handler). Does not change GpsPortState.
int OpenGpsPort(const PortMessageHandler& show = {});
// Opens `instrumentPort` at InstrumentBaudIndex into InstrumentPortHandle; 1 on success, 0 on failure (reported
// only when reportFailure is non-zero). A link to a gpsd source is refused (InstrumentGpsdText).
int OpenInstrumentPort(int reportFailure);

// Opens `instrumentPort` again for the EM38 link watchdog; a failure is reported through `show`.
int ReopenInstrumentPort(const PortMessageHandler& show);

// The instrument attempts at the start of logging: up to four, 10 ms apart (one when the port links to a
// network source); only the last reports a failure.
// `open` is OpenInstrumentPort unless a test passes another. Returns 1 when an attempt succeeded.
int OpenInstrumentPortWithRetries(const std::function<int(int)>& open = OpenInstrumentPort);

// The port steps of the Logging start: the instrument (when instrumentEnabled; a port still open from an
// earlier session is stopped, purged and closed first) and the GPS port (when gpsInput). Success sets the
// state of each port to 1. When either failed, the one that did open is closed again and the result is 0.
int OpenLoggingPorts();

// Closes a port after its reader has stopped (the reader owns its descriptor while it runs): stops and joins
// the reader, purges, closes, sets the handle invalid and the state to 0.
void CloseInstrumentPort();
void CloseGpsPort();

// The GPS monitor's close: sets GpsPortClosing, waits up to 5 s and then 2 s more for the thread in
// GpsReaderThread() to end. When it has not ended, shows kGpsPortNotClosedText and returns with the port open
// and GpsPortClosing still 1. Otherwise joins it, purges and closes the port and clears GpsPortClosing.
void CloseGpsPortForMonitor();

}  // namespace obrix
