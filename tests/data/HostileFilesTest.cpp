// Files no real installation holds: far too large, or not files at all.
// They are refused quickly, by name, and nothing is replaced.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <functional>

#include "FaultSupport.h"
#include "AppHarness.h"
#include "core/data/ChecklistStore.h"
#include "core/data/CommandListStore.h"
#include "core/data/NavaidStore.h"
#include "core/data/SettingsStore.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/IniFile.h"
#include "data/JsonFormats.h"
#include "data/NavaidLists.h"
#include "gui/kit/frm_Input.h"
#include "gui/kit/frm_Message.h"

using namespace qv;

namespace {

// A file of `size` bytes that takes no room on the disk.
void Sparse(const QString& path, qint64 size) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));
}

struct Oversized {
  const char* name;
  const char* file;  // relative to the installation
  qint64 limit;
  // Reads the file as the program does; returns everything it reported.
  std::function<QString(test::TestEnv&)> read;
};

class OversizedFile : public testing::TestWithParam<Oversized> {};

TEST_P(OversizedFile, IsRefusedNamingTheFileAndTheLimit) {
  test::SampleInstallation sample;
  auto env = sample.Load();
  const QString path = sample.inst.installDir + "/" + GetParam().file;
  Sparse(path, GetParam().limit + 1);
  const QString told = GetParam().read(*env);
  EXPECT_TRUE(told.contains(QFileInfo(path).fileName() + ": the file is larger than ")) << qPrintable(told);
  EXPECT_EQ(QFileInfo(path).size(), GetParam().limit + 1);
}

QString Messages(const test::TestEnv& env) {
  QStringList all;
  for (const auto& m : env.dialogs.messages) all << m.message;
  return all.join('\n');
}

INSTANTIATE_TEST_SUITE_P(
    Files, OversizedFile,
    testing::Values(
        Oversized{"CommandList", "Data/CommandList.dat", data::kMaxCommandListFileSize,
                  [](test::TestEnv& env) { return data::LoadCommandList(env.ctx) ? Messages(env) : QString(); }},
        Oversized{"Assignments", "Data/Checklist_Assignments.dat", data::kMaxAssignmentsFileSize,
                  [](test::TestEnv& env) { return data::LoadAssignments(env.ctx) ? Messages(env) : QString(); }},
        Oversized{"Checklist", "Checklists/Huge.dat", data::kMaxChecklistFileSize,
                  [](test::TestEnv& env) {
                    QString error;
                    return data::LoadChecklistFile(env.state, "Huge.dat", &error) ? error : QString();
                  }},
        Oversized{"Navaids", "Data/Nav_Info.txt", data::kMaxNavaidFileSize,
                  [](test::TestEnv& env) { return data::LoadNavaidList(env.ctx) ? Messages(env) : QString(); }},
        Oversized{"JsonImport", "Data/CommandList.json", data::kMaxJsonFileSize,
                  [](test::TestEnv& env) {
                    const QString dir = env.state.installDir + "/Data/";
                    const test::CliResult r =
                        test::RunCli({"import", "commands", dir + "CommandList.json", dir + "CommandList.dat"});
                    return r.exitCode == 1 ? QString::fromUtf8(r.err) : QString();
                  }}),
    [](const testing::TestParamInfo<Oversized>& i) { return std::string(i.param.name); });

// A settings file that is there but cannot be read at the time of a save is
// left alone: never replaced by a file that holds the one key being saved.
TEST(SettingsSave, ASettingsFileThatCannotBeReadIsNotReplaced) {
  const std::vector<std::pair<const char*, std::function<void(const QString&)>>> states{
      {"pipe",
       [](const QString& p) {
         QFile::remove(p);
         mkfifo(QFile::encodeName(p).constData(), 0644);
       }},
      {"oversized", [](const QString& p) { Sparse(p, data::kMaxWrittenFileSize + 1); }},
      {"unreadable", [](const QString& p) { QFile::setPermissions(p, QFileDevice::WriteOwner); }}};
  for (const auto& [name, make] : states) {
    SCOPED_TRACE(name);
    test::SampleInstallation sample;
    auto env = sample.Load();
    const QString path = sample.inst.settingsPath();
    make(path);
    if (QString(name) == "unreadable" && test::RunningAsRoot()) continue;  // permissions do not bind root
    const QFileInfo before(path);
    env->state.settings.micSwitch = "shift+q";
    EXPECT_EQ(data::SaveMicrophone(env->state, env->dialogs), 1);
    ASSERT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_TRUE(env->dialogs.last().message.contains("QV_Information.cfg: it could not be read"));
    const QFileInfo after(path);
    EXPECT_EQ(after.isFile(), before.isFile());
    EXPECT_EQ(after.size(), before.size());
  }
}

// The capture's OK tells that the switch was saved only when it was.
TEST(SettingsSave, MicrophoneIsNotSaidSavedWhenTheSaveFailed) {
  test::AppHarness h;
  const QString path = h.install.settingsPath();
  QFile::remove(path);
  ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
  h.ShowFrame();
  h.frame().Enter("frm_Configure");
  ui::frm_Input* in = h.app->dialogs().input();
  h.dialogs->custom = [&](ui::DialogWindow* d) {
    if (d == in) QTest::keyClick(in->input(), Qt::Key_M);
    test::Click(d->findChild<ui::SkinnedButton*>("btn_OK"));
  };
  test::Press(h.frame().screen("frm_Configure"), "btn_MicrophoneSetup");
  EXPECT_EQ(h.dialogs->titles(), (QStringList{"Microphone Switch", "Quorvane Error"}));
}

}  // namespace
