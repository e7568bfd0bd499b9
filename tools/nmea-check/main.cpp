// nmea-check [--format N] [--slam] [FILE]: what the program makes of a receiver's output, one CSV row per
// position sentence.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "gps/receiver_check.h"
#include "platform/program_options.h"

namespace {

// Exit codes.
constexpr int kOk = 0, kUsage = 1, kCannotRead = 2;

const char kUsageText[] =
    "usage: nmea-check [--format N] [--slam] [FILE]\n"
    "Reads raw receiver output from FILE (or standard input) and shows what the logger makes of it: the GPS\n"
    "port's line and checksum rules, then every position sentence of the format decoded and projected to UTM in\n"
    "the zone of the first valid position. Writes CSV to standard output, one row per position sentence:\n"
    "sentence, valid, reason, latitude, longitude, easting, northing (metres), zone, quality, satellites, dop,\n"
    "time (seconds of the UTC day). The logger takes at most one position a second; this check takes them all.\n"
    "A count of lines and verdicts goes to standard error.\n"
    "  --format N  the GPS port format: 0 GGA/GSA, 1 GGA (default), 2 POS, 3 LLK, 4 LLQ, 5 GLL, 6 GGK,\n"
    "              7 RTS pseudo-GGA, 8 pseudo-GLL\n"
    "  --slam      format 7 is the pseudo-GGA of a SLAM RTS (checked, with its four extra values)\n"
    "  --help      this text\n"
    "  --version   the version\n"
    "Exit codes: 0 done, 1 bad arguments, 2 file missing or unreadable (or the output cannot be written).\n";

int Usage(const std::string& message) {
  std::fprintf(stderr, "nmea-check: %s\n", message.c_str());
  std::fputs(kUsageText, stderr);
  return kUsage;
}

bool ParseFormat(const std::string& v, int* format) {
  if (v.size() != 1 || v[0] < '0' || v[0] > '8') return false;
  *format = v[0] - '0';
  return true;
}

bool WriteOut(const std::string& text) { return std::fwrite(text.data(), 1, text.size(), stdout) == text.size(); }

}  // namespace

int main(int argc, char** argv) {
  if (auto code = obrix::AnswerHelpOrVersion(argc, argv, "nmea-check", kUsageText)) return *code;
  std::string input;
  bool haveInput = false;
  int format = 1, slam = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--slam") {
      slam = 1;
    } else if (a == "--format" || a.rfind("--format=", 0) == 0) {
      std::string v;
      if (a == "--format") {
        if (i + 1 >= argc) return Usage("--format needs a value");
        v = argv[++i];
      } else {
        v = a.substr(9);
      }
      if (!ParseFormat(v, &format)) return Usage("unknown format \"" + v + "\" (0 to 8)");
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return Usage("unknown option " + a);
    } else if (!haveInput) {
      input = a;
      haveInput = true;
    } else {
      return Usage("only one FILE");
    }
  }

  const bool fromStdin = !haveInput || input == "-";
  const std::string name = fromStdin ? "standard input" : input;
  int fd = 0;
  if (!fromStdin) {
    fd = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      std::fprintf(stderr, "nmea-check: %s: %s\n", input.c_str(), std::strerror(errno));
      return kCannotRead;
    }
    struct stat st{};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      std::fprintf(stderr, "nmea-check: %s: is a folder\n", input.c_str());
      ::close(fd);
      return kCannotRead;
    }
  }

  const obrix::NmeaTable table = obrix::MakeNmeaTable(format, slam);
  obrix::ReceiverCheck check(table);
  bool outputOk = WriteOut(obrix::ReceiverCheckCsvHeader());
  const auto row = [&](const obrix::CheckedSentence& s) {
    if (outputOk) outputOk = WriteOut(obrix::ReceiverCheckCsvRow(s, table));
  };
  char buf[65536];
  int status = kOk;
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      std::fprintf(stderr, "nmea-check: %s: %s\n", name.c_str(), std::strerror(errno));
      status = kCannotRead;
      break;
    }
    check.Feed(std::string_view(buf, static_cast<size_t>(n)), row);
  }
  if (!fromStdin) ::close(fd);
  if (std::fflush(stdout) != 0) outputOk = false;
  if (!outputOk) {
    std::fprintf(stderr, "nmea-check: writing standard output failed\n");
    return kCannotRead;
  }
  const obrix::ReceiverCheckCounts& c = check.counts();
  std::fprintf(stderr,
               "nmea-check: format %d (%s): %ld lines, %ld refused by the line or checksum rules, %ld position "
               "sentences: %ld valid, %ld void\n",
               format, obrix::kNmeaFormatNames[table.nmeaFormat], c.lines, c.rejected, c.positions, c.valid,
               c.invalid);
  return status;
}
