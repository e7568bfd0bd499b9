#include "logscreen/qt/log_window.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <optional>

#include "datafile/data_file.h"
#include "gps/fix_state.h"
#include "logscreen/qt/log_session.h"
#include "logscreen/screen_texts.h"
#include "map/map_hooks.h"
#include "panes/pane_paint.h"
#include "panes/qt/panes.h"
#include "platform/qt/buttons.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/key_translate.h"
#include "platform/qt/message_box.h"
#include "serial/qt/reader_bridge.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/survey_inputs.h"
#include "state/palette.h"
#include "state/session.h"
#include "survey/fix_handler.h"
#include "survey/pane_scales.h"
#include "survey/reading_handler.h"

namespace obrix {
namespace {

LogWindow* g_logWindow = nullptr;

QFont Font(const FontSpec& f) { return SystemFont(f.height, f.weight, f.italic); }

const char* const kSetACaptions[4] = {"E&xit", "Map &Size", "&Menu", "&File"};  // by slot
constexpr int kExitSlot = 0, kMapSizeSlot = 1, kMenuSlot = 2, kFileSlot = 3;
const char* const kSetBCaptions[4] = {"E&xit", "&QLine", "&Menu", "&Go"};
const char* const kNavCaptions[kNavButtonCount] = {"&Lf",      "&Rt",           "U&p",          "&Dn", "Zm&+",
                                                   "Zm&-",     "&Fit All",      "Enter Rev&iew", "&Exit Review"};

// The font, made smaller when the caption would not fit the width.
QFont FittedFont(QFont font, const QString& caption, int width) {
  while (font.pixelSize() > 9 && TextWidth(font, caption) > width) font.setPixelSize(font.pixelSize() - 1);
  return font;
}

void Place(QWidget* w, const Rect& r) { w->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

LogWindow* TheLogWindow() { return g_logWindow; }

LogWindow::LogWindow(QWidget* parent, QSize client, const FontSet& fonts, bool portrait, bool largeScreen)
    : QWidget(parent), portrait_(portrait), largeScreen_(largeScreen) {
  setObjectName("ScreenLogWnd");
  setWindowTitle("Log");
  SetControlId(this, kLogScreenId);
  setGeometry(0, 0, client.width(), client.height());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  labelFont_ = Font(fonts.label);
  valueFont_ = Font(fonts.value);
  largeFont_ = Font(fonts.large);
  const bool bigButtons = client.width() > 1100 || client.height() > 1100;
  buttonFont_ = Font(bigButtons ? fonts.largeButton : fonts.button);
  lineHeight_ = TextHeight(labelFont_) + 2;
  canvas_.Resize(client.width(), client.height(), kButtonFace);

  // Panes: the map pane here, the others from the pane module.
  map_ = new CanvasWidget(this, kWhite);
  map_->setObjectName("MapWnd");
  SetControlId(map_, kMapPaneId);
  map_->setFocusPolicy(Qt::NoFocus);
  map_->hide();
  CreateLogPanes(this);
  SetPaneLabelFont(labelFont_);
  CreateButtons();

  timer_.setInterval(300);
  connect(&timer_, &QTimer::timeout, this, [this] { OnTimer(); });

  // First layout, then the second settings load now that the pane sizes are known.
  Relayout();
  SaveLoadSettings(Load);
  UpdatePaneScales();
  hide();
  g_logWindow = this;
  SetScreenSink(this);
  InstallMapHooks();
  KeepLiveMapSizeInSettingsFile();
  InstallSessionEnd(this);
}

LogWindow::~LogWindow() {
  StopReaders();
  if (g_logWindow == this) {
    g_logWindow = nullptr;
    InstallSessionEnd(nullptr);
    ResetMapHooks();
  }
  if (&ScreenSink() == this) SetScreenSink(nullptr);
  if (LogPanes().curve && LogPanes().curve->parentWidget() == this) UseLogPanes({});
}

void LogWindow::SetSetupHooks(std::function<void(bool)> setupButtons, std::function<void()> repaintSetup) {
  setupButtons_ = std::move(setupButtons);
  repaintSetup_ = std::move(repaintSetup);
}

void LogWindow::CreateButtons() {
  auto make = [this](const char* caption, int id) {
    QPushButton* b = MakeScreenButton(caption, id, this);
    connect(b, &QPushButton::clicked, this, [this, id] { HandleInput({KeyInput::Command, id}); });
    b->hide();
    return b;
  };
  for (int slot = 0; slot < 4; ++slot) {
    setA_[slot] = make(kSetACaptions[slot], kMainButtonIdOfSlot[slot]);
    setB_[slot] = make(kSetBCaptions[slot], kMainButtonIdOfSlot[slot]);
  }
  pause_ = make("P A U S E", kFirstMainButtonId);
  for (int i = 0; i < kNavButtonCount; ++i) {
    nav_[i] = make(kNavCaptions[i], kFirstNavButtonId + i);
    nav_[i]->setEnabled(false);
  }
  for (int i = 0; i < 2; ++i) {
    channel_[i] = new QPushButton(this);
    channel_[i]->setCheckable(true);
    channel_[i]->setFocusPolicy(Qt::NoFocus);
    SetControlId(channel_[i], 480 + i);
    channel_[i]->hide();  // never shown for this instrument
  }
}

QPushButton* LogWindow::mainButton(int set, int slot) const { return set == 1 ? setA_[slot] : setB_[slot]; }

void LogWindow::PlaceButtons() {
  for (int slot = 0; slot < 4; ++slot) {
    for (QPushButton* b : {setA_[slot], setB_[slot]}) {
      Place(b, layout_.mainButtons[slot]);
      b->setFont(FittedFont(buttonFont_, b->text().remove('&'), layout_.mainButtons[slot].right -
                                                                    layout_.mainButtons[slot].left - 8));
    }
  }
  Place(pause_, layout_.pauseButton);
  pause_->setFont(FittedFont(buttonFont_, "P A U S E", layout_.pauseButton.right - layout_.pauseButton.left - 8));
  for (int i = 0; i < kNavButtonCount; ++i) {
    Place(nav_[i], layout_.navButtons[i]);
    nav_[i]->setFont(FittedFont(labelFont_, nav_[i]->text().remove('&'),
                                layout_.navButtons[i].right - layout_.navButtons[i].left - 6));
  }
}

void LogWindow::Relayout() {
  const Settings& s = Config();
  Session& ss = Sess();
  ScreenGeometry g{width(), height(), lineHeight_, portrait_, ss.MapVisible, UsesGps(s),
                   2 + TextHeight(largeFont_)};
  layout_ = ComputeScreenLayout(g);
  shownFields_.clear();
  Place(map_, layout_.map);
  map_->setVisible(ss.MapVisible);
  PanePlacement p;
  p.profile = ToQRect(layout_.profile);
  p.condBars = ToQRect(layout_.condBars);
  p.inphBars = ToQRect(layout_.inphBars);
  p.numbers = ToQRect(layout_.numbers);
  p.speedBar = ToQRect(layout_.speedBar);
  p.rightColumnWidth = layout_.rightColumnWidth;
  PlaceLogPanes(p);
  // A hidden map keeps its side: its pages stay drawn at that size.
  if (ss.MapVisible) Drv().MapPaneWidth = layout_.map.right - layout_.map.left;
  const LogPaneWidgets& w = LogPanes();
  w.curve->show();
  w.barQ->show();
  w.barI->show();
  w.numbers->show();
  w.speed->setVisible(UsesGps(s));
  w.decay->hide();
  PlaceButtons();
  UpdateNavVisibility();

  // Both readout sets, and the fixed fields of the status strip.
  ReadoutMetrics m;
  m.labelWidth = [this](std::string_view t) { return TextWidth(labelFont_, QString::fromUtf8(t.data(), int(t.size()))); };
  m.valueWidth = [this](std::string_view t) { return TextWidth(valueFont_, QString::fromUtf8(t.data(), int(t.size()))); };
  m.labelHeight = TextHeight(labelFont_);
  m.valueHeight = TextHeight(valueFont_);
  const bool grid = GridCoordinateLabels(s.coordinatesDisplay, s.nmeaFormat);
  const std::string dop = DopLabel(s.nmeaFormat, s.slamPseudoGga);
  ReadoutLabels labels{dop, grid ? "E:" : "Lon:", grid ? "N:" : "Lat:", grid};
  for (int visible = 0; visible < 2; ++visible) {
    ScreenGeometry gv = g;
    gv.mapVisible = visible == 1;
    const ScreenLayout lv = ComputeScreenLayout(gv);
    rectSets_[visible] = LayoutReadoutRows(lv.readouts, lv.wideReadouts, m, labels);
  }
  rects_ = rectSets_[ss.MapVisible ? 1 : 0];  // SelectReadoutSet
  const int plotLeft = (ss.MapVisible ? layout_.map.left : layout_.profile.left) + 1;
  const int th = TextHeight(labelFont_);
  statusRect_ = {plotLeft, 2, plotLeft + TextWidth(labelFont_, kStatusTemplate) + 1, 2 + th};
  const int captionRight = layout_.profile.right;
  mapCaptionRect_ = {captionRight - TextWidth(labelFont_, kMapCaptionTemplate), 2, captionRight, 2 + th};
  mapTitleRect_ = {statusRect_.right + 4, 0, mapCaptionRect_.left - 4, 2 + TextHeight(largeFont_)};
}

void LogWindow::UpdateNavVisibility() {
  const Session& s = Sess();
  const bool map = s.MapVisible;
  for (int i = 0; i < 4; ++i) nav_[i]->setVisible(map);
  for (int i = 4; i < 7; ++i) nav_[i]->setVisible(map && s.ReviewMode);
  nav_[7]->setVisible(map && !s.ReviewMode);
  nav_[8]->setVisible(map && s.ReviewMode);
}

void LogWindow::EnableNavButtons(bool enable) {
  const Session& s = Sess();
  const bool allowed = enable && UsesGps(Config()) && s.MapVisible;
  for (int i = 0; i < kNavButtonCount; ++i) {
    const bool reviewOnly = i >= 4 && i <= 6;
    nav_[i]->setEnabled(allowed && (!reviewOnly || s.ReviewMode) && (i != 8 || s.ReviewMode));
  }
}

void LogWindow::ShowButtonSet(ButtonSet set) {
  shownSet_ = set;
  for (int slot = 0; slot < 4; ++slot) {
    setA_[slot]->setVisible(set == ButtonSet::A);
    setB_[slot]->setVisible(set == ButtonSet::B);
  }
  pause_->setVisible(set == ButtonSet::Pause);
  SetDefaultLook(pause_, set == ButtonSet::Pause);
  if (set == ButtonSet::A || set == ButtonSet::B) SetFocusedButton(0);
}

void LogWindow::SetFocusedButton(int index) {
  Sess().FocusedButton = index;
  const int id = kFirstMainButtonId + index;
  for (int slot = 0; slot < 4; ++slot) {
    const bool isDefault = kMainButtonIdOfSlot[slot] == id;
    SetDefaultLook(setA_[slot], shownSet_ == ButtonSet::A && isDefault);
    SetDefaultLook(setB_[slot], shownSet_ == ButtonSet::B && isDefault);
  }
}

void LogWindow::EnableFileButtons() {
  for (QPushButton* b : setA_) b->setEnabled(true);
}

// --- Input ---

void LogWindow::HandleInput(const KeyInput& input, int notification) {
  setFocus();
  const LoggingInputContext context = CurrentLoggingInputContext();
  const LoggingCommand command = DecodeLoggingInput(input, context, notification);
  // Before the first valid fix no data file can be opened (File stays disabled until then).
  if (command == LoggingCommand::OpenFile && !setA_[kFileSlot]->isEnabled()) return;
  RunCommand(command);
}


void LogWindow::keyPressEvent(QKeyEvent* event) {
  HandleInput(TranslateKey(*event));
  event->accept();
}

void LogWindow::keyReleaseEvent(QKeyEvent* event) {
  setFocus();
  event->accept();
}

bool LogWindow::event(QEvent* e) {
  if (IsScreenTab(e)) {
    keyPressEvent(static_cast<QKeyEvent*>(e));
    return true;
  }
  return QWidget::event(e);
}

void LogWindow::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QImage image = CanvasImage(canvas_);
  // Only the rectangles asked for: the readouts update a few fields at a time.
  for (const QRect& r : event->region()) p.drawImage(r.topLeft(), image, r);
}

void LogWindow::OnTimer() {
  // Nothing else for this instrument; the write-error warning follows the count.
  if (DataFile().DataFileWriteErrors.load() != shownWriteErrors_) ShowWriteWarning();
}

// --- Session ---

void LogWindow::PrepareForSession() {
  Relayout();
  ShowButtonSet(ButtonSet::A);
  EnableNavButtons(false);
}

void LogWindow::StartReaders(bool em38, bool gps) {
  (void)gps;
  StopReaders();
  ReaderHandlers h;
  // The texts one record or sentence brings share a painter per canvas.
  h.em38Record = [this](const Em38RecordCopy& r) {
    TextBatch window(canvas_);
    std::optional<TextBatch> numbers;
    if (CanvasWidget* pane = LogPanes().numbers) numbers.emplace(pane->canvas());
    OnEm38Record(r.record(), r.tick);
  };
  h.gpsSentence = [this](const std::string& s, uint32_t) {
    {
      TextBatch window(canvas_);
      OnGpsSentence(s);
    }
    if (Fix().PositionLimitExitPending && !positionLimitRequested_) RequestPositionLimitExit();
  };
  h.gpsGsa = [](const std::string& s, uint32_t) { OnGpsGsa(s); };
  h.gpsLinkWarning = [this] { PaintGpsLinkWarning(); };
  h.em38LinkWarning = [] { OnEm38LinkLost(); };
  bridge_ = std::make_unique<ReaderBridge>(this, std::move(h));
  if (em38) bridge_->StartEm38();
}

void LogWindow::StartGpsReader() {
  if (bridge_) bridge_->StartGps();
}

void LogWindow::StopReaders() {
  if (bridge_) bridge_->StopReaders();
}

void LogWindow::StartTimer() { timer_.start(); }
void LogWindow::StopTimer() { timer_.stop(); }

void LogWindow::EnterScreen() {
  positionLimitRequested_ = 0;
  shownWriteErrors_ = 0;
  lastInstrument_ = InstrumentReadout{};
  lastMarker_ = ReadoutText{};
  ShowButtonSet(ButtonSet::A);
  const SetAEnabled enabled = SetAAtEntry(Config());
  setA_[kExitSlot]->setEnabled(enabled.exit);
  setA_[kMapSizeSlot]->setEnabled(enabled.mapSize);
  setA_[kMenuSlot]->setEnabled(enabled.menu);
  setA_[kFileSlot]->setEnabled(enabled.file);
  show();
  raise();
  setFocus();
}

void LogWindow::LeaveScreen() {
  hide();
  LogPanes().colourBar->hide();
}

void LogWindow::RequestPositionLimitExit() {
  positionLimitRequested_ = 1;
  // Runs once the sentence handler has returned and the reader has been let go.
  QTimer::singleShot(0, this, [this] {
    StopTimer();
    StopReaders();
    StopForPositionLimit();
    const PositionLimitText t = PositionLimitMessage();
    ShowMessage(kMessageOk, t.title, t.text, this);
    if (QWidget* top = window()) top->close();
  });
}

}  // namespace obrix
