#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "TestEnv.h"
#include "core/shell/Launch.h"
#include "core/shell/Startup.h"

namespace qv::test {
namespace {

// Which of the two programs run before the call.
struct Running {
  bool sim, runtime;
};

std::string Name(const Running& r) {
  return std::string(r.sim ? "Sim" : "NoSim") + (r.runtime ? "Runtime" : "NoRuntime");
}

// The launcher's signals logged as "view:..." among the starts, closes and
// shutdown steps, in the order they come.
void LogSignals(TestEnv& env) {
  using L = shell::Launcher;
  QObject::connect(&env.launcher, &L::interfaceWanted, [&env] { env.log << "view:interface"; });
  QObject::connect(&env.launcher, &L::starterWanted, [&env] { env.log << "view:starter"; });
  QObject::connect(&env.launcher, &L::starterArmed, [&env] { env.log << "view:arm"; });
  QObject::connect(&env.launcher, &L::launchButtonEnabled,
                   [&env](bool on) { env.log << (on ? "view:launch-on" : "view:launch-off"); });
}

QStringList Events(const TestEnv& env) { return env.log.filter(QRegularExpression("^(view|start|close|shutdown):")); }

void Set(TestEnv& env, const Running& r) {
  if (r.sim) env.windowProbe->classes << "FS98MAIN";
  if (r.runtime) env.windowProbe->titles << "VT Murmex";
}

// Runs `action` on fresh fakes with the programs of `r` running.
QStringList RunWith(const Running& r, const std::function<void(TestEnv&)>& action) {
  TestInstallation install;
  TestEnv env(install.installDir);
  LogSignals(env);
  Set(env, r);
  action(env);
  return Events(env);
}

class LaunchFixture {
 protected:
  LaunchFixture() : env(install.installDir) { LogSignals(env); }
  void Set(const Running& r) { test::Set(env, r); }
  QStringList Events() const { return test::Events(env); }
  TestInstallation install;
  TestEnv env;
};

const QStringList kShutdown{"shutdown:tray", "shutdown:screens"};
const QStringList kLaunch{"view:starter", "view:launch-off"};

// --- what is started, decided, and watched, for each of the four states ---

struct TableRow {
  Running running;
  int code;
  QStringList startMissing, launchDecision, watch;
};

class LaunchTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(LaunchTable, StartMissingLaunchDecisionAndWatch) {
  const TableRow& row = GetParam();
  EXPECT_EQ(RunWith(row.running, [&](TestEnv& env) { EXPECT_EQ(shell::LaunchStateCode(env.ctx), row.code); }),
            QStringList());
  EXPECT_EQ(RunWith(row.running,
                    [](TestEnv& env) {
                      EXPECT_EQ(shell::StartMissing(env.ctx), 0);
                      EXPECT_EQ(shell::LaunchStateCode(env.ctx), 11);  // afterwards both run
                    }),
            row.startMissing);
  EXPECT_EQ(RunWith(row.running, [](TestEnv& env) { env.launcher.LaunchDecision(); }), row.launchDecision);
  EXPECT_EQ(RunWith(row.running, [](TestEnv& env) { env.launcher.WatchPrograms(); }), row.watch);
}

INSTANTIATE_TEST_SUITE_P(
    States, LaunchTable,
    ::testing::Values(
        TableRow{{false, false}, 0, {"start:fsx.exe", "start:murmexr.exe"}, {"view:interface"}, kShutdown},
        TableRow{
            {true, false}, 1, {"start:murmexr.exe"}, kLaunch + QStringList{"start:murmexr.exe", "view:arm"}, kShutdown},
        TableRow{{false, true},
                 10,
                 {"start:fsx.exe"},
                 {"close:VT Murmex", "view:interface"},
                 QStringList{"close:VT Murmex"} + kShutdown},
        TableRow{{true, true}, 11, {}, kLaunch + QStringList{"view:arm"}, {}}),
    [](const auto& info) { return Name(info.param.running); });

// --- failures to start ---

struct FailureRow {
  QString failing;
  Running running;
  QString title, what;
  QStringList starts;
};

class LaunchFailure : public LaunchFixture, public ::testing::TestWithParam<FailureRow> {};

TEST_P(LaunchFailure, IsReportedAndEndsTheSystemWithoutArmingTheTray) {
  const FailureRow& row = GetParam();
  Set(row.running);
  env.processLauncher->failing << row.failing;
  env.launcher.LaunchAndMonitor();
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  const RecordingDialogs::Message& m = env.dialogs.last();
  EXPECT_EQ(m.title, row.title);
  EXPECT_EQ(m.message, "Quorvane encoutered an error while attempting to start " + row.what +
                           ".\r\rQuorvane will need to shutdown.");
  EXPECT_EQ(m.icon, shell::kIconError);
  EXPECT_EQ(m.tag, "shutdown_on_ok");
  EXPECT_FALSE(m.showCancel);
  EXPECT_TRUE(env.shutdown.HasShutDown());
  EXPECT_FALSE(Events().contains("view:arm"));
  EXPECT_EQ(env.log.filter("start:"), row.starts);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, LaunchFailure,
    ::testing::Values(
        // A simulator that does not start takes the runtime start with it.
        FailureRow{"fsx.exe", {false, false}, "Launch FSX Error", "FSX", {"start:fsx.exe"}},
        FailureRow{
            "murmexr.exe", {false, false}, "Launch MurmexR Error", "MurmexR", {"start:fsx.exe", "start:murmexr.exe"}},
        FailureRow{"murmexr.exe", {true, false}, "Launch MurmexR Error", "MurmexR", {"start:murmexr.exe"}}),
    [](const auto& info) { return info.param.failing.left(3).toStdString() + Name(info.param.running); });

// --- where the programs are started, restart and exit ---

class LaunchActions : public LaunchFixture, public ::testing::Test {};

TEST_F(LaunchActions, SimulatorInItsFolderAndRuntimeInTheInstallationWhateverTheCase) {
  QFile::rename(install.simDir + "/fsx.exe", install.simDir + "/FSX.EXE");
  WriteBytes(install.installDir + "/MurmexR.exe", "MZ");
  ASSERT_EQ(shell::StartMissing(env.ctx), 0);
  ASSERT_EQ(env.processLauncher->starts.size(), 2u);
  const auto& sim = env.processLauncher->starts[0];
  const auto& runtime = env.processLauncher->starts[1];
  EXPECT_EQ(QDir(sim.workingDir).canonicalPath(), QDir(install.simDir).canonicalPath());
  EXPECT_EQ(QFileInfo(sim.program).canonicalFilePath(), QFileInfo(install.simDir + "/FSX.EXE").canonicalFilePath());
  EXPECT_EQ(QDir(runtime.workingDir).canonicalPath(), QDir(install.installDir).canonicalPath());
  EXPECT_EQ(QFileInfo(runtime.program).fileName(), "MurmexR.exe");
}

TEST_F(LaunchActions, RestartClosesAndStartsTheRuntimeOnceAndExitClosesItFirst) {
  Set({true, true});
  env.windowProbe->refuseClose = true;  // a runtime that ignores the close is not started twice
  env.launcher.RestartRuntime();
  EXPECT_EQ(Events(), (QStringList{"close:VT Murmex"} + kLaunch + QStringList{"view:arm"}));
  env.windowProbe->refuseClose = false;
  env.log.clear();
  env.launcher.RestartRuntime();
  EXPECT_EQ(Events(), (QStringList{"close:VT Murmex"} + kLaunch + QStringList{"start:murmexr.exe", "view:arm"}));
  env.log.clear();
  env.launcher.ExitWithRuntime();
  EXPECT_EQ(Events(), (QStringList{"close:VT Murmex"} + kShutdown));
  EXPECT_TRUE(env.windowProbe->classes.contains("FS98MAIN"));
}

// The first-use prompt comes after the launch decision, whichever way it went.
class StartupHandOver : public LaunchFixture, public ::testing::TestWithParam<Running> {};

TEST_P(StartupHandOver, FirstUsePromptComesAfterTheLaunchDecision) {
  Set(GetParam());
  shell::StartupSteps steps;
  steps.launchDecision = [this] { env.launcher.LaunchDecision(); };
  steps.loadSettings = [this] {
    env.state.settings.checklistBackups = -1;
    return 0;
  };
  ASSERT_TRUE(shell::RunStartup(env.ctx, env.speech, "", steps));
  EXPECT_EQ(Events().contains("view:starter"), GetParam().sim);
  EXPECT_EQ(Events().contains("view:interface"), !GetParam().sim);
  EXPECT_EQ(env.dialogs.titles(), QStringList{"Update FSX Checklists"});
}

INSTANTIATE_TEST_SUITE_P(States, StartupHandOver,
                         ::testing::Values(Running{false, false}, Running{true, false}, Running{false, true}),
                         [](const auto& info) { return Name(info.param); });

}  // namespace
}  // namespace qv::test
