#include "sim/sim_cli.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <ctime>

namespace obrix::sim {
namespace {

SimSignals g_signals;

void OnSignal(int sig) {
  switch (sig) {
    case SIGUSR1: g_signals.usr1.fetch_add(1); break;
    case SIGUSR2: g_signals.usr2.fetch_add(1); break;
    default: g_signals.stop.store(true); break;
  }
}

}  // namespace

bool ParsePortName(const std::string& text, std::string* port) {
  if (text.size() < 4 || text.size() > 5) return false;
  for (int i = 0; i < 3; ++i)
    if ((text[i] & ~0x20) != "COM"[i]) return false;
  int n = 0;
  for (size_t i = 3; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    n = n * 10 + (text[i] - '0');
  }
  if (n < 1 || n > 99 || text[3] == '0') return false;
  *port = "COM" + std::to_string(n);
  return true;
}

bool ParseNumber(const std::string& text, double lo, double hi, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || errno == ERANGE || !std::isfinite(v) || v < lo || v > hi) return false;
  *value = v;
  return true;
}

bool ParseInt(const std::string& text, int lo, int hi, int* value) {
  double v = 0;
  if (!ParseNumber(text, lo, hi, &v) || v != std::floor(v)) return false;
  *value = static_cast<int>(v);
  return true;
}

bool ParsePair(const std::string& text, double* a, double* b) {
  size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  return ParseNumber(text.substr(0, comma), -1e9, 1e9, a) && ParseNumber(text.substr(comma + 1), -1e9, 1e9, b);
}

SimSignals& InstallSimSignals() {
  static bool installed = false;
  if (!installed) {
    installed = true;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2}) sigaction(sig, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
  }
  return g_signals;
}

double UnixNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

double UtcSecondsOfDay(double unixTime) {
  double s = std::fmod(unixTime, 86400.0);
  return s < 0 ? s + 86400.0 : s;
}

void UtcDate(double unixTime, int* day, int* month, int* year) {
  time_t t = static_cast<time_t>(std::floor(unixTime));
  tm u{};
  gmtime_r(&t, &u);
  *day = u.tm_mday;
  *month = u.tm_mon + 1;
  *year = u.tm_year + 1900;
}

}  // namespace obrix::sim
