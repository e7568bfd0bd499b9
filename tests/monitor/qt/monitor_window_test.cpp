#include "monitor/qt/monitor_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/qt/setup_window.h"
#include "monitor/monitor_reader.h"
#include "monitor/qt/gps_message_dialog.h"
#include "platform/message_box.h"
#include "platform/net_source.h"
#include "platform/paths.h"
#include "platform/pty_link.h"
#include "platform/qt/buttons.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/port_links.h"
#include "serial/tcp_server.h"
#include "serial/reader_thread.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

template <class F>
bool WaitFor(F done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

class MonitorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    MakeFolders(PortsFolder());
    setup_.resize(800, 600);
    monitor_ = new MonitorWindow(&setup_, QSize(800, 600), ComputeFonts(false), false);
    monitor_->SetSetupHooks([this](bool show) { setupButtonsShown_ = show; }, [this] { ++setupRepaints_; });
  }
  void TearDown() override {
    if (Sess().ActiveScreen == 2) monitor_->RunCommand(kMonitorExit);
    delete monitor_;
    ResetPorts();
    ResetSession();
    MonitorShared().MonitorReaderPaused = 0;
  }

  // Opens a device on the GPS port (COM6 in fresh settings) and the monitor on it.
  void OpenOnDevice() {
    std::string error;
    ASSERT_TRUE(device_.Open(PortsFolder() + "COM6", &error)) << error;
    monitor_->Open();
    ASSERT_EQ(Sess().ActiveScreen, 2);
    ASSERT_NE(Ports().GpsPortHandle.load(), kInvalidPort);
  }

  // What the device received within `ms`.
  std::string DeviceReads(size_t want, int ms) {
    std::string got;
    char buf[128];
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < want && std::chrono::steady_clock::now() < end) got.append(buf, device_.Read(buf, sizeof buf, 20));
    return got;
  }

  int ListCount() const { return monitor_->list()->count(); }
  QString LastLine() const { return monitor_->list()->item(ListCount() - 1)->text(); }

  void Press(int qtKey, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QCoreApplication::sendEvent(monitor_, &down);
  }

  test::DataRootFixture root_;
  QWidget setup_;
  MonitorWindow* monitor_ = nullptr;
  PtyLink device_;
  bool setupButtonsShown_ = true;
  int setupRepaints_ = 0;
};

TEST_F(MonitorWindowTest, ControlsAsCreated) {
  EXPECT_EQ(monitor_->objectName(), "MonitorGPSWnd");
  EXPECT_EQ(ControlId(monitor_), 780);
  EXPECT_FALSE(monitor_->isVisibleTo(&setup_));
  const char* captions[] = {"&Go", "&Pause", "&Send", "E&xit"};
  for (int i = 0; i < kMonitorButtonCount; ++i) {
    auto* b = FindControl<QPushButton>(monitor_, 750 + i);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), captions[i]);
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(b->isVisibleTo(monitor_), i != kMonitorGo);
    EXPECT_EQ(b->isEnabled(), i != kMonitorGo);
    EXPECT_EQ(HasDefaultLook(b), i == kMonitorPause);
  }
  EXPECT_EQ(FindControl<QPushButton>(monitor_, 750)->geometry(), FindControl<QPushButton>(monitor_, 751)->geometry());
  ASSERT_NE(FindControl<QListWidget>(monitor_, 760), nullptr);
  auto* edit = FindControl<QLineEdit>(monitor_, 770);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "$PASHS,NME,SAT,A,ON");
}

