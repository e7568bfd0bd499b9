#include "sim/unplug_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace obrix::sim {
namespace {

using Action = UnplugSchedule::Action;

TEST(UnplugScheduleTest, SetTimeAndRequestsEachUnplugForTheSetLength) {
  struct Step {
    uint64_t elapsed;
    int requests;
    Action action;
  };
  const struct {
    const char* name;
    int64_t atMs;
    std::vector<Step> steps;
  } cases[] = {
      {"at a set time", 1000, {{999, 0, Action::None}, {1000, 0, Action::Unplug}, {1499, 0, Action::None},
                               {1500, 0, Action::PlugIn}, {5000, 0, Action::None}}},
      {"on request, a request while unplugged ignored", -1,
       {{100, 0, Action::None}, {200, 1, Action::Unplug}, {300, 2, Action::None}, {700, 2, Action::PlugIn},
        {800, 2, Action::None}, {900, 3, Action::Unplug}}},
      {"a request before the set time", 1000, {{200, 1, Action::Unplug}, {700, 1, Action::PlugIn},
                                               {1000, 1, Action::Unplug}, {1500, 1, Action::PlugIn}}},
  };
  for (const auto& c : cases) {
    UnplugSchedule schedule(c.atMs, 500);
    for (const Step& s : c.steps) {
      EXPECT_EQ(schedule.Step(s.elapsed, s.requests), s.action) << c.name << " at " << s.elapsed;
    }
  }
}

}  // namespace
}  // namespace obrix::sim
