#pragma once
// The dialogs of data-file creation and of the append check; the decisions are in datafile/file_naming.h and
// datafile/append_check.h.
#include <QWidget>

namespace obrix {

// Proposes a name, asks for the file with the save dialog and opens it: 0 new file (header written,
// StandBy), 1 existing file of this program (open, nothing written), -1 cancelled or failed (no file open;
// a failure has been reported as "FILE ERROR") or a foreign file (open, header at its end, StandBy).
int CreateDataFile(QWidget* owner);

// 0 when the open file may be continued; 1 when refused (the "WARNING" shown, the file closed).
int CheckAppendFile(QWidget* owner);

}  // namespace obrix
