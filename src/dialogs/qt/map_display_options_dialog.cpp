#include "dialogs/qt/map_display_options_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "dialogs/map_size_options.h"
#include "map/map_view_state.h"
#include "platform/numbers.h"
#include "platform/qt/buttons.h"
#include "platform/qt/message_box.h"
#include "platform/qt/option_controls.h"
#include "platform/qt/prompts.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/palette.h"
#include "state/session.h"

namespace obrix {

namespace {

constexpr const char* kColourViewNote =
    "Colour Map View - Sensors positions and amplitude are represented by bars creating continuous colour image "
    "for the selected EM38 component and dipole mode.";
constexpr const char* kPositionsNote =
    "Positions View - Sensors positions are displayed at GPS intervals by dots or swath bars as selected in the "
    "Position Size section above.";
constexpr const char* kSwathNote =
    "Map Swath - This parameter affects only width of virtual instrument footprint shown on the real time map.";

QLabel* Note(QWidget* parent, const char* text, int id = -1) {
  QLabel* l = MakeLabel(parent, text, nullptr, id);
  l->setWordWrap(true);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

// A group of six radio buttons "1 " .. "6 " with identifiers firstId.., the choice `checked` set.
QGroupBox* SizeGroup(QWidget* parent, const char* title, int firstId, int checked, QButtonGroup*& group) {
  auto* box = new QGroupBox(title, parent);
  auto* row = new QHBoxLayout(box);
  group = new QButtonGroup(box);
  for (int i = 0; i < 6; ++i) {
    auto* radio = new QRadioButton(QString("%1 ").arg(i + 1), box);
    SetControlId(radio, firstId + i);
    group->addButton(radio, i);
    row->addWidget(radio);
    if (i == checked) radio->setChecked(true);
  }
  row->addStretch(1);
  return box;
}

}  // namespace

MapPreview::MapPreview(QWidget* parent) : QPushButton("Map Preview", parent) {
  SetControlId(this, 1223);
  setFocusPolicy(Qt::NoFocus);
  setAutoDefault(false);
}

QSize MapPreview::sizeHint() const { return {240, 180}; }

void MapPreview::paintEvent(QPaintEvent*) {
  const Settings& s = Config();
  QPainter p(this);
  const QRect area = rect().adjusted(0, 0, -1, -1);
  p.fillRect(area, Qt::white);
  p.setClipRect(area.adjusted(1, 1, 0, 0));

  // Grid or parallel lines.
  p.setPen(QPen(QColor(192, 192, 192), 1));
  const int w = width(), h = height();
  if (s.gridStyle == 0 || s.linesAngleDeg == 0.0) {
    for (int x = 40; x < w; x += 50) p.drawLine(x, 0, x, h);
    if (s.gridStyle == 0)
      for (int y = 30; y < h; y += 50) p.drawLine(0, y, w, y);
  } else {
    // Lines at the angle clockwise from north, `spacing` apart along a vertical.
    const double a = s.linesAngleDeg * M_PI / 180.0;
    const double spacing = PreviewLineSpacing(s.linesAngleDeg);
    const double dx = std::sin(a), dy = -std::cos(a);
    const double len = 2.0 * (w + h);
    if (std::fabs(dx) > 1e-9) {
      // Every line crosses the vertical x = w / 2 somewhere; walk those crossings.
      const double slope = dy / dx;  // rows per column
      const double reach = std::fabs(slope) * w + h;
      for (double y = -reach; y <= reach + h; y += spacing) {
        QPointF c(w / 2.0, y);
        p.drawLine(c - QPointF(dx, dy) * len, c + QPointF(dx, dy) * len);
      }
    }
  }

  // Five short tracks of sample marks.
  QColor mark = ToQColor(s.positionColour);
  const int step = PreviewMarkSpacing(s.positionSize);
  for (int t = 0; t < 5; ++t) {
    const int y0 = 25 + t * 28;
    for (int x = 20; x <= 110; x += step) {
      const int y = y0 + (x / 10) % 3;
      if (s.positionSize <= 3) {
        const int d = s.positionSize + 2;
        p.setPen(Qt::NoPen);
        p.setBrush(mark);
        p.drawEllipse(QRect(x - d / 2, y - d / 2, d, d));
      } else {
        p.setPen(QPen(mark, s.positionSize == 5 ? 3 : 1));
        p.drawLine(x, y - 6, x, y + 6);
      }
    }
  }

  // The cursor: a circle with a cross, of the cursor's full size.
  const int full = CursorFullSizeFor(s.cursorSize), half = full / 2;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ToQColor(s.cursorColour), 1));
  p.drawEllipse(QRect(145 - half, 90 - half, full, full));
  p.drawLine(145 - half - 3, 90, 145 + half + 3, 90);
  p.drawLine(145, 90 - half - 3, 145, 90 + half + 3);

