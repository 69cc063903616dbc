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

const QStringList kShutdown{"shutdown:tray", "shutdown:screens"};
const QStringList kLaunch{"view:starter", "view:launch-off"};

// --- what is started, decided, and watched, for each of the four states ---

TEST(Launch, StartMissingLaunchDecisionAndWatchInEachState) {
  const struct {
    Running running;
    int code;
    QStringList startMissing, launchDecision, watch;
  } rows[] = {
      {{false, false}, 0, {"start:fsx.exe", "start:murmexr.exe"}, {"view:interface"}, kShutdown},
      {{true, false}, 1, {"start:murmexr.exe"}, kLaunch + QStringList{"start:murmexr.exe", "view:arm"}, kShutdown},
      {{false, true},
       10,
       {"start:fsx.exe"},
       {"close:VT Murmex", "view:interface"},
       QStringList{"close:VT Murmex"} + kShutdown},
      {{true, true}, 11, {}, kLaunch + QStringList{"view:arm"}, {}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(Name(row.running));
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
}

// A program that does not start is reported and ends the system without
// arming the tray; a simulator that does not start takes the runtime start with it.
TEST(Launch, FailureToStartIsReportedAndEndsTheSystem) {
  const struct {
    QString failing;
    Running running;
    QString title, what;
    QStringList starts;
  } rows[] = {
      {"fsx.exe", {false, false}, "Launch FSX Error", "FSX", {"start:fsx.exe"}},
      {"murmexr.exe", {false, false}, "Launch MurmexR Error", "MurmexR", {"start:fsx.exe", "start:murmexr.exe"}},
      {"murmexr.exe", {true, false}, "Launch MurmexR Error", "MurmexR", {"start:murmexr.exe"}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.failing.toStdString() + " " + Name(row.running));
    const QStringList events = RunWith(row.running, [&](TestEnv& env) {
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
    });
    EXPECT_FALSE(events.contains("view:arm"));
    EXPECT_EQ(events.filter("start:"), row.starts);
  }
}

// --- where the programs are started, restart and exit ---

class LaunchActions : public ::testing::Test {
 protected:
  LaunchActions() : env(install.installDir) { LogSignals(env); }
  QStringList Events() const { return test::Events(env); }
  TestInstallation install;
  TestEnv env;
};

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
  Set(env, {true, true});
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
TEST(Launch, FirstUsePromptComesAfterTheLaunchDecision) {
  for (const Running r : {Running{false, false}, Running{true, false}, Running{false, true}}) {
    SCOPED_TRACE(Name(r));
    const QStringList events = RunWith(r, [](TestEnv& env) {
      shell::StartupSteps steps;
      steps.launchDecision = [&env] { env.launcher.LaunchDecision(); };
      steps.loadSettings = [&env] {
        env.state.settings.checklistBackups = -1;
        return 0;
      };
      ASSERT_TRUE(shell::RunStartup(env.ctx, env.speech, "", steps));
      EXPECT_EQ(env.dialogs.titles(), QStringList{"Update FSX Checklists"});
    });
    EXPECT_EQ(events.contains("view:starter"), r.sim);
    EXPECT_EQ(events.contains("view:interface"), !r.sim);
  }
}

}  // namespace
}  // namespace qv::test
