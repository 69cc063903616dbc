#include <gtest/gtest.h>

#include <QFile>

#include "TestEnv.h"
#include "core/shell/Startup.h"
#include "data/IniFile.h"

using namespace qv;

namespace {

const QStringList kAllSteps = {"settings", "paths",    "assignments", "scan",    "checklists",
                               "tips",     "commands", "ils",         "navaids", "categories"};

// Start-up with every loader replaced by one that records its name and
// succeeds, except the one named `failing`, which reports and shuts down.
struct Harness {
  test::TestInstallation install;
  test::TestEnv env{install.installDir};
  shell::StartupSteps steps;
  QStringList ran;
  QString failing;

  Harness() {
    auto step = [this](const QString& name) {
      return [this, name] {
        ran << name;
        if (name == "settings") env.state.settings.checklistBackups = backups;
        if (name != failing) return 0;
        env.dialogs.ShowMessage("Failed " + name, "", shell::kIconError, true, false, "");
        env.shutdown.Shutdown();
        return 1;
      };
    };
    shell::StartupSteps::Loader* loaders[] = {
        &steps.loadSettings,   &steps.loadSimObjectPaths, &steps.loadAssignments, &steps.scanAircraft,
        &steps.listChecklists, &steps.loadScreenTips,     &steps.loadCommandList, &steps.loadIls,
        &steps.loadNavaids,    &steps.buildCategories};
    for (int i = 0; i < kAllSteps.size(); ++i) *loaders[i] = step(kAllSteps[i]);
    steps.launchDecision = [this] { ran << "launch"; };
    steps.restoreAll = [this] { ran << "restore"; };
    steps.loadAssignScreen = [this] { ran << "assignScreen"; };
  }
  int backups = 0;
  bool Run(const QString& commandLine = QString()) {
    return shell::RunStartup(env.ctx, env.speech, commandLine, steps);
  }
};

}  // namespace

TEST(Startup, NormalModeRunsEveryLoaderInOrderThenTheLaunchDecision) {
  Harness h;
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.ran, kAllSteps + QStringList{"launch"});
  EXPECT_TRUE(h.env.state.speechReady);
  // speech output starts before the compiler, before any loader
  EXPECT_EQ(h.env.log.mid(0, 2), (QStringList{"tts:start", "compile:start"}));
  EXPECT_TRUE(h.env.status.shown);
  EXPECT_TRUE(h.env.status.hidden);
  EXPECT_FALSE(h.env.state.restoreMode);
  EXPECT_EQ(h.env.exit.calls, 0);
}

TEST(Startup, RestoreModeLoadsOnlyWhatTheRestoreNeedsAndEnds) {
  Harness h;
  EXPECT_FALSE(h.Run("/restore"));
  EXPECT_EQ(h.ran, (QStringList{"settings", "paths", "assignments", "scan", "restore"}));
  EXPECT_TRUE(h.env.state.restoreMode);
  EXPECT_EQ(h.env.exit.calls, 1);
}

TEST(Startup, OnlyTheExactSwitchMeansRestore) {
  for (const QString& line :
       {QString("/RESTORE"), QString("/restore "), QString(" /restore"), QString("restore"), QString("/restore x")}) {
    Harness h;
    EXPECT_TRUE(h.Run(line)) << line.toStdString();
    EXPECT_FALSE(h.env.state.restoreMode) << line.toStdString();
    EXPECT_TRUE(h.ran.contains("commands")) << line.toStdString();
  }
}

// A failing loader stops start-up where it is: nothing after it runs, the
// process ends once, and the splash is never handed over.
TEST(Startup, EachFailingLoaderStopsAtItsStep) {
  for (const QString& failing : kAllSteps)
    for (const QString& mode : {QString(), QString("/restore")}) {
      SCOPED_TRACE((failing + " " + mode).toStdString());
      Harness h;
      h.failing = failing;
      const QStringList order = mode.isEmpty() ? kAllSteps : kAllSteps.mid(0, 4);
      EXPECT_FALSE(h.Run(mode));
      EXPECT_EQ(h.env.exit.calls, 1);
      if (!order.contains(failing)) {  // restore mode never runs this loader
        EXPECT_EQ(h.ran, order + QStringList{"restore"});
        continue;
      }
      EXPECT_EQ(h.ran, order.mid(0, order.indexOf(failing) + 1));
      EXPECT_FALSE(h.env.status.hidden);
      EXPECT_EQ(h.env.dialogs.titles(), QStringList{"Failed " + failing});
    }
}

