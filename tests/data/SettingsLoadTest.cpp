#include <gtest/gtest.h>

#include <QFile>

#include "TestEnv.h"
#include "core/data/SettingsStore.h"
#include "data/IniFile.h"
#include "data/Settings.h"

using namespace qv;
using test::ReadBytes;
using test::WriteBytes;

namespace {

struct Loaded {
  test::TestInstallation install;
  test::TestEnv env{install.installDir};
  int Load() { return data::LoadSettings(env.ctx); }
};

}  // namespace

TEST(LoadSettings, ReadsTheDemoSettings) {
  Loaded l;
  ASSERT_EQ(l.Load(), 0);
  const auto& s = l.env.state.settings;
  EXPECT_EQ(s.copilotVoice, 1);
  EXPECT_EQ(s.micSwitch, "shift+t");
  EXPECT_EQ(s.compileNavaids, 1);
  EXPECT_EQ(s.checklistBackups, -1);
  EXPECT_EQ(int(s.lists.size()), s.numLists + 1);
  EXPECT_EQ(int(s.checklistResponses.size()), s.numChecklistResponse + 1);
  EXPECT_EQ(s.lists[0].name, "<HDG>");
  EXPECT_EQ(s.checklistResponses[0].response, "checked");
  EXPECT_EQ(s.checklistResponses[0].functionNumber, 1);
  EXPECT_EQ(s.PathFSXConfig, l.install.fsxCfg);
  EXPECT_TRUE(l.env.state.settingsLoaded);
  EXPECT_EQ(l.env.status.lines, QStringList{"Loading Settings, standby..."});
  EXPECT_TRUE(l.env.dialogs.messages.empty());
}

// The counts are last indexes: 0 reads one section, -1 none, a missing key
// means 0; sections that are absent read as empty texts.
TEST(LoadSettings, LastIndexDecidesHowManySectionsAreRead) {
  const struct {
    QByteArray main;
    int lists, responses;
  } cases[] = {{"numLists=0\r\nnumChecklistResponse=0\r\n", 1, 1},
               {"numLists=-1\r\nnumChecklistResponse=-1\r\n", 0, 0},
               {"", 1, 1},
               {"numLists=2\r\nnumChecklistResponse=3\r\n", 3, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.main.toStdString());
    test::TestInstallation install;
    WriteBytes(install.settingsPath(),
               "[Main]\r\n" + c.main + "PathFSXConfig=" + install.fsxCfg.toUtf8() + "\r\n[List.0]\r\nname=ONLY\r\n");
    test::TestEnv env(install.installDir);
    ASSERT_EQ(data::LoadSettings(env.ctx), 0);
    EXPECT_EQ(int(env.state.settings.lists.size()), c.lists);
    EXPECT_EQ(int(env.state.settings.checklistResponses.size()), c.responses);
    if (c.lists > 0) { EXPECT_EQ(env.state.settings.lists[0].name, "ONLY"); }
    if (c.lists > 1) { EXPECT_EQ(env.state.settings.lists[1].name, ""); }
  }
}

TEST(LoadSettings, MissingFileIsFatal) {
  test::TestInstallation install;
  QFile::remove(install.settingsPath());
  test::TestEnv env(install.installDir);
  EXPECT_EQ(data::LoadSettings(env.ctx), 1);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Quorvane Fatal Error");
  EXPECT_EQ(
      env.dialogs.last().message,
      "Your QV_Information.cfg file has not been found.\r\rQuorvane will not be able to load.\r\rPress OK to Exit.");
  EXPECT_EQ(env.dialogs.last().icon, shell::kIconError);
  EXPECT_TRUE(env.shutdown.HasShutDown());
  EXPECT_FALSE(env.state.settingsLoaded);
  // nothing was written back: no settings file appeared
  EXPECT_FALSE(QFile::exists(install.settingsPath()));
}

TEST(LoadSettings, ValueThatDoesNotFitSixteenBitsIsAnErrorInTheFile) {
  test::TestInstallation install;
  ASSERT_TRUE(data::WriteIniString("Main", "numLists", "70000", install.settingsPath()));
  test::TestEnv env(install.installDir);
  EXPECT_EQ(data::LoadSettings(env.ctx), 1);
  EXPECT_TRUE(env.dialogs.last().message.startsWith("There was an error in your QV_Information.cfg file."));
  EXPECT_TRUE(env.shutdown.HasShutDown());
}

TEST(SaveSettings, WritesOneKeyAndKeepsTheRest) {
  test::TestInstallation install;
  test::TestEnv env(install.installDir);
  ASSERT_EQ(data::LoadSettings(env.ctx), 0);
  const QByteArray before = ReadBytes(install.settingsPath());
  env.state.settings.copilotVoice = 3;
  data::SaveCopilotVoice(env.state, env.dialogs);
  QByteArray expected = before;
  expected.replace("copilotVoice=1", "copilotVoice=3");
  EXPECT_EQ(ReadBytes(install.settingsPath()), expected);

  env.state.settings.micSwitch = "joystick:1:button:5";
  data::SaveMicrophone(env.state, env.dialogs);
  EXPECT_EQ(data::ReadIniString("Main", "microphone", install.settingsPath()), "joystick:1:button:5");

  data::SaveChecklistBackups(env.state, env.dialogs, false);
  EXPECT_EQ(data::ReadIniInt("Main", "checklistBackups", install.settingsPath()), 0);
  data::SaveChecklistBackups(env.state, env.dialogs, true);
  EXPECT_EQ(data::ReadIniInt("Main", "checklistBackups", install.settingsPath()), 1);
  EXPECT_EQ(env.state.settings.checklistBackups, 1);
  EXPECT_TRUE(env.dialogs.messages.empty());
}

// With the settings file gone, each save reports it and then creates a file
// holding only its key.
TEST(SaveSettings, MissingFileIsReportedAndCreated) {
  struct Case {
    std::function<void(test::TestEnv&)> save;
    QString secondLine;
    QByteArray content;
  };
  const std::vector<Case> cases = {
      {[](test::TestEnv& e) { data::SaveCopilotVoice(e.state, e.dialogs); },
       "Quorvane will not be able to save your copilot setting.", "[Main]\r\ncopilotVoice=2\r\n"},
      {[](test::TestEnv& e) { data::SaveMicrophone(e.state, e.dialogs); },
       "Quorvane will not be able to save your microphone switch setting.", "[Main]\r\nmicrophone=k\r\n"},
      {[](test::TestEnv& e) { data::SaveChecklistBackups(e.state, e.dialogs, false); }, "",
       "[Main]\r\nchecklistBackups=0\r\n"},
  };
  for (const Case& c : cases) {
    test::TestInstallation install;
    QFile::remove(install.settingsPath());
    test::TestEnv env(install.installDir);
    env.state.settings.copilotVoice = 2;
    env.state.settings.micSwitch = "k";
    c.save(env);
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.last().title, "Quorvane Error");
    const QString expected = c.secondLine.isEmpty()
                                 ? "Your QV_Information.cfg file has not been found.\r\rPlease press OK to continue..."
                                 : "Your QV_Information.cfg file has not been found.\r\r" + c.secondLine +
                                       "\r\rPlease press OK to continue...";
    EXPECT_EQ(env.dialogs.last().message, expected);
    EXPECT_EQ(ReadBytes(install.settingsPath()), c.content);
  }
}
