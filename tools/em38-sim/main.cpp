// em38-sim: streams EM38 records into a pseudo-terminal linked as <data root>/ports/COMn.
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/program_options.h"
#include "platform/pty_link.h"
#include "platform/ticks.h"
#include "sim/em38_stream.h"
#include "sim/replay_run.h"
#include "sim/scenario.h"
#include "sim/sim_clock.h"
#include "sim/sim_cli.h"
#include "sim/unplug_schedule.h"

using namespace obrix;
using namespace obrix::sim;

namespace {

const char kHelp[] =
    "Usage: em38-sim [options]\n"
    "Streams EM38 records into a pseudo-terminal linked as <data root>/ports/COMn (data root: $OBRIX38_HOME,\n"
    "else ~/.local/share/Wendral/). Runs until SIGINT or SIGTERM, then removes its link.\n"
    "\n"
    "  --port COMn           port link to create (default COM4)\n"
    "  --length 7|12         record length without CR: 7 (every 72 ms, default) or 12 (every 91 ms)\n"
    "  --mode cond|inph      conductivity (quadrature, default) or inphase mode (status bit 2)\n"
    "  --dipole V|H          vertical (default) or horizontal dipole (status bit 5)\n"
    "  --range 100|1000      range (status bits 1 and 0; default 100)\n"
    "  --div8                scale factor divided by 8 (status bit 4)\n"
    "  --no-spare-bit        leave the unused status bit 3 clear (by default it is set, which keeps the\n"
    "                        status byte from ever being NUL)\n"
    "  --value X             constant reading, mS/m or ppt by the mode (default 25)\n"
    "  --ramp FROM:TO:SEC    saw-tooth ramp from FROM to TO over SEC seconds, repeating\n"
    "  --scenario FILE       readings follow the walk of the scenario FILE (shared with gnss-sim): the field\n"
    "                        with its conductive anomaly at the simulated position\n"
    "  --marker-every SEC    press the marker button every SEC seconds (held for 300 ms)\n"
    "  --unplug-at SEC       close the pseudo-terminal SEC seconds after the start (unplugged cable) ...\n"
    "  --unplug-for SEC      ... and open a new one after SEC seconds (default 5; also for SIGUSR2)\n"
    "  --replay FILE         stream the reading records of the survey data FILE instead, with their original\n"
    "                        spacing (started together with gnss-sim --replay FILE, both stay in step); the\n"
    "                        program ends after the last record. Only --port, --speed and --loop go with it\n"
    "  --speed N             replay N times as fast, 0.1 .. 100 (default 1)\n"
    "  --loop                start the replay over 1 s after its end, until stopped\n"
    "  --help                this text\n"
    "  --version             the version\n"
    "\n"
    "Signals: SIGUSR1 presses the marker button once, SIGUSR2 unplugs now (neither while replaying).\n"
    "Exit status: 0 when stopped or at the end of a replay, 1 when the port cannot be linked or the replay\n"
    "file cannot be used (missing, empty, not a survey data file, no readings), 2 for a bad option.\n";

bool ParseRamp(const std::string& text, Em38Options* o) {
  size_t a = text.find(':'), b = text.find(':', a == std::string::npos ? a : a + 1);
  if (a == std::string::npos || b == std::string::npos) return false;
  return ParseNumber(text.substr(0, a), -1e6, 1e6, &o->rampFrom) &&
         ParseNumber(text.substr(a + 1, b - a - 1), -1e6, 1e6, &o->rampTo) &&
         ParseNumber(text.substr(b + 1), 0.001, 1e6, &o->rampSeconds);
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "em38-sim: %s (see --help)\n", why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (auto code = AnswerHelpOrVersion(argc, argv, "em38-sim", kHelp)) return *code;
  Em38Options o;
  std::string port = "COM4", scenarioPath, replayPath, notWithReplay, replayOnly;
  double speed = 1.0, unplugAt = -1, unplugFor = 5;
  bool loop = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto next = [&](std::string* v) {
      if (i + 1 >= argc) return false;
      *v = argv[++i];
      return true;
    };
    std::string v;
    // Options that shape generated records mean nothing for a replay.
    if (arg != "--port" && arg != "--replay" && arg != "--speed" && arg != "--loop" &&
        notWithReplay.empty())
      notWithReplay = arg;
    if (arg == "--port") {
      if (!next(&v) || !ParsePortName(v, &port)) return Fail("--port takes COM1 .. COM99");
    } else if (arg == "--length") {
      if (!next(&v) || !ParseInt(v, 7, 12, &o.length) || (o.length != 7 && o.length != 12))
        return Fail("--length takes 7 or 12");
    } else if (arg == "--mode") {
      if (!next(&v) || (v != "cond" && v != "inph")) return Fail("--mode takes cond or inph");
      o.conductivity = v == "cond";
    } else if (arg == "--dipole") {
      if (!next(&v) || (v != "V" && v != "H" && v != "v" && v != "h")) return Fail("--dipole takes V or H");
      o.vertical = v == "V" || v == "v";
    } else if (arg == "--range") {
      if (!next(&v) || (v != "100" && v != "1000")) return Fail("--range takes 100 or 1000");
      o.range1000 = v == "1000";
    } else if (arg == "--div8") {
      o.divide8 = true;
    } else if (arg == "--no-spare-bit") {
      o.spareBit = false;
    } else if (arg == "--value") {
      if (!next(&v) || !ParseNumber(v, -1e6, 1e6, &o.value)) return Fail("--value takes a number");
      o.source = ValueSource::Constant;
    } else if (arg == "--ramp") {
      if (!next(&v) || !ParseRamp(v, &o)) return Fail("--ramp takes FROM:TO:SECONDS");
      o.source = ValueSource::Ramp;
    } else if (arg == "--scenario") {
      if (!next(&scenarioPath)) return Fail("--scenario takes a file");
      o.source = ValueSource::Scenario;
    } else if (arg == "--marker-every") {
      if (!next(&v) || !ParseNumber(v, 0.5, 86400, &o.markerEverySeconds))
        return Fail("--marker-every takes seconds (at least 0.5)");
    } else if (arg == "--unplug-at") {
      if (!next(&v) || !ParseNumber(v, 0, 1e7, &unplugAt)) return Fail("--unplug-at takes seconds");
    } else if (arg == "--unplug-for") {
      if (!next(&v) || !ParseNumber(v, 0.01, 1e6, &unplugFor)) return Fail("--unplug-for takes seconds");
    } else if (arg == "--replay") {
      if (!next(&replayPath) || replayPath.empty()) return Fail("--replay takes a data file");
    } else if (arg == "--speed") {
      if (!next(&v) || !ParseNumber(v, kReplayMinSpeed, kReplayMaxSpeed, &speed))
        return Fail("--speed takes a factor from 0.1 to 100");
      if (replayOnly.empty()) replayOnly = arg;
    } else if (arg == "--loop") {
      loop = true;
      if (replayOnly.empty()) replayOnly = arg;
    } else {
      return Fail("unknown option " + arg);
    }
  }

