#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "TestEnv.h"

using namespace qv;

using test::RunCli;

TEST(CliSettings, PrintsTheSettingsAsJson) {
  test::TestInstallation install;
  const auto r = RunCli({"settings", install.installDir});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(r.out).object();
  EXPECT_EQ(o["copilotVoice"].toInt(), 1);
  EXPECT_EQ(o["microphone"].toString(), "shift+t");
  EXPECT_EQ(o["checklistBackups"].toInt(), -1);
  EXPECT_EQ(o["PathFSXConfig"].toString(), install.fsxCfg);
  EXPECT_EQ(o["lists"].toArray().size(), o["numLists"].toInt() + 1);
  EXPECT_EQ(o["lists"].toArray()[0].toObject()["ttsExample"].toString(), "two seven zero");
  EXPECT_EQ(o["checklistResponses"].toArray()[1].toObject()["response"].toString(), "set");
}

TEST(CliSettings, AFailedLoadExitsNonZeroWithTheDialogText) {
  QTemporaryDir empty;
  const auto r = RunCli({"settings", empty.path()});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.err.contains("Your QV_Information.cfg file has not been found.")) << r.err.toStdString();
  EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliSettings, HelpListsTheCommands) {
  const auto r = RunCli({"--help"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.contains("settings INSTALL_DIR"));
  EXPECT_NE(RunCli({"no-such-command"}).exitCode, 0);
}
