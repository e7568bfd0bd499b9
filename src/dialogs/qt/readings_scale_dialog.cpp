#include "dialogs/qt/readings_scale_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "panes/qt/panes.h"
#include "platform/numbers.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"

namespace obrix {

namespace {

QGroupBox* LimitsGroup(QWidget* parent, const char* title, const char* minLabel, QLineEdit* min,
                       const char* maxLabel, QLineEdit* max) {
  auto* box = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(box);
  AddRow(grid, 0, minLabel, min);
  AddRow(grid, 1, maxLabel, max);
  grid->setColumnStretch(1, 1);
  return box;
}

}  // namespace

ReadingsScaleDialog::ReadingsScaleDialog(QWidget* owner)
    : SetupDialog("READINGSCALE31", "Conductivity/Inphase Readings Scales", 131, 141, owner) {
  SetTopDivisor(7);
  SetCloseOnC(false);
  const Settings& s = Config();
  copy_ = ReadingScaleCopy::OfSettings();
  condMin_ = MakeEdit(this, 1174, FormatC("%.1f", s.condScaleMin), 12);
  condMax_ = MakeEdit(this, 1177, FormatC("%.1f", s.condScaleMax), 12);
  inphMin_ = MakeEdit(this, 1183, FormatC("%.1f", s.inphScaleMin), 12);
  inphMax_ = MakeEdit(this, 1185, FormatC("%.1f", s.inphScaleMax), 12);

  auto* top = new QVBoxLayout(this);
  top->addWidget(LimitsGroup(this, "Conductivity [mS/m]", "M&inimum:", condMin_, "M&aximum:", condMax_));
  top->addWidget(LimitsGroup(this, "Inphase [ppt]", "Mi&nimum:", inphMin_, "Ma&ximum:", inphMax_));
  top->addStretch(1);
  top->addLayout(MakeButtonRow());
  condMin_->setFocus();
  condMin_->selectAll();

  const std::pair<QLineEdit*, ScaleLimit> fields[] = {{condMin_, ScaleLimit::CondMin},
                                                      {condMax_, ScaleLimit::CondMax},
                                                      {inphMin_, ScaleLimit::InphMin},
                                                      {inphMax_, ScaleLimit::InphMax}};
  for (const auto& [edit, which] : fields)
    connect(edit, &QLineEdit::textEdited, this, [this, w = which](const QString& t) { OnEdited(w, t); });
}

void ReadingsScaleDialog::OnEdited(ScaleLimit which, const QString& text) {
  if (!TakeLiveScaleLimit(which, text.toStdString())) return;
  CanvasWidget* bar = LogPanes().colourBar;
  if (bar && bar->isVisible()) ShowColourBar(true);
}

bool ReadingsScaleDialog::TakeValues() {
  ApplyReadingScales({TextOf(condMin_), TextOf(condMax_), TextOf(inphMin_), TextOf(inphMax_)}, copy_);
  ShowColourBar(false);
  return true;
}

void ReadingsScaleDialog::RestoreValues() {
  CancelReadingScales(copy_);
  ShowColourBar(false);
}

int RunReadingsScaleDialog(QWidget* owner) {
  ReadingsScaleDialog dialog(owner);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
