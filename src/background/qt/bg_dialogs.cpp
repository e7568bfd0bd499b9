#include "background/qt/bg_dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "background/bg_dialog_texts.h"
#include "platform/qt/buttons.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {
namespace {

std::vector<std::string> ColumnTexts() {
  std::vector<std::string> texts;
  for (int i = 0; i < kBgColumnChoices; ++i) texts.push_back(BgColumnText(i));
  return texts;
}

template <size_t N>
std::vector<std::string> Texts(const char* const (&items)[N]) {
  return std::vector<std::string>(items, items + N);
}

void Select(QComboBox* list, int index) { list->setCurrentIndex(std::clamp(index, 0, list->count() - 1)); }

}  // namespace

BackgroundLoadDialog::BackgroundLoadDialog(QWidget* owner)
    : SetupDialog("BACKGROUNDFILELOADRT", kBgLoadCaption, 290, 230, owner) {
  const Settings& s = Config();
  fileType_ = MakeList(this, kBgFileTypeId, Texts(kBgFileTypeTexts));
  style_ = MakeList(this, kBgPositionsStyleId, Texts(kBgPositionsStyleTexts));
  coordinates_ = MakeList(this, kBgCoordinatesTypeId, Texts(kBgCoordinatesTypeTexts));
  easting_ = MakeList(this, kBgEastingColumnId, ColumnTexts());
  northing_ = MakeList(this, kBgNorthingColumnId, ColumnTexts());
  delimiter_ = MakeList(this, kBgDelimiterId, Texts(kBgDelimiterTexts));
  labels_ = MakeList(this, kBgLabelsColumnId, ColumnTexts());
  Select(fileType_, s.bgFileType);
  Select(style_, s.bgPositionsStyle);
  Select(coordinates_, s.bgCoordinatesType);
  Select(easting_, s.bgEastingColumn);
  Select(northing_, s.bgNorthingColumn);
  Select(delimiter_, s.bgDelimiter);
  Select(labels_, s.bgLabelsColumn);

  auto* top = new QVBoxLayout(this);
  auto* count = new QGridLayout;
  AddRow(count, 0, "Number of loaded files:",
         MakeLabel(this, std::to_string(Backgrounds().BackgroundCount).c_str(), nullptr, kBgCountId));
  count->setColumnStretch(2, 1);
  top->addLayout(count);
  top->addWidget(MakeLabel(this, "Type of Background File", fileType_));
  top->addWidget(fileType_);
  typeNote_ = MakeLabel(this, "", nullptr, kBgFileTypeNoteId);
  top->addWidget(typeNote_);
  top->addWidget(MakeLabel(this, "Type of Positions Display", style_));
  top->addWidget(style_);

  auto* grid = new QGridLayout;
  AddRow(grid, 0, "Coordinates Type:", coordinates_);
  AddRow(grid, 1, "Longitude/Easting:", easting_);
  AddRow(grid, 2, "Latitude/Northing:", northing_);
  AddRow(grid, 3, "Column Delimiter:", delimiter_);
  AddRow(grid, 4, "Labels Column:", labels_);
  grid->setColumnStretch(1, 1);
  top->addLayout(grid);
  datumNote_ = MakeLabel(this, kBgDatumNote, nullptr, kBgDatumNoteId);
  datumNote_->setWordWrap(true);
  top->addWidget(datumNote_);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());

  ShowFileType(fileType_->currentIndex());
  connect(fileType_, &QComboBox::currentIndexChanged, this, [this](int index) { ShowFileType(index); });
}

void BackgroundLoadDialog::ShowFileType(int fileType) {
  const BgLoadControls c = BgLoadControlsFor(fileType);
  typeNote_->setText(BgFileTypeNote(fileType));
  for (QComboBox* list : {coordinates_, easting_, northing_, delimiter_}) list->setEnabled(c.coordinateLists);
  labels_->setEnabled(c.labelsList);
  datumNote_->setVisible(c.datumNoteShown);
}

bool BackgroundLoadDialog::TakeValues() {
  Settings& s = Config();
  s.bgFileType = fileType_->currentIndex();
  s.bgPositionsStyle = style_->currentIndex();
  s.bgCoordinatesType = coordinates_->currentIndex();
  s.bgEastingColumn = easting_->currentIndex();
  s.bgNorthingColumn = northing_->currentIndex();
  s.bgDelimiter = delimiter_->currentIndex();
  s.bgLabelsColumn = labels_->currentIndex();
  SaveLoadSettings(Save);
  return true;
}

BackgroundRemoveDialog::BackgroundRemoveDialog(QWidget* owner)
    : SetupDialog("BACKGROUNDFILEREMOVE", kBgRemoveCaption, 240, 200, owner) {
  const BackgroundListState& list = Backgrounds();
  auto* top = new QVBoxLayout(this);
  for (int i = 0; i < MaxBackgroundFiles; ++i) {
    const std::string text = BgSlotText(i) + "  " + list.BackgroundList[size_t(i)].displayName;
    boxes_[size_t(i)] = new QCheckBox(QString::fromStdString(text), this);
    SetControlId(boxes_[size_t(i)], kBgRemoveFirstId + i);
    boxes_[size_t(i)]->setVisible(i < list.BackgroundCount);
    top->addWidget(boxes_[size_t(i)]);
  }
  auto* all = new QPushButton("Select All", this);
  SetControlId(all, kBgSelectAllId);
  all->setAutoDefault(false);
  connect(all, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < Backgrounds().BackgroundCount && i < MaxBackgroundFiles; ++i)
      boxes_[size_t(i)]->setChecked(true);
  });
  top->addWidget(all, 0, Qt::AlignLeft);
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
}

bool BackgroundRemoveDialog::TakeValues() {
  bool any = false;
  for (int i = 0; i < MaxBackgroundFiles; ++i) {
    remove_[size_t(i)] = i < Backgrounds().BackgroundCount && boxes_[size_t(i)]->isChecked();
    any = any || remove_[size_t(i)];
  }
  SetOkResult(any ? 1 : 0);
  return true;
}

FileFilter BgOpenFileFilter(int fileType) {
  if (fileType == 0) return {kBgDataFilter, kBgDataPatterns, {{kBgAllFilesFilter, kBgAllFilesPatterns}}};
  return {kBgAsciiFilter, kBgAsciiPatterns,
          {{kBgCsvFilter, kBgCsvPatterns}, {kBgAllFilesFilter, kBgAllFilesPatterns}}};
}

int RunBackgroundLoadDialog(QWidget* owner) {
  BackgroundLoadDialog dialog(owner);
  return UserPrompts().RunDialog(dialog) == 1 ? 1 : 0;
}

int RunBackgroundRemoveDialog(QWidget* owner, std::array<bool, MaxBackgroundFiles>& remove) {
  remove.fill(false);
  BackgroundRemoveDialog dialog(owner);
  if (UserPrompts().RunDialog(dialog) != 1) return 0;
  remove = dialog.flags();
  return 1;
}

}  // namespace obrix
