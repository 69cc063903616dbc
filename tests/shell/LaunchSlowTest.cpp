// Launching and watching the real stand-in programs through the real
// launcher and window probe, on an X server of the test's own.
#include <gtest/gtest.h>

#include <QFile>

#include "TestEnv.h"
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
    InstallProgram(kTools + "/fsx.exe", install.simDir + "/fsx.exe");
    InstallProgram(kTools + "/murmexr.exe", install.installDir + "/murmexr.exe");
    env = std::make_unique<TestEnv>(install.installDir);
    platform::Platform real = platform::CreatePlatform(install.installDir);
    env->platform.windowProbe = std::move(real.windowProbe);
    auto tracking = std::make_unique<TrackingLauncher>(std::move(real.processLauncher));
    launcher = tracking.get();
    env->platform.processLauncher = std::move(tracking);

    starter = std::make_unique<shell::frm_Starter>(env->ctx);
    starter->restoreInterface = [this] { env->log << "view:interface"; };
    view.showInterface = [this] { env->log << "view:interface"; };
    view.showStarter = [this] { starter->ShowLaunching(); };
    view.armStarter = [this] { starter->ArmTimer1(); };
    view.setLaunchEnabled = [this](bool on) { env->log << (on ? "view:launch-on" : "view:launch-off"); };
  }
  void TearDown() override {
    starter.reset();
    env.reset();  // ends the programs and closes the probe's X connection before the server goes
  }

  shell::Context& ctx() { return env->ctx; }
  bool SimUp() { return shell::IsSimRunning(ctx()); }
  bool RuntimeUp() { return shell::IsRuntimeRunning(ctx()); }
  bool BothUp() { return SimUp() && RuntimeUp(); }

  // Starts a program behind the system's back, as a user would.
  qint64 StartSim() {
    const qint64 pid = launcher->Start(install.simDir + "/fsx.exe", install.simDir).processId;
    EXPECT_TRUE(WaitUntil([&] { return SimUp(); }));
    return pid;
  }
  qint64 StartRuntime() {
    const qint64 pid = launcher->Start(install.installDir + "/murmexr.exe", install.installDir).processId;
    EXPECT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
    return pid;
  }
  // Launches what is missing and lets the starter take its first tick.
  void LaunchIntoTray() {
    shell::LaunchAndMonitor(ctx(), view);
    ASSERT_TRUE(WaitUntil([&] { return BothUp(); }));
    starter->Timer1Tick();
  }
  qint64 PidOf(int startIndex) { return launcher->processIds().value(startIndex); }

  XSession x;  // first in, last out
  TestInstallation install;
  std::unique_ptr<TestEnv> env;
  TrackingLauncher* launcher = nullptr;
  std::unique_ptr<shell::frm_Starter> starter;
  shell::LaunchView view;
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

  shell::LaunchAndMonitor(ctx(), view);
  EXPECT_TRUE(starter->isVisible());
  EXPECT_TRUE(starter->Timer1->isActive());
  EXPECT_TRUE(env->log.contains("view:launch-off"));
  ASSERT_TRUE(WaitUntil([&] { return BothUp(); }));
  EXPECT_EQ(launcher->started() - before, GetParam().expectedStarts);
  EXPECT_TRUE(env->dialogs.messages.empty());

  starter->Timer1Tick();
  EXPECT_TRUE(starter->trayIconAdded());
  EXPECT_FALSE(starter->Timer1->isActive());
  EXPECT_TRUE(starter->Timer2->isActive());
  EXPECT_TRUE(starter->windowState() & Qt::WindowMinimized);

  starter->Timer2Tick();  // both still there: nothing happens
  EXPECT_FALSE(env->shutdown.HasShutDown());
  EXPECT_TRUE(BothUp());
}

INSTANTIATE_TEST_SUITE_P(Programs, LaunchWithPrograms,
                         ::testing::Values(Before{false, false, 2}, Before{true, false, 1}, Before{false, true, 1},
                                           Before{true, true, 0}),
                         [](const auto& info) {
                           return std::string(info.param.sim ? "Sim" : "NoSim") +
                                  (info.param.runtime ? "Runtime" : "NoRuntime");
                         });

