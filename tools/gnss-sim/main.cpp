// gnss-sim: streams receiver sentences into a pseudo-terminal linked as <data root>/ports/COMn.
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "platform/program_options.h"
#include "platform/pty_link.h"
#include "platform/ticks.h"
#include "sim/gnss_stream.h"
#include "sim/replay_run.h"
#include "sim/scenario.h"
#include "sim/sim_cli.h"
#include "sim/unplug_schedule.h"

using namespace obrix;
using namespace obrix::sim;

namespace {

const char kHelp[] =
    "Usage: gnss-sim [options]\n"
    "Streams GNSS receiver (or total station) sentences into a pseudo-terminal linked as\n"
    "<data root>/ports/COMn (data root: $OBRIX38_HOME, else ~/.local/share/Wendral/). Runs until SIGINT or\n"
    "SIGTERM, then removes its link. Bytes sent to the receiver are printed as \"received: ...\" lines.\n"
    "\n"
    "  --port COMn              port link to create (default COM6)\n"
    "  --format N               input format 0..8 (default 1): 0 GGA with GSA, 1 GGA, 2 POS, 3 LLK, 4 LLQ,\n"
    "                           5 GLL, 6 GGK, 7 RTS pseudo-GGA (grid northing and easting, no checksum),\n"
    "                           8 pseudo-GLL (no checksum)\n"
    "  --slam                   format 7 with the SLAM fields (status and three values, with checksums)\n"
    "  --rate HZ                epochs per second, 1..10 (default 1)\n"
    "  --scenario FILE          walk (and start time) from the scenario FILE shared with em38-sim\n"
    "  --write-scenario FILE    write the default scenario, starting now, to FILE and exit\n"
    "  --origin LAT,LON         origin of the walk in degrees (default 43.6099,-79.6107)\n"
    "  --heading DEG            direction of the first line, clockwise from north (default 0)\n"
    "  --speed M/S              walking speed (default 1.2); with --replay the replay speed factor\n"
    "  --line-length M          length of each survey line (default 40)\n"
    "  --line-spacing M         distance between lines (default 1)\n"
    "  --lines N                number of lines before the walk turns back (default 20)\n"
    "  --quality Q              fix quality digit 0..9 (default 4)\n"
    "  --satellites N           satellites in use 0..12 (default 10)\n"
    "  --pdop X --hdop X --vdop X   dilution of precision (defaults 1.8, 0.9, 1.5)\n"
    "  --grid-origin N,E        local grid position of the origin for LLK, LLQ and pseudo-GGA (default 5000,1000)\n"
    "  --rts-feet               format 7: grid values in feet, unit letter F\n"
    "  --bad-checksum-every N   every N-th checksummed sentence carries a wrong checksum\n"
    "  --garbage-every N        a garbage line after every N-th epoch (junk text, control and 8-bit bytes, a\n"
    "                           250-character line, in turn)\n"
    "  --extra                  also send a VTG sentence each epoch\n"
    "  --silence-at SEC         send nothing from SEC seconds after the start ...\n"
    "  --silence-for SEC        ... for SEC seconds (default 5; also the length of a SIGUSR1 silence)\n"
    "  --unplug-at SEC          close the pseudo-terminal SEC seconds after the start (unplugged cable) ...\n"
    "  --unplug-for SEC         ... and open a new one after SEC seconds (default 5; also for SIGUSR2)\n"
    "  --replay FILE            stream the sentences and raw lines of the survey data FILE instead, with their\n"
    "                           original spacing (started together with em38-sim --replay FILE, both stay in\n"
    "                           step); the program ends after the last line. Only --port, --speed and --loop\n"
    "                           go with it\n"
    "  --speed N                (with --replay) replay N times as fast, 0.1 .. 100 (default 1)\n"
    "  --loop                   start the replay over 1 s after its end, until stopped\n"
    "  --help                   this text\n"
    "  --version                the version\n"
    "\n"
    "Signals: SIGUSR1 starts a silence now, SIGUSR2 unplugs now (neither while replaying).\n"
    "Exit status: 0 when stopped or at the end of a replay, 1 when the port cannot be linked or the replay\n"
    "file cannot be used (missing, empty, not a survey data file, no sentences), 2 for a bad option.\n";

int Fail(const std::string& why) {
  std::fprintf(stderr, "gnss-sim: %s (see --help)\n", why.c_str());
  return 2;
}

void PrintReceived(std::string* pending, const char* data, size_t n) {
  pending->append(data, n);
  size_t lf;
  while ((lf = pending->find('\n')) != std::string::npos) {
    std::string line = pending->substr(0, lf);
    pending->erase(0, lf + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::printf("received: %s\n", line.c_str());
    std::fflush(stdout);
  }
  if (pending->size() > 4096) pending->clear();
}

}  // namespace

int main(int argc, char** argv) {
  if (auto code = AnswerHelpOrVersion(argc, argv, "gnss-sim", kHelp)) return *code;
  GnssOptions o;
  Scenario scenario;
  std::string port = "COM6", scenarioPath, writePath, replayPath, notWithReplay, speedText;
  bool loop = false, speedGiven = false;
  double silenceAt = -1, silenceFor = 5, unplugAt = -1, unplugFor = 5;
  // Walk options given on the command line win over the scenario file.
  struct WalkOverride {
    bool origin = false, heading = false, speed = false, length = false, spacing = false, lines = false;
    Scenario values;
  } walk;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string v;
    auto next = [&]() {
      if (i + 1 >= argc) return false;
      v = argv[++i];
      return true;
    };
    auto number = [&](double lo, double hi, double* out) { return next() && ParseNumber(v, lo, hi, out); };
    auto integer = [&](int lo, int hi, int* out) { return next() && ParseInt(v, lo, hi, out); };
    // Options that shape generated sentences mean nothing for a replay.
    if (arg != "--port" && arg != "--replay" && arg != "--speed" && arg != "--loop" &&
        notWithReplay.empty())
      notWithReplay = arg;
    if (arg == "--port") {
      if (!next() || !ParsePortName(v, &port)) return Fail("--port takes COM1 .. COM99");
    } else if (arg == "--format") {
      if (!integer(0, 8, &o.format)) return Fail("--format takes 0 .. 8");
    } else if (arg == "--slam") {
      o.slam = true;
    } else if (arg == "--rate") {
      if (!integer(1, 10, &o.rateHz)) return Fail("--rate takes 1 .. 10");
    } else if (arg == "--scenario") {
      if (!next()) return Fail("--scenario takes a file");
      scenarioPath = v;
    } else if (arg == "--write-scenario") {
      if (!next()) return Fail("--write-scenario takes a file");
      writePath = v;
    } else if (arg == "--origin") {
      if (!next() || !ParsePair(v, &walk.values.originLat, &walk.values.originLon) ||
          std::fabs(walk.values.originLat) >= 89 || std::fabs(walk.values.originLon) > 180)
        return Fail("--origin takes LAT,LON in degrees");
      walk.origin = true;
    } else if (arg == "--heading") {
      if (!number(-360, 360, &walk.values.headingDeg)) return Fail("--heading takes degrees");
      walk.heading = true;
    } else if (arg == "--speed") {
      // A walking speed, or the replay factor: told apart once all options are read.
      if (!next()) return Fail("--speed takes a number");
      speedText = v;
      speedGiven = true;
    } else if (arg == "--line-length") {
      if (!number(0.1, 1e5, &walk.values.lineLength)) return Fail("--line-length takes metres");
      walk.length = true;
    } else if (arg == "--line-spacing") {
      if (!number(0, 1e4, &walk.values.lineSpacing)) return Fail("--line-spacing takes metres");
      walk.spacing = true;
    } else if (arg == "--lines") {
      if (!integer(1, 10000, &walk.values.lines)) return Fail("--lines takes 1 .. 10000");
      walk.lines = true;
    } else if (arg == "--quality") {
      if (!integer(0, 9, &o.quality)) return Fail("--quality takes 0 .. 9");
    } else if (arg == "--satellites") {
      if (!integer(0, 12, &o.satellites)) return Fail("--satellites takes 0 .. 12");
    } else if (arg == "--pdop") {
      if (!number(0, 99, &o.pdop)) return Fail("--pdop takes 0 .. 99");
    } else if (arg == "--hdop") {
      if (!number(0, 99, &o.hdop)) return Fail("--hdop takes 0 .. 99");
    } else if (arg == "--vdop") {
      if (!number(0, 99, &o.vdop)) return Fail("--vdop takes 0 .. 99");
    } else if (arg == "--grid-origin") {
      if (!next() || !ParsePair(v, &o.gridNorthOrigin, &o.gridEastOrigin)) return Fail("--grid-origin takes N,E");
    } else if (arg == "--rts-feet") {
      o.rtsFeet = true;
    } else if (arg == "--bad-checksum-every") {
      if (!integer(1, 1000000, &o.badChecksumEvery)) return Fail("--bad-checksum-every takes a count");
    } else if (arg == "--garbage-every") {
      if (!integer(1, 1000000, &o.garbageEvery)) return Fail("--garbage-every takes a count");
    } else if (arg == "--extra") {
      o.extraSentence = true;
    } else if (arg == "--silence-at") {
      if (!number(0, 1e7, &silenceAt)) return Fail("--silence-at takes seconds");
    } else if (arg == "--silence-for") {
      if (!number(0.01, 1e6, &silenceFor)) return Fail("--silence-for takes seconds");
    } else if (arg == "--unplug-at") {
      if (!number(0, 1e7, &unplugAt)) return Fail("--unplug-at takes seconds");
    } else if (arg == "--unplug-for") {
      if (!number(0.01, 1e6, &unplugFor)) return Fail("--unplug-for takes seconds");
    } else if (arg == "--replay") {
      if (!next() || v.empty()) return Fail("--replay takes a data file");
      replayPath = v;
    } else if (arg == "--loop") {
      loop = true;
    } else {
      return Fail("unknown option " + arg);
    }
  }