  if (!replayPath.empty()) {
    if (!notWithReplay.empty()) return Fail(notWithReplay + " cannot be used with --replay");
    return RunReplay({"em38-sim", port, replayPath, true, speed, loop});
  }
  if (!replayOnly.empty()) return Fail(replayOnly + " needs --replay");

  Scenario scenario;
  scenario.startTime = UnixNow();
  if (!scenarioPath.empty()) {
    std::string why;
    if (!LoadScenario(scenarioPath, &scenario, &why)) return Fail(why);
  }

  SimSignals& signals = InstallSimSignals();
  PtyLink link;
  std::string why;
  if (!link.Open(PtyLink::PortLinkPath(port), &why)) {
    std::fprintf(stderr, "em38-sim: %s\n", why.c_str());
    return 1;
  }
  std::printf("em38-sim: %s -> %s (%d-character records every %u ms)\n", link.linkPath().c_str(),
              link.slavePath().c_str(), o.length, Em38PeriodMs(o.length));
  std::fflush(stdout);

  const uint32_t start = TickMs();
  Em38Stream stream(o, scenario, start, WalkSeconds(scenario, UnixNow()));
  UnplugSchedule unplug(unplugAt >= 0 ? static_cast<int64_t>(unplugAt * 1000) : -1,
                        static_cast<uint32_t>(unplugFor * 1000));
  uint64_t elapsed = 0;
  uint32_t last = start;
  int markers = 0;
  std::string out;
  char sink[256];
  while (!signals.stop.load()) {
    const uint32_t now = TickMs();
    elapsed += AdvanceTicks(&last, now);
    if (int m = signals.usr1.load(); m != markers) {
      markers = m;
      stream.PressMarker();
    }
    const UnplugSchedule::Action action = unplug.Step(elapsed, signals.usr2.load());
    if (action == UnplugSchedule::Action::Unplug) {
      link.Close();
      std::printf("em38-sim: unplugged for %.2f s\n", unplugFor);
      std::fflush(stdout);
    } else if (action == UnplugSchedule::Action::PlugIn) {
      if (!link.Open(PtyLink::PortLinkPath(port), &why)) {
        std::fprintf(stderr, "em38-sim: %s\n", why.c_str());
        return 1;
      }
      std::printf("em38-sim: plugged in again: %s -> %s\n", link.linkPath().c_str(), link.slavePath().c_str());
      std::fflush(stdout);
    }
    out.clear();
    stream.Generate(now, &out);  // keeps the pace while unplugged too; the records go nowhere then
    if (unplug.unplugged()) {
      usleep(5000);
      continue;
    }
    if (!out.empty()) link.Write(out);
    link.Read(sink, sizeof sink, 5);  // the instrument ignores what it is sent
  }
  link.Drain(300);
  link.Close();
  return 0;
}
