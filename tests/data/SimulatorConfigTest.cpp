#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "core/data/SimulatorConfig.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "platform/Platform.h"

using namespace qv::data;
using qv::test::ReadBytes;
using qv::test::TestEnv;
using qv::test::TestInstallation;
using qv::test::WriteBytes;

namespace {

// An installation whose stored path is empty and two application-data
// folders that may each hold a configuration file.
struct Discovery {
  Discovery() {
    common = inst.root.path() + "/Common";
    user = inst.root.path() + "/User";
    env.appData->common = common;
    env.appData->user = user;
    env.state.settings.PathFSXConfig.clear();
  }
  QString Put(const QString& base, const QString& relative = "Microsoft/FSX/fsx.cfg") {
    WriteBytes(base + "/" + relative, "[Main]\r\nSimObjectPaths.0=SimObjects\\Airplanes\r\n");
    return base + "/" + relative;
  }
  QString Stored() const { return ReadIniString("Main", "PathFSXConfig", inst.settingsPath()); }

  TestInstallation inst;
  TestEnv env{inst.installDir};
  QString common, user;
};

}  // namespace

// The common folder before the user's, the simulator's folders in any letter
// case; a path stored before is used without a search, or asked for when gone.
TEST(SimulatorConfig, FoundInTheApplicationDataFoldersOrTheStoredPath) {
  Discovery d;
  const QString u = d.Put(d.user, "microsoft/fsx/FSX.CFG");
  ASSERT_EQ(DiscoverSimulatorConfig(d.env.ctx), 0);
  EXPECT_EQ(d.Stored(), u);
  d.env.state.settings.PathFSXConfig.clear();
  const QString c = d.Put(d.common);
  ASSERT_EQ(DiscoverSimulatorConfig(d.env.ctx), 0);
  EXPECT_EQ(d.env.state.settings.PathFSXConfig, c);
  EXPECT_EQ(d.Stored(), c);
  EXPECT_TRUE(d.env.dialogs.messages.empty());

  const QString stored = d.Put(d.inst.root.path() + "/Elsewhere", "fsx.cfg");
  d.env.state.settings.PathFSXConfig = stored;
  ASSERT_EQ(DiscoverSimulatorConfig(d.env.ctx), 0);
  EXPECT_EQ(d.Stored(), stored);
  QFile::remove(stored);
  d.env.fileDialogs->answer = c;
  ASSERT_EQ(DiscoverSimulatorConfig(d.env.ctx), 0);
  EXPECT_EQ(d.env.dialogs.titles(), QStringList{"FSX CFG File Not Found"});
  EXPECT_EQ(d.env.fileDialogs->lastFilter, "Configuration File |*.cfg");
  EXPECT_EQ(d.env.fileDialogs->lastFolder, d.inst.installDir);

  qv::test::FakeAppDataFolders none;  // the system gave no folder
  EXPECT_EQ(FindSimulatorConfig(none, false), kConfigNotFound);
  d.env.state.settings.PathFSXConfig.clear();
  d.env.osVersion->legacy = true;  // the old platform family skips the search
  d.env.fileDialogs->answer = "";
  EXPECT_EQ(DiscoverSimulatorConfig(d.env.ctx), 1);
  EXPECT_EQ(d.env.fileDialogs->calls, 2);
}

TEST(SimulatorConfig, OnlyAPickedFileNamedFsxCfgIsAccepted) {
  for (const auto& [file, accepted] : {std::pair{"fsx.cfg", true}, {"FSX.CFG", true}, {"fsx.cfg.bak", false},
                                       {"other.cfg", false}, {"", false}}) {
    SCOPED_TRACE(file);
    Discovery d;
    const QString picked = *file ? d.Put(d.inst.root.path() + "/Picked", file) : QString();
    d.env.fileDialogs->answer = picked;
    EXPECT_EQ(DiscoverSimulatorConfig(d.env.ctx) == 0, accepted);
    EXPECT_EQ(d.env.shutdown.HasShutDown(), !accepted);
    if (accepted) {
      EXPECT_EQ(d.Stored(), picked);
      continue;
    }
    EXPECT_EQ(d.env.dialogs.last().title, "FSX CFG File Not Recognized");
    EXPECT_EQ(d.env.dialogs.last().message,
              "Quorvane did not recognize the path to the FSX.cfg file and you will be unable to access "
              "Quorvane.\r\rPlease press OK to EXIT...");
    EXPECT_EQ(d.env.dialogs.last().icon, qv::shell::kIconError);
  }
}