TEST_F(MonitorWindowTest, ListsEveryLineAndPausesAndGoes) {
  OpenOnDevice();
  EXPECT_TRUE(monitor_->isVisibleTo(&setup_));
  EXPECT_FALSE(setupButtonsShown_);
  device_.Write(std::string("$GPGGA,bad*00\r\n$GPTXT,\x01\xe9\r\n", 27));
  ASSERT_TRUE(WaitFor([&] { return ListCount() == 2; }, 1000));
  EXPECT_EQ(monitor_->list()->item(0)->text(), "$GPGGA,bad*00");
  EXPECT_EQ(LastLine(), QString::fromLatin1("$GPTXT,\x01\xe9"));

  Press(Qt::Key_P, "p");
  EXPECT_FALSE(monitor_->running());
  EXPECT_TRUE(monitor_->button(kMonitorGo)->isVisibleTo(monitor_));
  EXPECT_FALSE(monitor_->button(kMonitorPause)->isVisibleTo(monitor_));
  EXPECT_TRUE(HasDefaultLook(monitor_->button(kMonitorGo))) << "Go takes the place of Pause";
  device_.Write("$WHILEPAUSED\r\n");
  EXPECT_FALSE(WaitFor([&] { return ListCount() > 2; }, 300));

  monitor_->RunCommand(kMonitorGo);  // purges what came while paused
  EXPECT_TRUE(monitor_->running());
  device_.Write("$AFTER\r\n");
  ASSERT_TRUE(WaitFor([&] { return ListCount() == 3; }, 1000));
  EXPECT_EQ(LastLine(), "$AFTER");
  EXPECT_FALSE(WaitFor([&] { return ListCount() > 3; }, 150));
}

TEST_F(MonitorWindowTest, SendWritesTheCommandWithCrLf) {
  OpenOnDevice();
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({}, DialogEnd::ClickOk(), "GETGPSMESSAGE");
  Press(Qt::Key_S, "s");
  EXPECT_EQ(DeviceReads(21, 1000), "$PASHS,NME,SAT,A,ON\r\n");
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].title, "Send Message to GPS Receiver");
  EXPECT_TRUE(monitor_->running());
  EXPECT_EQ(monitor_->focusButton(), kMonitorPause);
  // The reader runs again after the send.
  device_.Write("$BACK\r\n");
  EXPECT_TRUE(WaitFor([&] { return ListCount() == 1; }, 1000));
}

TEST_F(MonitorWindowTest, SendsAConfigurationCommandUpToTheNmeaLineLength) {
  OpenOnDevice();
  ScopedScriptedPrompts prompts;
  const std::string command = "$PMTK314,0,1,0,1,1,5,0,0,0,0,0,0,0,0,0,0,0,0,0*2C";  // 49 characters
  const std::string longest = "$" + std::string(81, 'A');
  prompts << PromptAnswer::RunDialog({ControlValue::Text(kGpsMessageEditId, command)}, DialogEnd::ClickOk(),
                                     "GETGPSMESSAGE")
          << PromptAnswer::RunDialog({ControlValue::Text(kGpsMessageEditId, longest)}, DialogEnd::ClickOk(),
                                     "GETGPSMESSAGE");
  monitor_->RunCommand(kMonitorSend);
  EXPECT_EQ(DeviceReads(51, 1000), command + "\r\n");
  monitor_->RunCommand(kMonitorSend);
  EXPECT_EQ(DeviceReads(84, 1000), longest + "\r\n");
  EXPECT_EQ(prompts.Calls().size(), 2u) << "no message box";
}

TEST_F(MonitorWindowTest, SendRefusesWhatTheBufferCannotHoldAndCancelSendsNothing) {
  OpenOnDevice();
  ScopedScriptedPrompts prompts;
  const std::string edited = "$PASHS,NME,GGA,A,ON," + std::string(63, 'X');  // 83 characters
  prompts << PromptAnswer::RunDialog({ControlValue::Text(kGpsMessageEditId, edited)}, DialogEnd::ClickOk(),
                                     "GETGPSMESSAGE")
          << PromptAnswer::Press(IDOK, kMessageOk)
          << PromptAnswer::RunDialog({ControlValue::Text(kGpsMessageEditId, "$X")}, DialogEnd::ClickCancel(),
                                     "GETGPSMESSAGE");
  monitor_->RunCommand(kMonitorSend);
  EXPECT_EQ(monitor_->edit()->text().toStdString(), edited) << "the edited text is kept";
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[1].title, "Send Message to GPS Receiver");
  EXPECT_NE(prompts.Calls()[1].text.find("at most 82"), std::string::npos) << prompts.Calls()[1].text;
  monitor_->RunCommand(kMonitorSend);
  EXPECT_EQ(monitor_->edit()->text().toStdString(), edited) << "Cancel keeps the edit as it was";
  EXPECT_EQ(DeviceReads(1, 300), "");
}

