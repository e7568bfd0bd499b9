#include "datafile/qt/data_file_prompts.h"

#include <string>

#include "app/qt/message_box.h"
#include "datafile/append_check.h"
#include "datafile/file_naming.h"
#include "platform/qt/prompts.h"

namespace obrix {

int CreateDataFile(QWidget* owner) {
  SaveDialogRequest request = DataFileDialogRequest();
  std::optional<std::string> chosen =
      UserPrompts().SaveFileName(owner, request.title, request.initialFolder, request.suggestedName,
                                 FileFilter{request.filter, request.filterPattern}, request.defaultExtension);
  CreateOutcome outcome = CreateDataFileFromChoice(request, chosen);
  if (!outcome.errorText.empty()) ShowMessage("MESSAGEOK", "FILE ERROR", outcome.errorText, owner);
  return outcome.result;
}

int CheckAppendFile(QWidget* owner) {
  std::string message;
  int result = RunAppendCheck(message);
  if (result != 0) ShowMessage("MESSAGEOK", "WARNING", message, owner);
  return result;
}

}  // namespace obrix