TEST(SimulatorConfig, ObjectPathsStopAtTheFirstGap) {
  QByteArray thousandAndFive = "[Main]\r\n";
  for (int i = 0; i < 1005; ++i) thousandAndFive += "SimObjectPaths." + QByteArray::number(i) + "=P\r\n";
  const std::pair<QByteArray, int> cases[] = {
      {"[Main]\r\nSimObjectPaths.0=A\r\nSimObjectPaths.1=B\r\nSimObjectPaths.3=D\r\n", 2},
      {thousandAndFive, 1000},
      {"[MAIN]\r\nsimobjectpaths.0=A\r\nSimObjectPaths.1=   \r\n", 1},  // a blank value is a gap
      {"[Main]\r\nOther=1\r\n", 0},
      {"", 0}};
  for (const auto& [content, count] : cases) {
    TestInstallation inst;
    TestEnv env(inst.installDir);
    env.state.settings.PathFSXConfig = inst.fsxCfg;
    WriteBytes(inst.fsxCfg, content);
    ASSERT_EQ(LoadSimObjectPaths(env.ctx), 0);
    EXPECT_EQ(env.state.simObjectPaths.size(), count) << content.left(60).toStdString();
  }
}

TEST(SimulatorConfig, UnreadableConfigurationIsFatal) {
  TestInstallation inst;
  TestEnv env(inst.installDir);
  env.state.settings.PathFSXConfig = inst.root.path() + "/gone/fsx.cfg";
  EXPECT_EQ(LoadSimObjectPaths(env.ctx), 1);
  EXPECT_EQ(env.dialogs.last().title, "FSX.cfg Read Error");
  EXPECT_EQ(env.dialogs.last().message,
            "Quorvane encountered an error while attempting to read your FSX.cfg file.\r\rQuorvane must now shut "
            "down.\r\rPlease press OK to continue...");
  EXPECT_TRUE(env.shutdown.HasShutDown());
}

#ifndef Q_OS_WIN
// Inside a Wine prefix the simulator's folders are those of the prefix.
TEST(LinuxAppData, WinePrefixFolders) {
  QTemporaryDir root;
  const QString driveC = root.path() + "/prefix/Drive_C";  // the prefix is found whatever the case
  const QString install = driveC + "/Program Files/FSX/Veltrane Software/Quorvane";
  QDir().mkpath(install);
  QDir().mkpath(driveC + "/users/Public");
  QDir().mkpath(driveC + "/users/pilot/AppData/Roaming");
  const QByteArray savedUser = qgetenv("USER");
  qputenv("USER", "nobody-here");
  {
    const auto p = qv::platform::CreatePlatform(install);
    EXPECT_EQ(p.appData->CommonAppData(), driveC + "/ProgramData");
    EXPECT_EQ(p.appData->UserAppData(), driveC + "/users/pilot/AppData/Roaming");
  }
  // The user's own folder first when it exists.
  QDir().mkpath(driveC + "/users/nobody-here/AppData/Roaming");
  {
    const auto p = qv::platform::CreatePlatform(install);
    EXPECT_EQ(p.appData->UserAppData(), driveC + "/users/nobody-here/AppData/Roaming");
  }
  qputenv("USER", savedUser);
}

TEST(LinuxAppData, XdgFoldersOutsideAPrefix) {
  QTemporaryDir root;
  const QByteArray home = qgetenv("XDG_CONFIG_HOME"), dirs = qgetenv("XDG_CONFIG_DIRS");
  qputenv("XDG_CONFIG_HOME", (root.path() + "/home-config").toUtf8());
  qputenv("XDG_CONFIG_DIRS", (root.path() + "/etc1:" + root.path() + "/etc2").toUtf8());
  const auto p = qv::platform::CreatePlatform(root.path() + "/a/b/Quorvane");
  EXPECT_EQ(p.appData->UserAppData(), root.path() + "/home-config");
  EXPECT_EQ(p.appData->CommonAppData(), root.path() + "/etc1");
  qputenv("XDG_CONFIG_HOME", home);
  qputenv("XDG_CONFIG_DIRS", dirs);
}
#endif
