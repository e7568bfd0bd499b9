// Setup-screen commands 6 and 7 open the display options dialogs; the map options take the narrow form on
// small screens.
#include <gtest/gtest.h>

#include "app/qt/setup_window.h"
#include "platform/qt/scripted_prompts.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(DisplayOptionsCommandsTest, TemplateByClientWidth) {
  const struct {
    int width, command;
    const char* templ;
  } cases[] = {
      {1280, 6, "DISPLAYOPTIONS31"},
      {784, 6, "DISPLAYOPTIONS31"},
      {783, 6, "DISPLAYOPTIONS31NARROW"},
      {600, 6, "DISPLAYOPTIONS31NARROW"},
      {600, 7, "DISPLAYSETUP31"},
  };
  for (const auto& c : cases) {
    test::DataRootFixture root;
    ResetSession();
    SetupWindow w(QSize(c.width, 700));
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::RunDialog({}, DialogEnd::ClickCancel(), c.templ);
    w.RunCommand(c.command);
    ASSERT_EQ(prompts.Calls().size(), 1u) << c.width;
    EXPECT_EQ(prompts.Calls()[0].templateName, c.templ) << c.width;
    EXPECT_TRUE(prompts.Failures().empty());
  }
  ResetSession();
}

}  // namespace
}  // namespace obrix