  p.setClipping(false);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(64, 64, 64), 1));
  p.drawRect(area);
}

MapDisplayOptionsDialog::MapDisplayOptionsDialog(QWidget* owner, bool narrow)
    : SetupDialog(narrow ? "DISPLAYOPTIONS31NARROW" : "DISPLAYOPTIONS31", "Map Display Options",
                  narrow ? 222 : 340, narrow ? 378 : 231, owner, 11) {
  SetCloseOnC(false);
  SetTopDivisor(7);
  okButton()->setText("&OK");
  cancelButton()->setText("&Cancel");
  Settings& s = Config();
  copy_ = MapOptionsCopy::Of(s);
  SaveMapSizeCopies();
  const bool closed = Sess().LoggingState == Closed;

  // Map units, size and swath.
  auto* mapGrid = new QGridLayout;
  units_ = MakeList(this, 1260, {kMapUnitNames[0], kMapUnitNames[1], kMapUnitNames[2]});
  units_->setCurrentIndex(std::clamp(s.mapUnits, 0, 2));
  units_->setEnabled(closed);
  AddRow(mapGrid, 0, "Map U&nits:", units_);
  mapSize_ = MakeEdit(this, 1014, FormatC("%d", s.mapSize), 10);
  AddRow(mapGrid, 1, "Map Si&ze:", mapSize_);
  sizeUnit_ = MakeLabel(this, "", nullptr, 1015);
  mapGrid->addWidget(sizeUnit_, 1, 2);
  swath_ = MakeList(this, 1258, {"0.25", "0.5", "1.0", "2.0", "3.0", "4.0", "5.0", "10.0"});
  swath_->setCurrentIndex(std::clamp(s.swathWidthIndex, 0, 7));
  swath_->setEnabled(closed);
  AddRow(mapGrid, 2, "Map S&wath:", swath_);
  swathUnit_ = MakeLabel(this, "", nullptr, 1259);
  mapGrid->addWidget(swathUnit_, 2, 2);
  mapGrid->setColumnStretch(1, 1);

  // Cursor and position marks.
  QButtonGroup* cursorSizes = nullptr;
  QButtonGroup* positionSizes = nullptr;
  QGroupBox* cursorBox = SizeGroup(this, "Cursor Size", 1214, s.cursorSize, cursorSizes);
  QGroupBox* positionBox = SizeGroup(this, "Position Size", 1225, s.positionSize, positionSizes);
  auto* cursorColour = new QPushButton("C&ursor Color", this);
  SetControlId(cursorColour, 1210);
  cursorColour->setAutoDefault(false);
  auto* positionColour = new QPushButton("&Position Color", this);
  SetControlId(positionColour, 1211);
  positionColour->setAutoDefault(false);
  auto* colourRow = new QHBoxLayout;
  colourRow->addWidget(cursorColour);
  colourRow->addWidget(positionColour);

  // Grid or guide lines.
  auto* gridBox = new QGroupBox("Map Grid/Lines Setup", this);
  auto* gridLayout = new QGridLayout(gridBox);
  basicGrid_ = new QRadioButton("&Basic Grid", gridBox);
  SetControlId(basicGrid_, 1008);
  parallelLines_ = new QRadioButton("Parallel &Lines", gridBox);
  SetControlId(parallelLines_, 1009);
  auto* styleRow = new QHBoxLayout;
  styleRow->addWidget(basicGrid_);
  styleRow->addWidget(parallelLines_);
  styleRow->addStretch(1);
  gridLayout->addLayout(styleRow, 0, 0, 1, 3);
  interval_ = MakeEdit(gridBox, 1010, FormatC("%.2f", s.gridInterval), 12);
  intervalLabel_ = AddRow(gridLayout, 1, GridIntervalLabel(s.gridStyle), interval_, 1011);
  intervalUnit_ = MakeLabel(gridBox, "", nullptr, 1013);
  gridLayout->addWidget(intervalUnit_, 1, 2);
  angle_ = MakeEdit(gridBox, 1012, FormatC("%.2f", s.linesAngleDeg), 12);
  AddRow(gridLayout, 2, "Lines &Angle:", angle_);
  gridLayout->addWidget(MakeLabel(gridBox, "deg"), 2, 2);
  gridLayout->setColumnStretch(1, 1);
  (s.gridStyle == 1 ? parallelLines_ : basicGrid_)->setChecked(true);
  angle_->setEnabled(s.gridStyle == 1);

  // Positions only or a colour map.
  view_ = MakeList(this, 1016, {"Sensor Positions, No Color Image", "Map of Selected Component/Dipole"});
  view_->setCurrentIndex(std::clamp(s.mapColourView, 0, 1));
  QLabel* viewNote = Note(this, kColourViewNote, 1017);
  preview_ = new MapPreview(this);

  ShowUnitLabels(s.mapUnits);

  // Placement: two columns, or one column in the narrow form.
  auto* left = new QVBoxLayout;
  left->addLayout(mapGrid);
  left->addWidget(cursorBox);
  left->addWidget(positionBox);
  left->addLayout(colourRow);
  auto* right = new QVBoxLayout;
  right->addWidget(gridBox);
  right->addWidget(view_);
  right->addWidget(viewNote);
  auto* notes = new QVBoxLayout;
  notes->addWidget(Note(this, kPositionsNote));
  notes->addWidget(Note(this, kSwathNote));

  auto* top = new QVBoxLayout(this);
  if (narrow) {
    top->addLayout(left);
    top->addLayout(right);
    top->addWidget(preview_, 0, Qt::AlignHCenter);
    top->addLayout(notes);
  } else {
    auto* columns = new QHBoxLayout;
    left->addLayout(notes);
    left->addStretch(1);
    right->addWidget(preview_, 0, Qt::AlignHCenter);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    top->addLayout(columns);
  }
  top->addStretch(1);
  top->addLayout(MakeButtonRow());

  connect(cursorSizes, &QButtonGroup::idClicked, this, [this](int id) {
    Config().cursorSize = id;
    UpdateCursorSizes();
    preview_->update();
  });
  connect(positionSizes, &QButtonGroup::idClicked, this, [this](int id) {
    Config().positionSize = id;
    preview_->update();
  });
  connect(cursorColour, &QPushButton::clicked, this, [this] { PickColour(true); });
  connect(positionColour, &QPushButton::clicked, this, [this] { PickColour(false); });
  connect(basicGrid_, &QRadioButton::clicked, this, [this] { SetGridStyle(0); });
  connect(parallelLines_, &QRadioButton::clicked, this, [this] { SetGridStyle(1); });
  connect(angle_, &QLineEdit::textEdited, this, [this](const QString& text) {
    Config().linesAngleDeg = ParseRealC(text.toStdString());
    preview_->update();
  });
  connect(units_, &QComboBox::currentIndexChanged, this, [this](int i) { ShowUnitLabels(i); });
  connect(view_, &QComboBox::activated, this, [this](int i) { OnColourViewChosen(i); });
}

