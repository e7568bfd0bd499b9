#include "background/bg_dialog_texts.h"

#include "platform/numbers.h"

namespace obrix {

std::string BgColumnText(int index) { return FormatC("Column %d", index + 1); }

const char* BgFileTypeNote(int fileType) {
  return fileType == 0 ? "(files H31, T31, H61, P61, GXY, etc., V2.0 & later)" : "(files ASC, TXT, DAT, and XYZ)";
}

std::string BgSlotText(int slot) { return FormatC("%3d.", slot + 1); }

BgLoadControls BgLoadControlsFor(int fileType) {
  BgLoadControls c;
  c.coordinateLists = fileType == 1 || fileType == 2;
  c.labelsList = fileType == 2;
  c.datumNoteShown = c.coordinateLists;
  return c;
}

}  // namespace obrix
