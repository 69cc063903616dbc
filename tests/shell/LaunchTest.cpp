#include <gtest/gtest.h>

#include <QDir>

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

class LaunchFixture {
 protected:
  LaunchFixture() : env(install.installDir) {
    using L = shell::Launcher;
    QObject::connect(&env.launcher, &L::interfaceWanted, [this] { env.log << "view:interface"; });
    QObject::connect(&env.launcher, &L::starterWanted, [this] { env.log << "view:starter"; });
    QObject::connect(&env.launcher, &L::starterArmed, [this] { env.log << "view:arm"; });
    QObject::connect(&env.launcher, &L::launchButtonEnabled,
                     [this](bool on) { env.log << (on ? "view:launch-on" : "view:launch-off"); });
  }
  void Set(const Running& r) {
    if (r.sim) env.windowProbe->classes << "FS98MAIN";
    if (r.runtime) env.windowProbe->titles << "VT Murmex";
  }
  // The log without the speech engine lines.
  QStringList Events() const {
    QStringList out;
    for (const QString& line : env.log)
      if (!line.startsWith("compile:") && !line.startsWith("tts:") && !line.startsWith("rec:")) out << line;
    return out;
  }

  TestInstallation install;
  TestEnv env;
};

// --- what is started, decided, and watched, for each of the four states ---

struct TableRow {
  Running running;
  int code;
  QStringList startMissing;    // events of StartMissing
  QStringList launchDecision;  // events of LaunchDecision
  QStringList watch;           // events of the tray watch
};

class LaunchTable : public LaunchFixture, public ::testing::TestWithParam<TableRow> {};

TEST_P(LaunchTable, StateCode) {
  Set(GetParam().running);
  EXPECT_EQ(shell::LaunchStateCode(env.ctx), GetParam().code);
}

TEST_P(LaunchTable, StartMissing) {
  Set(GetParam().running);
  EXPECT_EQ(shell::StartMissing(env.ctx), 0);
  EXPECT_EQ(Events(), GetParam().startMissing);
  EXPECT_TRUE(env.dialogs.messages.empty());
  // Afterwards both run.
  EXPECT_EQ(shell::LaunchStateCode(env.ctx), 11);
}

TEST_P(LaunchTable, LaunchDecision) {
  Set(GetParam().running);
  env.launcher.LaunchDecision();
  EXPECT_EQ(Events(), GetParam().launchDecision);
  EXPECT_FALSE(env.shutdown.HasShutDown());
}

TEST_P(LaunchTable, TrayWatch) {
  Set(GetParam().running);
  env.launcher.WatchPrograms();
  EXPECT_EQ(Events(), GetParam().watch);
}

const QStringList kShutdown{"shutdown:tray", "shutdown:screens"};

INSTANTIATE_TEST_SUITE_P(
    States, LaunchTable,
    ::testing::Values(
        TableRow{{false, false}, 0, {"start:fsx.exe", "start:murmexr.exe"}, {"view:interface"}, kShutdown},
        TableRow{{true, false},
                 1,
                 {"start:murmexr.exe"},
                 {"view:starter", "view:launch-off", "start:murmexr.exe", "view:arm"},
                 kShutdown},
        TableRow{{false, true},
                 10,
                 {"start:fsx.exe"},
                 {"close:VT Murmex", "view:interface"},
                 QStringList{"close:VT Murmex"} + kShutdown},
        TableRow{{true, true}, 11, {}, {"view:starter", "view:launch-off", "view:arm"}, {}}),
    [](const auto& info) { return Name(info.param.running); });

// --- failures to start ---

struct FailureRow {
  QString failing;
  Running running;
  QString title, firstLine;
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
  EXPECT_EQ(m.message, row.firstLine + "\r\rQuorvane will need to shutdown.");
  EXPECT_EQ(m.icon, shell::kIconError);
  EXPECT_TRUE(m.showOk);
  EXPECT_FALSE(m.showCancel);
  EXPECT_EQ(m.tag, "shutdown_on_ok");
  EXPECT_TRUE(env.shutdown.HasShutDown());
  EXPECT_FALSE(Events().contains("view:arm"));
  QStringList starts;
  for (const QString& e : Events())
    if (e.startsWith("start:")) starts << e;
  EXPECT_EQ(starts, row.starts);
}

INSTANTIATE_TEST_SUITE_P(Programs, LaunchFailure,
                         ::testing::Values(
                             // A simulator that does not start takes the runtime start with it.
                             FailureRow{"fsx.exe",
                                        {false, false},
                                        "Launch FSX Error",
                                        "Quorvane encoutered an error while attempting to start FSX.",
                                        {"start:fsx.exe"}},
                             FailureRow{"murmexr.exe",
                                        {false, false},
                                        "Launch MurmexR Error",
                                        "Quorvane encoutered an error while attempting to start MurmexR.",
                                        {"start:fsx.exe", "start:murmexr.exe"}},
                             FailureRow{"murmexr.exe",
                                        {true, false},
                                        "Launch MurmexR Error",
                                        "Quorvane encoutered an error while attempting to start MurmexR.",
                                        {"start:murmexr.exe"}}),
                         [](const auto& info) {
                           return info.param.failing.left(3).toStdString() + Name(info.param.running);
                         });