  if (!replayPath.empty()) {
    if (!notWithReplay.empty()) return Fail(notWithReplay + " cannot be used with --replay");
    double speed = 1.0;
    if (speedGiven && !ParseNumber(speedText, kReplayMinSpeed, kReplayMaxSpeed, &speed))
      return Fail("--speed takes a factor from 0.1 to 100 with --replay");
    return RunReplay({"gnss-sim", port, replayPath, false, speed, loop});
  }
  if (loop) return Fail("--loop needs --replay");
  if (speedGiven) {
    if (!ParseNumber(speedText, 0, 100, &walk.values.speed)) return Fail("--speed takes 0 .. 100 m/s");
    walk.speed = true;
  }

  const double startUnix = UnixNow();
  scenario.startTime = startUnix;
  std::string why;
  if (!scenarioPath.empty() && !LoadScenario(scenarioPath, &scenario, &why)) return Fail(why);
  if (walk.origin) scenario.originLat = walk.values.originLat, scenario.originLon = walk.values.originLon;
  if (walk.heading) scenario.headingDeg = walk.values.headingDeg;
  if (walk.speed) scenario.speed = walk.values.speed;
  if (walk.length) scenario.lineLength = walk.values.lineLength;
  if (walk.spacing) scenario.lineSpacing = walk.values.lineSpacing;
  if (walk.lines) scenario.lines = walk.values.lines;
  if (!writePath.empty()) {
    scenario.startTime = std::floor(startUnix);
    if (!SaveScenario(writePath, scenario, &why)) return Fail(why);
    return 0;
  }
  UtcDate(startUnix, &o.day, &o.month, &o.year);

