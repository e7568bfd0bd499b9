// Arbitrary bytes as a survey to replay: the timeline of both devices and the stream over a jumping clock.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/replay_file.h"
#include "sim/replay_stream.h"

using namespace obrix;
using namespace obrix::sim;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckTimeline(const ReplayTimeline& t) {
  for (size_t i = 0; i < t.items.size(); ++i) {
    const ReplayItem& item = t.items[i];
    Check(item.offsetMs <= t.endMs);
    if (i > 0) Check(t.items[i - 1].offsetMs <= item.offsetMs);
    if (item.kind == ReplayKind::Reading)
      Check(item.bytes.size() >= 2 && item.bytes.size() <= 13 && item.bytes.back() == '\r');
    else
      Check(item.bytes.size() >= 3 && item.bytes.compare(item.bytes.size() - 2, 2, "\r\n") == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int fd = memfd_create("replay", 0);
  if (fd < 0) return 0;
  if (size > 0 && write(fd, data, size) != static_cast<ssize_t>(size)) {
    close(fd);
    return 0;
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  std::vector<ReplayEvent> events;
  std::string why;
  const bool ok = ReadReplayEvents(path, &events, &why);
  close(fd);
  if (!ok) {
    Check(!why.empty());
    return 0;
  }
  const ReplayTimeline all = BuildReplayTimeline(events);
  CheckTimeline(all);
  const uint8_t pick = size ? data[size - 1] : 0;
  for (bool readings : {true, false}) {
    ReplayTimeline mine = ReplayItemsFor(all, readings);
    CheckTimeline(mine);
    const size_t count = mine.items.size();
    ReplayStream stream(std::move(mine), 0.1 + (pick % 100), (pick & 0x80) != 0, 0xFFFFFF00u);
    // Small steps, a stall and steps again; never more items out than the timeline holds (unless looping).
    uint32_t now = 0xFFFFFF00u;
    std::string out;
    for (uint32_t step : {0u, 5u, 100u, 2500u, 1u, 60000u, 7u, 3000000u, 10u}) {
      now += step;
      stream.Generate(now, &out);
    }
    if ((pick & 0x80) == 0) Check(stream.itemsSent() + stream.itemsSkipped() <= count);
  }
  return 0;
}
