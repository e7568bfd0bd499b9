#pragma once
// Naming and creation of data files: the proposed name, the save dialog's arguments and the decision between
// a new file, a file of this program (append) and a foreign file. The dialog itself is in datafile/qt/.
#include <functional>
#include <optional>
#include <string>

#include "platform/ticks.h"

namespace obrix {

// "T38" with the instrument enabled, "GXY" for a GPS-only survey.
std::string DataFileExtension(int instrumentEnabled);

// The proposed name in `folder` (absolute, with a trailing "/"): date prefix "YYMMDD_" and the first free
// number 000..999, without extension. A number is taken when a file of that name with the extension in any
// letter case can be opened for reading and writing with no sharing (a locked file counts as free). When all
// 1000 are taken, the last candidate with its extension (".T38" or ".gxy"). Creates the folder's last level
// when it is missing.
std::string ProposeDataFileName(const std::string& folder, const LocalTime& date, int instrumentEnabled);
// The same from the settings and the local clock.
std::string ProposeDataFileName();

// The name without folder and extension: after the last "/" up to the first "." that follows it.
std::string DataFileBaseNameOf(const std::string& path);
// Everything up to and including the last "/" (empty when there is none).
std::string FolderOf(const std::string& path);

struct SaveDialogRequest {
  std::string title;            // "Create Data File"
  std::string initialFolder;    // dataFolder
  std::string suggestedName;    // the proposed name
  std::string filter;           // empty, or "OBXGXY Files (*.GXY)" for a GPS-only survey
  std::string filterPattern;    // empty, or "*.GXY"
  std::string defaultExtension; // "T38" or "GXY"
};
SaveDialogRequest DataFileDialogRequest();

// What creating a data file came to.
enum class CreateResult {
  Cancelled,  // cancelled, declined or failed: no file open
  New,        // a new file with its header (StandBy)
  Existing,   // an existing file of this program, open, nothing written
  Foreign,    // a file of another program with a header at its end (open, StandBy)
};

struct CreateOutcome {
  CreateResult result = CreateResult::Cancelled;
  std::string errorText;  // non-empty when the chosen file could not be opened or written ("FILE ERROR")
};

// Asked before anything is written into an existing file that does not start like a file of this program;
// true adds the survey at the file's end.
using ForeignFileQuestion = std::function<bool()>;

// Runs the creation steps for the dialog's answer (nullopt = cancelled). A name without extension gets the
// request's default extension; a relative name is taken in the request's initial folder. A foreign file is
// written only when `addToForeignFile` answers true (no question counts as false): otherwise it is closed
// untouched, the folder setting is kept and the result is Cancelled.
CreateOutcome CreateDataFileFromChoice(const SaveDialogRequest& request, const std::optional<std::string>& chosen,
                                       const ForeignFileQuestion& addToForeignFile = {});

// The question before a survey is added to a file that does not start like a file of this program (asked with
// "MESSAGENOYES": No is the default).
inline constexpr const char* kForeignFileQuestionTitle = "WARNING";
inline constexpr const char* kForeignFileQuestionText =
    "File not from Obrix38 program\r\nAdd the survey at the end of this file?";

// Identifier of this program's files in their first five bytes.
inline constexpr const char* kDataFileMagic = "OBX38";

}  // namespace obrix
