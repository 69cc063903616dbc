// Kneeboard pages are named by each aircraft's own configuration, which any
// add-on may write: whatever it says, nothing is written outside the
// aircraft's folder, the aircraft is refused by name and the others go on.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "FaultSupport.h"
#include "checklists/KneeboardFixture.h"
#include "base/FileIo.h"
#include "core/checklists/AssignmentEditor.h"
#include "core/checklists/KneeboardChecklist.h"
#include "data/ChecklistFiles.h"

using namespace qv;
using test::Snapshot;

namespace {

// Adds the aircraft "Delta Hostile" (assigned "Jet Checks") whose page is
// named by `kbValue`, and lets `arrange` put things in its folder.
struct Hostile {
  const char* name;
  const char* kbValue;
  std::function<void(const QString& folder, const QString& outside)> arrange;
};

class HostilePage : public testing::TestWithParam<Hostile> {};

TEST_P(HostilePage, IsRefusedByNameAndTheRestGoesOn) {
  test::SampleInstallation sample;
  const QString folder = sample.aircraft("Delta_Hostile");
  const QString outside = sample.inst.root.path() + "/Outside";
  QDir().mkpath(outside);
  test::WriteBytes(outside + "/victim.htm", "not the simulator's");
  test::WriteBytes(folder + "/delta.air", "AIR");
  test::WriteBytes(folder + "/aircraft.cfg",
                   QByteArray("[fltsim.0]\r\ntitle=Delta Hostile\r\nsim=delta\r\n"
                              "kb_checklists=") +
                       QByteArray(GetParam().kbValue).replace("OUTSIDE", outside.toUtf8()) +
                       "\r\nui_manufacturer=Delta\r\nui_type=Hostile\r\nui_variation=One\r\n");
  if (GetParam().arrange) GetParam().arrange(folder, outside);
  auto env = sample.Load();
  for (auto& a : env->state.assignments)
    if (a.aircraftTitle.trimmed() == "Delta Hostile")
      a.checklistName = base::Fixed("Jet Checks", data::kAssignmentNameWidth);
  const Snapshot outsideBefore = test::TakeSnapshot(outside);
  const Snapshot helpBefore = test::TakeSnapshot(sample.inst.installDir + "/Help");

  EXPECT_EQ(checklists::UpdateAllChecklists(env->ctx), 1);  // finishes: a pipe does not hold it up
  ASSERT_FALSE(env->dialogs.messages.empty());
  EXPECT_TRUE(env->dialogs.messages[0].message.contains("Delta Hostile: its "))
      << qPrintable(env->dialogs.last().message);
  EXPECT_EQ(test::TakeSnapshot(outside), outsideBefore);
  EXPECT_EQ(test::TakeSnapshot(sample.inst.installDir + "/Help"), helpBefore);
  EXPECT_FALSE(QFileInfo::exists(outside + "/stolen.qvb"));
  // The other aircraft got their pages.
  EXPECT_TRUE(test::ReadBytes(sample.aircraft("Bravo_Jet/Jet_Check.htm")).contains("Jet Checks Checklist"));
  EXPECT_TRUE(QFileInfo(sample.aircraft("Bravo_Jet/jet_check.qvb")).isFile());
}

INSTANTIATE_TEST_SUITE_P(Pages, HostilePage,
                         testing::Values(Hostile{"ParentFolders",
                                                 "..\\..\\..\\Veltrane Software\\Quorvane\\Help\\index", nullptr},
                                         Hostile{"AbsolutePath", "OUTSIDE/victim", nullptr},
                                         Hostile{"LinkedPage", "page",
                                                 [](const QString& folder, const QString& outside) {
                                                   QFile::link(outside + "/victim.htm", folder + "/page.htm");
                                                 }},
                                         Hostile{"DanglingBackupLink", "page",
                                                 [](const QString& folder, const QString& outside) {
                                                   test::WriteBytes(folder + "/page.htm", "the simulator's page");
                                                   QFile::link(outside + "/stolen.qvb", folder + "/page.qvb");
                                                 }},
                                         Hostile{"PipeForPage", "page",
                                                 [](const QString& folder, const QString&) {
                                                   mkfifo(QFile::encodeName(folder + "/page.htm").constData(), 0644);
                                                 }}),
                         [](const testing::TestParamInfo<Hostile>& i) { return std::string(i.param.name); });

// Two aircraft folders that differ only in letter case, as a Linux disk or a
// Wine prefix allows: each page is backed up and put back in its own folder.
TEST(KneeboardCaseTwins, EachPageKeepsItsOwnBackup) {
  test::SampleInstallation sample;
  for (const QString& twin : {QStringLiteral("Twin"), QStringLiteral("TWIN")}) {
    const QString folder = sample.aircraft(twin);
    test::WriteBytes(folder + "/twin.air", "AIR");
    const QString kind = twin == u"Twin" ? "Lower" : "Upper";
    test::WriteBytes(folder + "/aircraft.cfg", ("[fltsim.0]\r\ntitle=Twin " + kind +
                                                "\r\nsim=twin\r\n"
                                                "kb_checklists=Twin_Check\r\nui_manufacturer=Twin\r\nui_type=" +
                                                kind + "\r\nui_variation=One\r\n")
                                                   .toUtf8());
    test::WriteBytes(folder + "/Twin_Check.htm", "original page of " + twin.toUtf8());
  }
  auto env = sample.Load();
  for (auto& a : env->state.assignments)
    if (a.aircraftTitle.trimmed().startsWith("Twin "))
      a.checklistName = base::Fixed("Trainer Checks", data::kAssignmentNameWidth);
  ASSERT_EQ(checklists::UpdateAllChecklists(env->ctx), 0);
  for (const QString& twin : {QStringLiteral("Twin"), QStringLiteral("TWIN")}) {
    EXPECT_EQ(test::ReadBytes(sample.aircraft(twin + "/twin_check.qvb")), "original page of " + twin.toUtf8());
    EXPECT_TRUE(test::ReadBytes(sample.aircraft(twin + "/Twin_Check.htm")).contains("Trainer Checks"));
  }
  checklists::RestoreAllChecklists(env->ctx);
  for (const QString& twin : {QStringLiteral("Twin"), QStringLiteral("TWIN")}) {
    EXPECT_EQ(test::ReadBytes(sample.aircraft(twin + "/Twin_Check.htm")), "original page of " + twin.toUtf8());
    EXPECT_FALSE(QFileInfo::exists(sample.aircraft(twin + "/twin_check.qvb")));
  }
}

// A checklist name from the assignments file names a file in Checklists/
// and nothing else.
TEST(KneeboardChecklistName, LeadingOutOfTheChecklistsFolderIsRefused) {
  test::SampleInstallation sample;
  test::WriteBytes(sample.inst.installDir + "/Data/Secret.dat",
                   test::ReadBytes(sample.inst.installDir + "/Checklists/Jet Checks.dat"));
  auto env = sample.Load();
  env->state.assignments[2].checklistName = base::Fixed("../Data/Secret", data::kAssignmentNameWidth);
  EXPECT_EQ(checklists::UpdateAllChecklists(env->ctx), 1);
  EXPECT_TRUE(env->dialogs.messages[0].message.contains("Bravo Jet Standard: its checklist could not be read"));
  EXPECT_TRUE(env->dialogs.messages[0].message.contains("does not name a file in the Checklists folder"));
  EXPECT_EQ(test::ReadBytes(sample.aircraft("Bravo_Jet/Jet_Check.htm")),
            test::ReadBytes(test::FixturesDir() + "/KneeboardTree/SimObjects/Airplanes/Bravo_Jet/Jet_Check.htm"));
}

// "-- Restore Default --" whose restore fails keeps the written flags, so
// that the page can still be put back later.
class RestoreDefaultTest : public testing::Test, public test::KneeboardTree {};

TEST_F(RestoreDefaultTest, FailedRestoreKeepsTheFlags) {
  ASSERT_EQ(checklists::UpdateAllChecklists(env.ctx), 0);
  checklists::AssignmentEditor editor(env.ctx, env.launcher);
  editor.PickAircraft({test::kAlpha, 0, test::kRed});
  editor.PickChecklist(checklists::AssignmentEditor::kRestoreDefault);
  env.dialogs.messages.clear();
  {
    base::ScopedFileFault full(base::ScopedFileFault::Write, 1);
    EXPECT_TRUE(editor.Assign(true));
  }
  EXPECT_EQ(writtenFlags(), (std::vector<int>{1, 1, 1, 1, 1}));
  EXPECT_TRUE(QFileInfo(backupOf(trainerPage)).isFile());
  ASSERT_FALSE(env.dialogs.messages.empty());
  EXPECT_TRUE(env.dialogs.messages[0].message.contains("could not be restored"));
}

}  // namespace