void MapDisplayOptionsDialog::ShowUnitLabels(int mapUnits) {
  sizeUnit_->setText(MapSizeUnitLabel(mapUnits));
  swathUnit_->setText(MapSizeUnitLabel(mapUnits));
  intervalUnit_->setText(GridUnitLabel(mapUnits));
}

void MapDisplayOptionsDialog::SetGridStyle(int style) {
  Config().gridStyle = style;
  angle_->setEnabled(style == 1);
  intervalLabel_->setText(GridIntervalLabel(style));
  preview_->update();
}

void MapDisplayOptionsDialog::PickColour(bool cursor) {
  Colour& target = cursor ? Config().cursorColour : Config().positionColour;
  target = UserPrompts().ChooseColour(this, target).value_or(target);
  RecreateMapPens();
  preview_->update();
}

void MapDisplayOptionsDialog::OnColourViewChosen(int index) {
  if (!UsesInstrument(Config()) && index != 0) {
    view_->setCurrentIndex(0);
    ShowMessage(kMessageOk, "WARNING", "Only sensor position avaiable for GXY format", this);
  }
}

bool MapDisplayOptionsDialog::TakeValues() {
  MapOptionsEntry e;
  e.mapUnits = units_->currentIndex();
  e.mapColourView = view_->currentIndex();
  e.mapSize = TextOf(mapSize_);
  e.swathWidthIndex = swath_->currentIndex();
  e.gridStyle = parallelLines_->isChecked() ? 1 : 0;
  e.gridInterval = TextOf(interval_);
  e.linesAngle = TextOf(angle_);
  ApplyMapOptions(e, copy_);
  UpdateCursorSizes();
  RecreateMapPens();
  return true;
}

void MapDisplayOptionsDialog::RestoreValues() {
  copy_.RestoreOpenChanges(Config());
  UpdateCursorSizes();
  RecreateMapPens();
  MapState().RedrawFlags = 0;
}

int RunMapDisplayOptionsDialog(QWidget* owner, bool narrow) {
  MapDisplayOptionsDialog dialog(owner, narrow);
  return UserPrompts().RunDialog(dialog);
}

}  // namespace obrix
