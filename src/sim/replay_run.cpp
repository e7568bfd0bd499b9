#include "sim/replay_run.h"

#include <cstdio>

#include "platform/pty_link.h"
#include "platform/ticks.h"
#include "sim/replay_file.h"
#include "sim/sim_cli.h"

namespace obrix::sim {
namespace {

// Bytes kept for a pseudo-terminal nobody reads; beyond this they are dropped, as from a device.
constexpr size_t kMaxPending = 64 * 1024;
// A pseudo-terminal that has taken nothing for this long has no reader: what it cannot take is dropped, as the
// live stream drops it, so the replay still ends after its last item.
constexpr uint32_t kUnreadMs = 1000;

}  // namespace

int RunReplay(const ReplayRun& run) {
  ReplayTimeline timeline;
  std::string why;
  if (!LoadReplay(run.file, run.readings, &timeline, &why)) {
    std::fprintf(stderr, "%s: %s\n", run.tool.c_str(), why.c_str());
    return 1;
  }
  SimSignals& signals = InstallSimSignals();
  PtyLink link;
  if (!link.Open(PtyLink::PortLinkPath(run.port), &why)) {
    std::fprintf(stderr, "%s: %s\n", run.tool.c_str(), why.c_str());
    return 1;
  }
  const size_t items = timeline.items.size();
  const double seconds = timeline.items.empty() ? 0 : timeline.items.back().offsetMs / 1000.0;
  std::printf("%s: %s -> %s (replay of %s: %zu items over %.1f s, speed %g%s)\n", run.tool.c_str(),
              link.linkPath().c_str(), link.slavePath().c_str(), run.file.c_str(), items, seconds, run.speed,
              run.loop ? ", looping" : "");
  if (timeline.gapsShortened > 0)
    std::printf("%s: %llu recorded gaps longer than %llu s between items are shortened to %llu s\n",
                run.tool.c_str(), static_cast<unsigned long long>(timeline.gapsShortened),
                static_cast<unsigned long long>(kReplayMaxGapMs / 1000),
                static_cast<unsigned long long>(kReplayMaxGapMs / 1000));
  std::fflush(stdout);

  ReplayStream stream(std::move(timeline), run.speed, run.loop, TickMs());
  std::string pending;
  char sink[256];
  uint32_t lastTaken = TickMs();
  unsigned long long dropped = 0;
  while (!signals.stop.load()) {
    stream.Generate(TickMs(), &pending);
    if (pending.empty()) {
      lastTaken = TickMs();
    } else {
      const size_t taken = link.Write(pending);
      pending.erase(0, taken);
      if (taken > 0) lastTaken = TickMs();
      if (pending.size() > kMaxPending || (!pending.empty() && TickDiff(TickMs(), lastTaken) > kUnreadMs)) {
        dropped += pending.size();
        pending.clear();
      }
    }
    if (stream.Done() && pending.empty()) break;
    link.Read(sink, sizeof sink, 5);  // what the program sends is not answered
  }
  const bool finished = !signals.stop.load();
  link.Drain(finished ? 2000 : 300);
  link.Close();
  if (finished) {
    std::printf("%s: replay finished (%llu items sent, %llu skipped", run.tool.c_str(),
                static_cast<unsigned long long>(stream.itemsSent()),
                static_cast<unsigned long long>(stream.itemsSkipped()));
    if (dropped > 0) std::printf(", %llu bytes dropped for want of a reader", dropped);
    std::printf(")\n");
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace obrix::sim