// --- where the programs are started ---

class LaunchPaths : public LaunchFixture, public ::testing::Test {};

TEST_F(LaunchPaths, SimulatorInItsFolderAndRuntimeInTheInstallation) {
  // The simulator's files come from a case-insensitive file system.
  QFile::rename(install.simDir + "/fsx.exe", install.simDir + "/FSX.EXE");
  WriteBytes(install.installDir + "/MurmexR.exe", "MZ");
  ASSERT_EQ(shell::StartMissing(env.ctx), 0);
  ASSERT_EQ(env.processLauncher->starts.size(), 2u);
  const auto& sim = env.processLauncher->starts[0];
  const auto& runtime = env.processLauncher->starts[1];
  EXPECT_EQ(QDir(sim.workingDir).canonicalPath(), QDir(install.simDir).canonicalPath());
  EXPECT_EQ(QFileInfo(sim.program).canonicalFilePath(), QFileInfo(install.simDir + "/FSX.EXE").canonicalFilePath());
  EXPECT_EQ(QDir(runtime.workingDir).canonicalPath(), QDir(install.installDir).canonicalPath());
  EXPECT_EQ(QFileInfo(runtime.program).canonicalFilePath(),
            QFileInfo(install.installDir + "/MurmexR.exe").canonicalFilePath());
}

TEST_F(LaunchPaths, MissingRuntimeFileIsStillTriedAndReportedByTheLauncher) {
  env.windowProbe->classes << "FS98MAIN";
  ASSERT_EQ(shell::StartMissing(env.ctx), 0);  // the fake starts anything
  ASSERT_EQ(env.processLauncher->starts.size(), 1u);
  EXPECT_EQ(QFileInfo(env.processLauncher->starts[0].program).fileName(), "murmexr.exe");
}

// --- restart, exit, and a runtime that will not close ---

class LaunchActions : public LaunchFixture, public ::testing::Test {};

TEST_F(LaunchActions, RestartClosesAndStartsTheRuntimeAgainThenHeadsForTheTray) {
  Set({true, true});
  env.launcher.RestartRuntime();
  EXPECT_EQ(Events(),
            (QStringList{"close:VT Murmex", "view:starter", "view:launch-off", "start:murmexr.exe", "view:arm"}));
  EXPECT_TRUE(env.windowProbe->titles.contains("VT Murmex"));
}

TEST_F(LaunchActions, RuntimeThatIgnoresTheCloseIsNotStartedTwice) {
  Set({true, true});
  env.windowProbe->refuseClose = true;
  env.launcher.RestartRuntime();
  EXPECT_EQ(Events(), (QStringList{"close:VT Murmex", "view:starter", "view:launch-off", "view:arm"}));
}

TEST_F(LaunchActions, ExitClosesTheRuntimeBeforeTheShutdown) {
  Set({true, true});
  env.launcher.ExitWithRuntime();
  EXPECT_EQ(Events(), QStringList{"close:VT Murmex"} + kShutdown);
  EXPECT_TRUE(env.windowProbe->classes.contains("FS98MAIN"));
}

TEST_F(LaunchActions, CloseWithoutRuntimeDoesNothing) {
  Set({true, false});
  shell::CloseRuntime(env.ctx);
  EXPECT_TRUE(Events().isEmpty());
}

TEST_F(LaunchActions, WithoutPlatformAdaptersNothingRunsAndStartsFail) {
  env.platform.windowProbe.reset();
  env.platform.processLauncher.reset();
  EXPECT_EQ(shell::LaunchStateCode(env.ctx), 0);
  shell::CloseRuntime(env.ctx);
  EXPECT_EQ(shell::LaunchSim(env.ctx), 1);
  EXPECT_EQ(env.dialogs.last().title, "Launch FSX Error");
}

// --- the hand-over at the end of start-up ---

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
  const QStringList events = Events();
  const bool simFirst = GetParam().sim;
  EXPECT_EQ(events.contains("view:starter"), simFirst);
  EXPECT_EQ(events.contains("view:interface"), !simFirst);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Update FSX Checklists");
}

INSTANTIATE_TEST_SUITE_P(States, StartupHandOver,
                         ::testing::Values(Running{false, false}, Running{true, false}, Running{false, true}),
                         [](const auto& info) { return Name(info.param); });

}  // namespace
}  // namespace qv::test
