// Launching and watching the real stand-in programs through the application
// with the real launcher and window probe, on an X server of the test's own.
#include <gtest/gtest.h>

#include <QFile>

#include "AppHarness.h"
#include "XSession.h"
#include "core/shell/Launch.h"
#include "core/shell/Startup.h"
#include "gui/shell/frm_Starter.h"
#include "platform/Platform.h"

namespace qv::test {
namespace {

const QString kTools = QStringLiteral(QV_TOOLS_DIR);

void InstallProgram(const QString& from, const QString& to) {
  QFile::remove(to);
  ASSERT_TRUE(QFile::copy(from, to)) << to.toStdString();
  QFile::setPermissions(to, QFile::permissions(to) | QFile::ExeOwner);
}

class LaunchSlow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x.usable()) GTEST_SKIP() << "no X server";
    h = std::make_unique<AppHarness>(QString(), [this](app::Backends& b) {
      platform::Platform real = platform::CreatePlatform(QString());
      b.platform.windowProbe = std::move(real.windowProbe);
      auto tracking = std::make_unique<TrackingLauncher>(std::move(real.processLauncher));
      launcher = tracking.get();
      b.platform.processLauncher = std::move(tracking);
    });
    InstallProgram(kTools + "/fsx.exe", h->install.simDir + "/fsx.exe");
    InstallProgram(kTools + "/murmexr.exe", h->install.installDir + "/murmexr.exe");
  }
  void TearDown() override { h.reset(); }  // ends the programs and the probe's X connection before the server goes

  shell::Launcher& launch() { return h->app->services().launcher; }
  shell::frm_Starter& starter() { return h->app->starter(); }
  bool SimUp() { return launch().SimRunning(); }
  bool RuntimeUp() { return launch().RuntimeRunning(); }
  bool BothUp() { return SimUp() && RuntimeUp(); }
  int exits() { return h->fakes.exit->calls; }

  // Starts a program behind the system's back, as a user would.
  qint64 StartSim() {
    const qint64 pid = launcher->Start(h->install.simDir + "/fsx.exe", h->install.simDir).processId;
    EXPECT_TRUE(WaitUntil([&] { return SimUp(); }));
    return pid;
  }
  qint64 StartRuntime() {
    const QString dir = h->install.installDir;
    const qint64 pid = launcher->Start(dir + "/murmexr.exe", dir).processId;
    EXPECT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
    return pid;
  }
  // Launches what is missing and lets the starter take its first tick.
  void LaunchIntoTray() {
    launch().LaunchAndMonitor();
    ASSERT_TRUE(WaitUntil([&] { return BothUp(); }));
    starter().Timer1Tick();
  }
  qint64 PidOf(int startIndex) { return launcher->processIds().value(startIndex); }

  XSession x;  // first in, last out
  std::unique_ptr<AppHarness> h;
  TrackingLauncher* launcher = nullptr;
};

struct Before {
  bool sim, runtime;
  int expectedStarts;
};

class LaunchWithPrograms : public LaunchSlow, public ::testing::WithParamInterface<Before> {};

TEST_P(LaunchWithPrograms, StartsWhatIsMissingAndSettlesInTheTray) {
  if (GetParam().sim) StartSim();
  if (GetParam().runtime) StartRuntime();
  const int before = launcher->started();
  LaunchIntoTray();
  EXPECT_EQ(launcher->started() - before, GetParam().expectedStarts);
  EXPECT_TRUE(h->dialogs->shown.empty());
  starter().Timer2Tick();  // both still there: nothing happens
  EXPECT_EQ(exits(), 0);
  EXPECT_TRUE(BothUp());
}

INSTANTIATE_TEST_SUITE_P(Programs, LaunchWithPrograms,
                         ::testing::Values(Before{false, false, 2}, Before{true, false, 1}, Before{false, true, 1},
                                           Before{true, true, 0}),
                         [](const auto& info) {
                           return std::string(info.param.sim ? "Sim" : "NoSim") +
                                  (info.param.runtime ? "Runtime" : "NoRuntime");
                         });

// The simulator gone takes the runtime and the system with it; the runtime
// gone ends the system and leaves the simulator.
class ProgramExits : public LaunchSlow, public ::testing::WithParamInterface<bool> {};

TEST_P(ProgramExits, TheWatchEndsTheSystem) {
  const bool simExits = GetParam();
  LaunchIntoTray();
  const qint64 sim = PidOf(0), runtime = PidOf(1);
  KillProcess(simExits ? sim : runtime);
  ASSERT_TRUE(WaitUntil([&] { return simExits ? !SimUp() : !RuntimeUp(); }));
  starter().Timer2Tick();
  EXPECT_EQ(exits(), 1);
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  EXPECT_EQ(ProcessAlive(sim), !simExits);
}

INSTANTIATE_TEST_SUITE_P(Which, ProgramExits, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Simulator" : "Runtime"); });

TEST_F(LaunchSlow, RestoreLeavesBothProgramsAndCloseEndsOnlyTheRuntime) {
  LaunchIntoTray();
  const qint64 sim = PidOf(0), runtime = PidOf(1);
  starter().mnuRestore->trigger();
  EXPECT_TRUE(h->frame().isVisible());
  EXPECT_FALSE(starter().trayIconAdded());
  EXPECT_TRUE(BothUp());
  EXPECT_EQ(exits(), 0);

  test::Click(h->frame().btn_Minimize);  // straight into the tray while the runtime runs
  EXPECT_TRUE(starter().Timer2->isActive());
  starter().mnuRestore->trigger();
  test::Click(h->frame().btn_Close);  // the frame's close takes the runtime with it
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  EXPECT_TRUE(ProcessAlive(sim));
  EXPECT_EQ(exits(), 1);
}

// A restart prompt's OK: the screens go, the runtime is replaced.
TEST_F(LaunchSlow, RestartPromptOkReplacesTheRuntimeAndHeadsForTheTray) {
  const qint64 sim = StartSim(), oldRuntime = StartRuntime();
  h->ShowFrame();
  h->app->dialogs().ShowMessage("Grammars and Readbacks Saved", "restart?", shell::kIconInformation, true, true,
                                "gcompile_restart");
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(oldRuntime); }));
  ASSERT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
  EXPECT_EQ(launcher->started(), 3);
  EXPECT_TRUE(ProcessAlive(sim));
  EXPECT_FALSE(h->frame().isVisible());
  EXPECT_TRUE(starter().Timer1->isActive());
}

// Start-up with only the runtime closes it and shows the interface; with the
// simulator running it skips the interface and launches the runtime.
class StartupWith : public LaunchSlow, public ::testing::WithParamInterface<bool> {};

TEST_P(StartupWith, HandsOverAsTheProgramsStand) {
  const bool simFirst = GetParam();
  const qint64 pid = simFirst ? StartSim() : StartRuntime();
  shell::StartupSteps steps;
  steps.launchDecision = [this] { launch().LaunchDecision(); };
  ASSERT_TRUE(shell::RunStartup(h->app->context(), h->app->services().speech, "", steps));
  EXPECT_EQ(h->app->frameLoaded() && h->frame().isVisible(), !simFirst);
  if (simFirst) {
    EXPECT_TRUE(starter().Timer1->isActive());
    EXPECT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
    EXPECT_EQ(launcher->started(), 2);
  } else {
    EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(pid); }));
    EXPECT_EQ(launcher->started(), 1);  // only ours from above
  }
}

INSTANTIATE_TEST_SUITE_P(Running, StartupWith, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Simulator" : "RuntimeAlone"); });

}  // namespace
}  // namespace qv::test