  SimSignals& signals = InstallSimSignals();
  PtyLink link;
  const std::string linkPath = PtyLink::PortLinkPath(port);
  if (!link.Open(linkPath, &why)) {
    std::fprintf(stderr, "gnss-sim: %s\n", why.c_str());
    return 1;
  }
  std::printf("gnss-sim: %s -> %s (format %d, %d Hz)\n", link.linkPath().c_str(), link.slavePath().c_str(), o.format,
              o.rateHz);
  std::fflush(stdout);

  const uint32_t start = TickMs();
  GnssStream stream(o, scenario, start, WalkSeconds(scenario, startUnix), UtcSecondsOfDay(startUnix));
  if (silenceAt >= 0) stream.AddSilence(static_cast<uint64_t>(silenceAt * 1000), static_cast<uint32_t>(silenceFor * 1000));
  uint64_t elapsed = 0;
  uint32_t last = start;
  UnplugSchedule unplug(unplugAt >= 0 ? static_cast<int64_t>(unplugAt * 1000) : -1,
                        static_cast<uint32_t>(unplugFor * 1000));
  int silences = 0;
  std::string out, pending;
  char in[256];
  while (!signals.stop.load()) {
    const uint32_t now = TickMs();
    elapsed += AdvanceTicks(&last, now);
    if (int s = signals.usr1.load(); s != silences) {
      silences = s;
      stream.SilenceNow(static_cast<uint32_t>(silenceFor * 1000));
    }
    const UnplugSchedule::Action action = unplug.Step(elapsed, signals.usr2.load());
    if (action == UnplugSchedule::Action::Unplug) {
      link.Close();
      std::printf("gnss-sim: unplugged for %.2f s\n", unplugFor);
      std::fflush(stdout);
    } else if (action == UnplugSchedule::Action::PlugIn) {
      if (!link.Open(linkPath, &why)) {
        std::fprintf(stderr, "gnss-sim: %s\n", why.c_str());
        return 1;
      }
      std::printf("gnss-sim: plugged in again: %s -> %s\n", link.linkPath().c_str(), link.slavePath().c_str());
      std::fflush(stdout);
    }
    out.clear();
    stream.Generate(now, &out);  // keeps the pace while unplugged too; the bytes go nowhere then
    if (!unplug.unplugged()) {
      if (!out.empty()) link.Write(out);
      if (size_t n = link.Read(in, sizeof in, 5)) PrintReceived(&pending, in, n);
    } else {
      usleep(5000);
    }
  }
  link.Drain(300);
  link.Close();
  return 0;
}
