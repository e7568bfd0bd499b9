#pragma once
// Pieces shared by the simulator programs: option values, port names and the signals they obey.
#include <atomic>
#include <string>

namespace obrix::sim {

// "COM1".."COM99" (any case) gives the canonical "COMn"; anything else fails.
bool ParsePortName(const std::string& text, std::string* port);
// A finite number within [lo, hi], the whole text used.
bool ParseNumber(const std::string& text, double lo, double hi, double* value);
bool ParseInt(const std::string& text, int lo, int hi, int* value);
// "A,B" into two numbers.
bool ParsePair(const std::string& text, double* a, double* b);

// Signal flags: SIGINT/SIGTERM/SIGHUP ask to stop; SIGUSR1 and SIGUSR2 are program-defined commands.
struct SimSignals {
  std::atomic<bool> stop{false};
  std::atomic<int> usr1{0};
  std::atomic<int> usr2{0};
};
// Installs the handlers (once per process) and returns the flags.
SimSignals& InstallSimSignals();

// Current Unix time in seconds (real time, with fractions) and the UTC seconds of the day for it.
double UnixNow();
double UtcSecondsOfDay(double unixTime);
// UTC date of a Unix time.
void UtcDate(double unixTime, int* day, int* month, int* year);

}  // namespace obrix::sim
