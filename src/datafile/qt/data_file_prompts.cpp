#include "datafile/qt/data_file_prompts.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "datafile/append_check.h"
#include "datafile/data_file.h"
#include "datafile/file_naming.h"
#include "platform/qt/message_box.h"
#include "platform/qt/prompts.h"

namespace obrix {

CreateResult CreateDataFile(QWidget* owner) {
  SaveDialogRequest request = DataFileDialogRequest();
  std::optional<std::string> chosen =
      UserPrompts().SaveFileName(owner, request.title, request.initialFolder, request.suggestedName,
                                 FileFilter{request.filter, request.filterPattern}, request.defaultExtension);
  // "MESSAGENOYES" gives 1 for No (and for Esc).
  const ForeignFileQuestion addToForeignFile = [owner] {
    return ShowMessage(kMessageNoYes, kForeignFileQuestionTitle, kForeignFileQuestionText, owner) == 0;
  };
  CreateOutcome outcome = CreateDataFileFromChoice(request, chosen, addToForeignFile);
  if (!outcome.errorText.empty()) ShowMessage("MESSAGEOK", "FILE ERROR", outcome.errorText, owner);
  return outcome.result;
}

int CheckAppendFile(QWidget* owner) {
  std::string message;
  int result = RunAppendCheck(message);
  if (result != 0) {
    ShowMessage("MESSAGEOK", "WARNING", message, owner);
    return result;
  }
  // The new session starts on a record boundary: a torn last record (a write cut short) goes first.
  if (const long tail = IncompleteTailBytes(); tail > 0) {
    ShowMessage("MESSAGEOK", "WARNING", IncompleteRecordText(tail), owner);
    if (!DropIncompleteTail()) {
      const int err = errno;
      CloseDataFile();
      ShowMessage("MESSAGEOK", "FILE ERROR",
                  "Cannot write the data file\r\n" + DataFile().DataFilePath + "\r\n" + std::strerror(err), owner);
      return 1;
    }
  }
  return 0;
}

}  // namespace obrix
