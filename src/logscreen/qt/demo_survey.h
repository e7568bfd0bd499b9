#pragma once
// A survey run by itself, for the demo without a display: Logging, File with the proposed name, Go, a given
// time of recording, Pause, Exit with Yes, then the program ends and reports the data file.
#include <QWidget>
#include <optional>
#include <string>

#include "platform/qt/prompts.h"

namespace obrix {

// Prompts that answer by themselves: the save dialog takes the proposed name, a yes/no question is answered
// Yes, any other message is printed and closed with its default button; nothing waits for a user.
class DemoPrompts : public QtPrompts {
 public:
  int ShowMessage(const std::string& templateName, const std::string& title, const std::string& text,
                  QWidget* owner) override;
  std::optional<std::string> SaveFileName(QWidget* owner, const std::string& title, const std::string& initialFolder,
                                          const std::string& suggestedName, const FileFilter& filter,
                                          const std::string& defaultSuffix) override;
  int RunDialog(QDialog& dialog) override;
  int PopupMenu(QMenu& menu, QPoint screenPos) override;
};

// "--demo-survey SECONDS" on the command line: the recording time, or nothing.
std::optional<int> DemoSurveySeconds(int argc, char** argv);

// "--demo-grab PREFIX": pictures of the logging screen taken during the survey (PREFIX-map.png, then the view
// toggled, PREFIX-nomap.png) and, after the pause, of the map pane with the whole survey fitted in review
// (PREFIX-review-map.png); or an empty text.
std::string DemoGrabPrefix(int argc, char** argv);

// "--demo-fix-wait SECONDS": how long the survey waits for the first valid fix (1 to 3600, default 30).
int DemoFixWaitSeconds(int argc, char** argv);

// Drives the setup screen `setup` by keys, as an operator would. The program quits when the survey has ended
// (exit code 0) or could not be run (exit code 1, the session ended first and the reason on standard error);
// the data file's path is printed to standard output.
void StartDemoSurvey(QWidget* setup, int seconds, const std::string& grabPrefix = {}, int fixWaitSeconds = 30);

}  // namespace obrix