TEST_F(MonitorWindowTest, TcpSourceListsItsLinesAndSendReachesTheServer) {
  test::TcpServer server;
  ASSERT_TRUE(server.ok());
  std::string error;
  ASSERT_TRUE(LinkPort(5, server.Address(), &error)) << error;
  monitor_->Open();
  ASSERT_EQ(Sess().ActiveScreen, 2);
  ASSERT_TRUE(server.WaitClient(2000));
  ASSERT_TRUE(server.Write("$GPGGA,tcp*00\r\n"));
  ASSERT_TRUE(WaitFor([&] { return ListCount() == 1; }, 2000));
  EXPECT_EQ(LastLine(), "$GPGGA,tcp*00");

  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({}, DialogEnd::ClickOk(), "GETGPSMESSAGE");
  monitor_->RunCommand(kMonitorSend);
  EXPECT_EQ(server.Received(2000), "$PASHS,NME,SAT,A,ON\r\n");
  EXPECT_EQ(prompts.Calls().size(), 1u);
  ASSERT_TRUE(server.Write("$BACK\r\n"));
  EXPECT_TRUE(WaitFor([&] { return ListCount() == 2; }, 2000));
  monitor_->RunCommand(kMonitorExit);
  EXPECT_EQ(Ports().GpsPortHandle.load(), kInvalidPort);
}

TEST_F(MonitorWindowTest, GpsdSourceListsSentencesWithoutItsReportsAndRefusesSend) {
  test::TcpServer server;
  ASSERT_TRUE(server.ok());
  std::string error;
  ASSERT_TRUE(LinkPort(5, server.Address("gpsd"), &error)) << error;
  monitor_->Open();
  ASSERT_EQ(Sess().ActiveScreen, 2);
  EXPECT_EQ(server.Received(2000), kGpsdWatchRequest);
  ASSERT_TRUE(server.Write("{\"class\":\"VERSION\"}\r\n$GPGGA,gpsd*00\r\n{\"class\":\"DEVICE\"}\r\n$GPGSA,x\r\n"));
  ASSERT_TRUE(WaitFor([&] { return ListCount() == 2; }, 2000));
  EXPECT_EQ(monitor_->list()->item(0)->text(), "$GPGGA,gpsd*00");
  EXPECT_EQ(LastLine(), "$GPGSA,x");

  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Press(IDOK, kMessageOk);
  monitor_->RunCommand(kMonitorSend);
  ASSERT_EQ(prompts.Calls().size(), 1u) << "no send dialog";
  EXPECT_EQ(prompts.Calls()[0].title, kMonitorSendTitle);
  EXPECT_EQ(prompts.Calls()[0].text, kMonitorSendGpsdText);
  EXPECT_EQ(server.Received(300), "");
  EXPECT_TRUE(monitor_->running());
  ASSERT_TRUE(server.Write("$AFTER\r\n"));
  EXPECT_TRUE(WaitFor([&] { return ListCount() == 3; }, 2000));
}

TEST_F(MonitorWindowTest, ExitClosesThePortAndReopens) {
  OpenOnDevice();
  monitor_->RunCommand(kMonitorExit);
  EXPECT_EQ(Sess().ActiveScreen, 0);
  EXPECT_FALSE(monitor_->isVisibleTo(&setup_));
  EXPECT_TRUE(setupButtonsShown_);
  EXPECT_EQ(setupRepaints_, 1);
  EXPECT_EQ(Ports().GpsPortHandle.load(), kInvalidPort);
  EXPECT_FALSE(GpsReaderThread().Held());
  // Commands only while the monitor is the active screen.
  monitor_->RunCommand(kMonitorPause);
  EXPECT_TRUE(monitor_->running());

  monitor_->Open();
  ASSERT_EQ(Sess().ActiveScreen, 2);
  device_.Write("$AGAIN\r\n");
  EXPECT_TRUE(WaitFor([&] { return ListCount() == 1; }, 1000));
}

TEST_F(MonitorWindowTest, NoLinkReportsThePortAndStaysOnTheSetupScreen) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Press(IDOK, kMessageOk);
  monitor_->Open();
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].text, "Port COM6 does not exists");
  EXPECT_EQ(Sess().ActiveScreen, 0);
  EXPECT_FALSE(monitor_->isVisibleTo(&setup_));
  EXPECT_FALSE(GpsReaderThread().Held());
}