TEST_F(LaunchSlow, SimulatorExitingTakesTheRuntimeAndTheSystemWithIt) {
  LaunchIntoTray();
  const qint64 sim = PidOf(0), runtime = PidOf(1);
  KillProcess(sim);
  ASSERT_TRUE(WaitUntil([&] { return !SimUp(); }));
  EXPECT_TRUE(RuntimeUp());

  starter->Timer2Tick();
  EXPECT_FALSE(RuntimeUp());
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  EXPECT_TRUE(env->shutdown.HasShutDown());
  EXPECT_TRUE(env->log.contains("shutdown:tray"));
}

TEST_F(LaunchSlow, RuntimeExitingEndsTheSystemAndLeavesTheSimulator) {
  LaunchIntoTray();
  const qint64 sim = PidOf(0), runtime = PidOf(1);
  KillProcess(runtime);
  ASSERT_TRUE(WaitUntil([&] { return !RuntimeUp(); }));

  starter->Timer2Tick();
  EXPECT_TRUE(env->shutdown.HasShutDown());
  EXPECT_TRUE(SimUp());
  EXPECT_TRUE(ProcessAlive(sim));
}

TEST_F(LaunchSlow, RestoreLeavesBothProgramsAndExitClosesOnlyTheRuntime) {
  LaunchIntoTray();
  const qint64 sim = PidOf(0), runtime = PidOf(1);

  starter->mnuRestore->trigger();
  EXPECT_TRUE(env->log.contains("view:interface"));
  EXPECT_FALSE(starter->trayIconAdded());
  EXPECT_FALSE(starter->Timer2->isActive());
  EXPECT_TRUE(BothUp());
  EXPECT_FALSE(env->shutdown.HasShutDown());

  starter->GoToTray();
  starter->mnuClose->trigger();
  EXPECT_FALSE(RuntimeUp());
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  EXPECT_TRUE(SimUp());
  EXPECT_TRUE(ProcessAlive(sim));
  EXPECT_TRUE(env->shutdown.HasShutDown());
}

TEST_F(LaunchSlow, RestartReplacesTheRuntimeAndHeadsForTheTray) {
  LaunchIntoTray();
  starter->Restore();
  const qint64 sim = PidOf(0), oldRuntime = PidOf(1);

  shell::RestartRuntime(ctx(), view);
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(oldRuntime); }));
  ASSERT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
  EXPECT_EQ(launcher->started(), 3);
  EXPECT_NE(PidOf(2), oldRuntime);
  EXPECT_TRUE(ProcessAlive(sim));
  EXPECT_TRUE(starter->isVisible());
  EXPECT_TRUE(starter->Timer1->isActive());
}

TEST_F(LaunchSlow, StartupWithOnlyTheRuntimeClosesItAndShowsTheInterface) {
  const qint64 runtime = StartRuntime();
  shell::StartupSteps steps;
  steps.launchDecision = [this] { shell::LaunchDecision(ctx(), view); };
  ASSERT_TRUE(shell::RunStartup(ctx(), env->speech, "", steps));
  EXPECT_FALSE(RuntimeUp());
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  EXPECT_FALSE(SimUp());
  EXPECT_EQ(launcher->started(), 1);  // only ours from above
  EXPECT_TRUE(env->log.contains("view:interface"));
  EXPECT_FALSE(starter->isVisible());
}

TEST_F(LaunchSlow, StartupWithTheSimulatorRunningSkipsTheInterface) {
  StartSim();
  shell::StartupSteps steps;
  steps.launchDecision = [this] { shell::LaunchDecision(ctx(), view); };
  ASSERT_TRUE(shell::RunStartup(ctx(), env->speech, "", steps));
  EXPECT_FALSE(env->log.contains("view:interface"));
  EXPECT_TRUE(starter->isVisible());
  EXPECT_TRUE(starter->Timer1->isActive());
  EXPECT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
  EXPECT_EQ(launcher->started(), 2);
}

}  // namespace
}  // namespace qv::test
