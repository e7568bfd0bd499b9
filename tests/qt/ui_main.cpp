#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "app/qt/ui_process_state.h"
#include "platform/qt/scripted_prompts.h"

namespace {

// Every test starts from the process-wide state of a fresh process, with prompts that fail an unscripted question.
class ResetBeforeEachTest : public ::testing::EmptyTestEventListener {
 public:
  explicit ResetBeforeEachTest(obrix::Prompts* prompts) : prompts_(prompts) {}
  void OnTestStart(const ::testing::TestInfo&) override {
    obrix::ResetUiProcessState();
    obrix::SetPrompts(prompts_);
  }

 private:
  obrix::Prompts* prompts_;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string runtime = "/tmp/obrix-ui-runtime-" + std::to_string(getuid());
  mkdir(runtime.c_str(), 0700);
  chmod(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QFont::insertSubstitution("Microsoft Sans Serif", "Liberation Sans");
  // No test ever waits for a user: a prompt outside a test's script fails that test.
  obrix::ScriptedPrompts::SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
  obrix::ScriptedPrompts unscripted;
  obrix::SetPrompts(&unscripted);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetBeforeEachTest(&unscripted));
  const int rc = RUN_ALL_TESTS();
  obrix::SetPrompts(nullptr);
  return rc;
}
