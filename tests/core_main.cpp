#include <gtest/gtest.h>

#include "app/process_state.h"

namespace {

// Every test starts from the process-wide state of a fresh process, whatever ran before it.
class ResetBeforeEachTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { obrix::ResetProcessState(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetBeforeEachTest);
  return RUN_ALL_TESTS();
}