TEST_F(MonitorWindowTest, WithoutGpsInputNothingIsListed) {
  Config().gpsInput = 0;
  std::string error;
  ASSERT_TRUE(device_.Open(PortsFolder() + "COM6", &error)) << error;
  monitor_->Open();
  EXPECT_EQ(Sess().ActiveScreen, 2);
  EXPECT_EQ(Ports().GpsPortHandle.load(), kInvalidPort);
  EXPECT_FALSE(GpsReaderThread().Held());
  device_.Write("$GPGGA\r\n");
  EXPECT_FALSE(WaitFor([&] { return ListCount() > 0; }, 200));
  monitor_->RunCommand(kMonitorExit);
  EXPECT_EQ(Sess().ActiveScreen, 0);
}

TEST_F(MonitorWindowTest, AReaderThatIgnoresItsStopKeepsThePortAndBlocksAReopen) {
  OpenOnDevice();
  // Replace the monitor's reader with one that ignores GpsPortClosing (and moves the manual clock on, so the
  // 5 s + 2 s wait passes at once).
  Ports().GpsPortClosing.exchange(1);
  ASSERT_TRUE(GpsReaderThread().WaitEnded(1000));
  GpsReaderThread().Join();
  Ports().GpsPortClosing.exchange(0);
  ManualClock clock;
  clock.Install();
  std::atomic<bool> release{false};
  GpsReaderThread().Start([&] {
    while (!release) {
      clock.Advance(50);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  const int fd = Ports().GpsPortHandle;

  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Press(IDOK, kMessageOk) << PromptAnswer::Press(IDOK, kMessageOk);
  monitor_->RunCommand(kMonitorExit);
  ASSERT_GE(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].text,
            "The GPS port (cable or Bluetooth connection) cannot be closed. Please exit and re-start the program.");
  EXPECT_EQ(Ports().GpsPortHandle.load(), fd) << "the port stays open";
  EXPECT_EQ(Ports().GpsPortClosing.load(), 1);
  EXPECT_FALSE(monitor_->isVisibleTo(&setup_));

  // Opening again while that reader holds the port shows the message instead of a second open.
  monitor_->Open();
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[1].text, prompts.Calls()[0].text);
  EXPECT_EQ(Sess().ActiveScreen, 0);
  EXPECT_EQ(Ports().GpsPortHandle.load(), fd);

  release = true;
  GpsReaderThread().Join();
  ManualClock::Uninstall();
}

TEST(MonitorFromSetupTest, CommandFiveOpensTheMonitorAndExitReturns) {
  test::DataRootFixture root;
  ResetSession();
  MakeFolders(PortsFolder());
  PtyLink device;
  std::string error;
  ASSERT_TRUE(device.Open(PortsFolder() + "COM6", &error)) << error;
  {
    SetupWindow setup(QSize(800, 600));
    auto* monitor = dynamic_cast<MonitorWindow*>(setup.gpsMonitor());
    ASSERT_NE(monitor, nullptr);
    EXPECT_EQ(ControlId(monitor), 780);
    setup.RunCommand(5);
    EXPECT_EQ(Sess().ActiveScreen, 2);
    EXPECT_TRUE(monitor->isVisibleTo(&setup));
    for (int i = 0; i < kSetupButtonCount; ++i) EXPECT_FALSE(setup.button(i)->isVisibleTo(&setup)) << i;
    device.Write("$GPGGA\r\n");
    EXPECT_TRUE(WaitFor([&] { return monitor->list()->count() == 1; }, 1000));
    monitor->HandleInput({KeyInput::KeyDown, 'X'});
    EXPECT_EQ(Sess().ActiveScreen, 0);
    for (int i = 0; i < kSetupButtonCount; ++i) EXPECT_TRUE(setup.button(i)->isVisibleTo(&setup)) << i;
    EXPECT_EQ(Ports().GpsPortHandle.load(), kInvalidPort);
  }
  ResetPorts();
  ResetSession();
}

}  // namespace
}  // namespace obrix