TEST(Startup, SecondInstanceEndsSilently) {
  Harness h;
  h.env.singleInstance->another = true;
  EXPECT_FALSE(h.Run());
  EXPECT_TRUE(h.ran.isEmpty());
  EXPECT_TRUE(h.env.dialogs.messages.empty());
  EXPECT_FALSE(h.env.status.shown);
  EXPECT_EQ(h.env.exit.calls, 1);
  EXPECT_FALSE(h.env.state.speechReady);
  EXPECT_FALSE(h.env.log.contains("compile:stop"));  // speech never started, so never stopped
}

TEST(Startup, SimulatorMissingTwoFoldersUpIsReportedAndFoundWhateverItsCase) {
  Harness h;
  QFile::rename(h.install.simDir + "/fsx.exe", h.install.simDir + "/FSX.EXE");
  EXPECT_TRUE(h.Run());
  Harness missing;
  QFile::remove(missing.install.simDir + "/fsx.exe");
  EXPECT_FALSE(missing.Run());
  ASSERT_EQ(missing.env.dialogs.messages.size(), 1u);
  const auto& m = missing.env.dialogs.last();
  EXPECT_EQ(m.title, "Installation Path Incorrect");
  EXPECT_EQ(m.message,
            "Quorvane is not installed in the correct directory.\r\rIt should be installed in "
            "<FSXDirectory>\\Veltrane Software\\Quorvane.  Quorvane will now shutdown.");
  EXPECT_EQ(m.icon, shell::kIconError);
  EXPECT_EQ(m.tag, "shutdown_on_ok");
  EXPECT_TRUE(missing.ran.isEmpty());
  EXPECT_FALSE(missing.env.status.shown);
}

TEST(Startup, FirstUsePromptFollowsTheLaunchDecisionOnlyWhenNeverUpdated) {
  for (int backups : {-1, 0, 1}) {
    Harness h;
    h.backups = backups;
    bool updated = false;
    h.env.dialogs.OnTag("checklist_backup", [&] { updated = true; });
    EXPECT_TRUE(h.Run());
    if (backups == -1) {
      EXPECT_EQ(h.ran.mid(h.ran.size() - 2), (QStringList{"launch", "assignScreen"}));
      ASSERT_EQ(h.env.dialogs.messages.size(), 1u);
      const auto& m = h.env.dialogs.last();
      EXPECT_EQ(m.title, "Update FSX Checklists");
      EXPECT_EQ(m.message,
                "Quorvane would like to update the kneeboard checklists on default FSX aircraft.  This process "
                "is completely reversable.\r\rPlease press OK to continue...");
      EXPECT_EQ(m.icon, shell::kIconInformation);
      EXPECT_EQ(m.tag, "checklist_backup");
      EXPECT_TRUE(updated);
    } else {
      EXPECT_TRUE(h.env.dialogs.messages.empty());
      EXPECT_FALSE(h.ran.contains("assignScreen"));
      EXPECT_FALSE(updated);
    }
  }
}

TEST(Startup, NoFirstUsePromptWhenTheLaunchDecisionWentToShutdown) {
  Harness h;
  h.backups = -1;
  h.steps.launchDecision = [&h] { h.env.shutdown.Shutdown(); };
  EXPECT_FALSE(h.Run());
  EXPECT_TRUE(h.env.dialogs.messages.empty());
}

// Its steps in order, once; the copilot voice is saved only when the
// settings were loaded (before that the voice in memory is not the user's).
TEST(Shutdown, RunsItsStepsInOrderOnce) {
  for (const bool loaded : {true, false}) {
    test::TestInstallation install;
    test::TestEnv env(install.installDir);
    env.state.speechReady = loaded;
    env.state.settingsLoaded = loaded;
    env.state.settings.copilotVoice = 4;
    env.shutdown.Shutdown();
    env.shutdown.Shutdown();  // a follow-up calling it again changes nothing
    EXPECT_EQ(env.log, (QStringList{"shutdown:tray", "shutdown:screens"} +
                        (loaded ? QStringList{"compile:stop"} : QStringList())));
    EXPECT_EQ(env.exit.calls, 1);
    EXPECT_EQ(data::ReadIniInt("Main", "copilotVoice", install.settingsPath()), loaded ? 4 : 1);
  }
}
