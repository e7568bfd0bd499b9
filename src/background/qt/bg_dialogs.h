#pragma once
// The background load dialog ("BACKGROUNDFILELOADRT") and remove dialog ("BACKGROUNDFILEREMOVE").
#include <array>

#include "background/background_list.h"
#include "platform/qt/prompts.h"
#include "platform/qt/setup_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace obrix {

// The open-file filter for file type 0: data files of this program and its sibling programs.
inline constexpr const char* kBgDataFilter = "Data Files (*.T38,*.GXY,*.H31,*.T31,*.H61,*.P61)";
inline constexpr const char* kBgDataPatterns = "*.T38;*.GXY;*.H31;*.T31;*.H61;*.P61";

// The filter of the open-file dialog for a file type: the type's own extensions, then (ASCII files) CSV files,
// then all files.
FileFilter BgOpenFileFilter(int fileType);

// Control identifiers of the two dialogs.
enum BgControlId {
  kBgCountId = 1401,
  kBgFileTypeId = 1402,
  kBgFileTypeNoteId = 1403,
  kBgPositionsStyleId = 1404,
  kBgCoordinatesTypeId = 1405,
  kBgEastingColumnId = 1406,
  kBgNorthingColumnId = 1407,
  kBgDelimiterId = 1408,
  kBgLabelsColumnId = 1409,
  kBgDatumNoteId = 1410,
  kBgRemoveFirstId = 1421,  // check boxes 1421..1430, one per slot
  kBgSelectAllId = 1431,
};

class BackgroundLoadDialog : public SetupDialog {
 public:
  explicit BackgroundLoadDialog(QWidget* owner);

 protected:
  bool TakeValues() override;

 private:
  void ShowFileType(int fileType);

  QComboBox* fileType_ = nullptr;
  QLabel* typeNote_ = nullptr;
  QComboBox* style_ = nullptr;
  QComboBox* coordinates_ = nullptr;
  QComboBox* easting_ = nullptr;
  QComboBox* northing_ = nullptr;
  QComboBox* delimiter_ = nullptr;
  QComboBox* labels_ = nullptr;
  QLabel* datumNote_ = nullptr;
};

class BackgroundRemoveDialog : public SetupDialog {
 public:
  explicit BackgroundRemoveDialog(QWidget* owner);
  const std::array<bool, MaxBackgroundFiles>& flags() const { return remove_; }

 protected:
  bool TakeValues() override;

 private:
  std::array<QCheckBox*, MaxBackgroundFiles> boxes_{};
  std::array<bool, MaxBackgroundFiles> remove_{};
};

// 1 after OK (the seven selections stored and the settings saved), 0 otherwise.
int RunBackgroundLoadDialog(QWidget* owner);
// 1 with `remove` holding the ticked slots when OK found at least one ticked, else 0 (flags all clear).
int RunBackgroundRemoveDialog(QWidget* owner, std::array<bool, MaxBackgroundFiles>& remove);

}  // namespace obrix
