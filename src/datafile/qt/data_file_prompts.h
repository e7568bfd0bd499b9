#pragma once
// The dialogs of data-file creation and of the append check; the decisions are in datafile/file_naming.h and
// datafile/append_check.h.
#include <QWidget>

#include "datafile/file_naming.h"

namespace obrix {

// Proposes a name, asks for the file with the save dialog and opens it (a failure is reported as "FILE ERROR"
// and comes back as Cancelled). For a foreign file the operator is asked first: only a Yes writes a header at
// its end; No leaves it untouched and closed (Cancelled).
CreateResult CreateDataFile(QWidget* owner);

// 0 when the open file may be continued; 1 when refused (the "WARNING" shown, the file closed). A file that
// ends in an incomplete record is continued after its last whole one: the operator is told how many bytes
// are dropped, and they are cut off.
int CheckAppendFile(QWidget* owner);

}  // namespace obrix
