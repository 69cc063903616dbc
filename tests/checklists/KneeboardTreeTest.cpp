#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "KneeboardFixture.h"
#include "core/shell/Startup.h"
#include "data/IniFile.h"
#include "data/Settings.h"

using namespace qv;
using namespace qv::checklists;
using namespace qv::test;

namespace {

bool PageOf(const QString& path, const QString& checklist) {
  return ReadBytes(path).contains(("<title>" + checklist + " Checklist</title>").toLatin1());
}

std::vector<data::ChecklistAssignment> SavedAssignments(const QString& installDir) {
  std::vector<data::ChecklistAssignment> list;
  EXPECT_TRUE(data::ParseAssignments(ReadBytes(data::AssignmentsFilePath(installDir)), list));
  return list;
}

int StoredBackups(const TestInstallation& inst) {
  return data::ReadIniInt("Main", "checklistBackups", inst.settingsPath());
}

struct KneeboardTreeTest : ::testing::Test, KneeboardTree {};

TEST_F(KneeboardTreeTest, UpdateWritesEachSharedPageOnceAndKeepsTheOriginals) {
  int refreshed = 0;
  QObject::connect(&env.state, &shell::AppState::aircraftMarksChanged, [&] { ++refreshed; });
  ASSERT_EQ(UpdateAllChecklists(env.ctx), 0);

  // Blue has no checklist and Red another one: the page carries Green's, the
  // first in catalogue order with a checklist, and all three are flagged.
  EXPECT_TRUE(PageOf(trainerPage, "Trainer Checks"));
  EXPECT_EQ(ReadBytes(aircraft("Alpha_Trainer/trainer_check.qvb")), trainerOriginal);
  EXPECT_TRUE(PageOf(jetPage, "Jet Checks"));
  EXPECT_EQ(ReadBytes(aircraft("Bravo_Jet/jet_check.qvb")), jetOriginal);
  // No page before: one is created, and there is nothing to back up.
  EXPECT_TRUE(PageOf(gliderPage, "Jet Checks"));
  EXPECT_FALSE(QFileInfo::exists(aircraft("Charlie_Glider/glider_check.qvb")));
  EXPECT_EQ(writtenFlags(), (std::vector<int>{1, 1, 1, 1, 1}));

  EXPECT_EQ(env.state.settings.checklistBackups, 1);
  EXPECT_EQ(StoredBackups(inst), 1);
  const auto saved = SavedAssignments(inst.installDir);
  ASSERT_EQ(saved.size(), env.state.assignments.size());
  for (size_t i = 0; i < saved.size(); ++i) EXPECT_EQ(saved[i].written, env.state.assignments[i].written);

  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Checklists Updated");
  EXPECT_EQ(env.dialogs.last().message,
            "All FSX aircraft kneeboard checklists have been updated and the originals have been backed up.\r\r"
            "Please press OK to continue...");
  EXPECT_EQ(env.dialogs.last().icon, 0);
  EXPECT_EQ(env.dialogs.last().tag, QString());
  EXPECT_EQ(refreshed, 1);
  // The script is built once for all pages.
  EXPECT_EQ(env.dialogs.events.count("progress:Creating Grammar Script"), 1);
  EXPECT_EQ(env.dialogs.events.count("progress:Writing Checklist"), 3);
}

TEST_F(KneeboardTreeTest, UpdateSkipsWrittenAircraftAndThoseWithoutChecklist) {
  assignment(kBravo, 0, 0).written = 1;  // its checklist may have changed since: still skipped
  assignment(kAlpha, 0, kGreen).checklistName = base::Fixed("", data::kAssignmentNameWidth);
  assignment(kAlpha, 0, kRed).checklistName = base::Fixed("", data::kAssignmentNameWidth);
  ASSERT_EQ(UpdateAllChecklists(env.ctx), 0);
  EXPECT_EQ(ReadBytes(jetPage), jetOriginal);
  EXPECT_EQ(ReadBytes(trainerPage), trainerOriginal);
  EXPECT_FALSE(QFileInfo::exists(aircraft("Bravo_Jet/jet_check.qvb")));
  EXPECT_EQ(writtenFlags(), (std::vector<int>{0, 0, 0, 1, 1}));
}

TEST_F(KneeboardTreeTest, UpdateThatWritesNothingStoresZero) {
  for (auto& a : env.state.assignments) a.checklistName = base::Fixed("", data::kAssignmentNameWidth);
  env.state.settings.checklistBackups = -1;
  ASSERT_EQ(UpdateAllChecklists(env.ctx), 0);
  EXPECT_EQ(StoredBackups(inst), 0);
  EXPECT_EQ(env.state.settings.checklistBackups, 0);
}

TEST_F(KneeboardTreeTest, WritingTwiceKeepsTheFirstBackupAndTheCachedScript) {
  ASSERT_EQ(WriteAircraftChecklist(env.ctx, kBravo, 0, 0), 0);
  // Phrases edited after the script was built show only in the next run.
  env.state.commands[0].grammars[0] = base::Fixed("landing lights bright", data::kGrammarWidth);
  assignment(kBravo, 0, 0).checklistName = base::Fixed("Trainer Checks", data::kAssignmentNameWidth);
  ASSERT_EQ(WriteAircraftChecklist(env.ctx, kBravo, 0, 0), 0);
  EXPECT_TRUE(PageOf(jetPage, "Trainer Checks"));
  EXPECT_FALSE(ReadBytes(jetPage).contains("Landing lights bright"));
  EXPECT_EQ(ReadBytes(aircraft("Bravo_Jet/jet_check.qvb")), jetOriginal);
  EXPECT_TRUE(env.dialogs.messages.empty());  // single writes say nothing when they succeed
}

TEST_F(KneeboardTreeTest, WriteRestoreWriteBacksUpThePageOfTheTime) {
  ASSERT_EQ(WriteAircraftChecklist(env.ctx, kBravo, 0, 0), 0);
  SetWrittenForSharedPage(env.state, kBravo, 0, 0, 1);
  ASSERT_EQ(RestoreAircraftChecklist(env.ctx, kBravo, 0, 0), 0);
  EXPECT_EQ(StoredBackups(inst), 0);  // what it is once the caller has cleared the flag
  SetWrittenForSharedPage(env.state, kBravo, 0, 0, 0);
  EXPECT_EQ(ReadBytes(jetPage), jetOriginal);
  EXPECT_FALSE(QFileInfo::exists(aircraft("Bravo_Jet/jet_check.qvb")));

  ASSERT_EQ(WriteAircraftChecklist(env.ctx, kBravo, 0, 0), 0);
  EXPECT_EQ(StoredBackups(inst), 1);
  EXPECT_EQ(ReadBytes(aircraft("Bravo_Jet/jet_check.qvb")), jetOriginal);

  // A page the simulator got in between is what the next backup holds.
  ASSERT_EQ(RestoreAircraftChecklist(env.ctx, kBravo, 0, 0), 0);
  WriteBytes(jetPage, "updated page");
  ASSERT_EQ(WriteAircraftChecklist(env.ctx, kBravo, 0, 0), 0);
  EXPECT_EQ(ReadBytes(aircraft("Bravo_Jet/jet_check.qvb")), QByteArray("updated page"));
}

TEST_F(KneeboardTreeTest, RestoreAllPutsEveryPageBackAndEnds) {
  ASSERT_EQ(UpdateAllChecklists(env.ctx), 0);
  env.dialogs.messages.clear();
  env.dialogs.progress.clear();
  ASSERT_EQ(RestoreAllChecklists(env.ctx), 0);

  EXPECT_EQ(ReadBytes(trainerPage), trainerOriginal);
  EXPECT_EQ(ReadBytes(jetPage), jetOriginal);
  EXPECT_TRUE(PageOf(gliderPage, "Jet Checks"));
  EXPECT_TRUE(QDir(aircraft("Alpha_Trainer")).entryList({"*.qvb"}).isEmpty());
  EXPECT_TRUE(QDir(aircraft("Bravo_Jet")).entryList({"*.qvb"}).isEmpty());
  EXPECT_EQ(writtenFlags(), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(StoredBackups(inst), 0);
  for (const auto& a : SavedAssignments(inst.installDir)) EXPECT_EQ(a.written, 0);

  const QString message = "Restoring all FSX aircraft checklists to their original state.\r\rPlease standby...";
  ASSERT_EQ(env.dialogs.progress.size(), 3u);  // one step per manufacturer
  EXPECT_EQ(env.dialogs.progress[0], std::make_pair(message, 0.0));
  EXPECT_DOUBLE_EQ(env.dialogs.progress[2].second, 200.0 / 3);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Checklists Restored");
  EXPECT_EQ(env.dialogs.last().message,
            "All FSX aircraft kneeboard checklists have been restored to their original state.\r\r"
            "Please press OK to continue...");
  EXPECT_FALSE(env.dialogs.progressVisible);
  EXPECT_EQ(env.exit.calls, 1);
}

// --- failures: the page the simulator had is never lost --------------------------------

TEST_F(KneeboardTreeTest, BackupThatCannotBeTakenLeavesThePageAlone) {
  QDir().mkpath(aircraft("Bravo_Jet/jet_check.qvb"));  // something in the way
  EXPECT_EQ(WriteAircraftChecklist(env.ctx, kBravo, 0, 0), 1);
  EXPECT_EQ(ReadBytes(jetPage), jetOriginal);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Quorvane Error");
  EXPECT_TRUE(env.dialogs.last().message.contains("Bravo Jet Standard could not be written"));
  EXPECT_TRUE(env.dialogs.last().message.contains("jet_check.qvb"));
}

TEST_F(KneeboardTreeTest, MissingChecklistFileLeavesTheFolderAsItWas) {
  assignment(kBravo, 0, 0).checklistName = base::Fixed("Gone", data::kAssignmentNameWidth);
  EXPECT_EQ(WriteAircraftChecklist(env.ctx, kBravo, 0, 0), 1);
  EXPECT_EQ(ReadBytes(jetPage), jetOriginal);
  EXPECT_FALSE(QFileInfo::exists(aircraft("Bravo_Jet/jet_check.qvb")));
  EXPECT_TRUE(env.dialogs.last().message.contains("its checklist could not be read"));
  EXPECT_TRUE(env.dialogs.last().message.contains("Gone.dat: "));
  EXPECT_EQ(StoredBackups(inst), 0);
}

TEST_F(KneeboardTreeTest, UpdateReportsFailuresTogetherAndFlagsOnlyWhatWasWritten) {
  QDir().mkpath(aircraft("Bravo_Jet/jet_check.qvb"));
  EXPECT_EQ(UpdateAllChecklists(env.ctx), 1);
  EXPECT_EQ(ReadBytes(jetPage), jetOriginal);
  EXPECT_EQ(writtenFlags(), (std::vector<int>{1, 1, 1, 0, 1}));
  // The failure is told, and the sentence of success is not.
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.messages[0].title, "Quorvane Error");
  EXPECT_TRUE(env.dialogs.messages[0].message.contains("Bravo Jet Standard: its backup"));
}

TEST_F(KneeboardTreeTest, RestoreThatFailsKeepsTheBackupAndTheFlag) {
  ASSERT_EQ(UpdateAllChecklists(env.ctx), 0);
  ASSERT_TRUE(QFile::remove(jetPage));
  QDir().mkpath(jetPage);  // something in the way of the page
  env.dialogs.messages.clear();
  EXPECT_EQ(RestoreAllChecklists(env.ctx), 1);
  EXPECT_EQ(ReadBytes(aircraft("Bravo_Jet/jet_check.qvb")), jetOriginal);
  EXPECT_EQ(writtenFlags(), (std::vector<int>{0, 0, 0, 1, 0}));
  EXPECT_EQ(StoredBackups(inst), 1);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_TRUE(env.dialogs.messages[0].message.contains("could not be restored"));
  EXPECT_EQ(env.exit.calls, 1);
}

// --- start-up and the command-line tool ------------------------------------------------

// Leaves the tree as a previous run left it: every page written, the flags saved.
void SaveUpdatedInstallation(KneeboardTree& tree) {
  ASSERT_EQ(UpdateAllChecklists(tree.env.ctx), 0);
  tree.SaveDataFiles();
}

TEST(KneeboardRestoreModeTest, RestoreSwitchPutsEveryPageBackAndEnds) {
  KneeboardTree previous;
  SaveUpdatedInstallation(previous);
  const TestInstallation& inst = previous.inst;
  for (const char* f : {"Data/CommandList.dat", "Data/ILS_Info.txt", "Data/Nav_Info.txt"})
    QFile::remove(inst.installDir + "/" + f);

  TestEnv env(inst.installDir);
  shell::StartupSteps steps = shell::DefaultStartupSteps(env.ctx);
  EXPECT_FALSE(shell::RunStartup(env.ctx, env.speech, "/restore", steps));
  EXPECT_EQ(ReadBytes(previous.trainerPage), previous.trainerOriginal);
  EXPECT_EQ(ReadBytes(previous.jetPage), previous.jetOriginal);
  EXPECT_TRUE(QDir(previous.aircraft("Alpha_Trainer")).entryList({"*.qvb"}).isEmpty());
  for (const auto& a : SavedAssignments(inst.installDir)) EXPECT_EQ(a.written, 0);
  // the restore mode reads no command or navaid file: no loader complained
  EXPECT_EQ(env.dialogs.titles(), QStringList{"Checklists Restored"});
  EXPECT_EQ(env.exit.calls, 1);
}

TEST(KneeboardFirstUseTest, PromptOkUpdatesEveryPage) {
  KneeboardTree tree;
  tree.SaveDataFiles();
  ASSERT_EQ(StoredBackups(tree.inst), -1);

  TestEnv env(tree.inst.installDir);
  shell::StartupSteps steps = shell::DefaultStartupSteps(env.ctx);
  steps.loadIls = steps.loadNavaids = [] { return 0; };
  steps.launchDecision = [] {};
  env.dialogs.OnTag("checklist_backup", [&] { RunChecklistBackup(env.ctx); });
  EXPECT_TRUE(shell::RunStartup(env.ctx, env.speech, "", steps));
  EXPECT_EQ(env.dialogs.titles(), (QStringList{"Update FSX Checklists", "Checklists Updated"}));
  EXPECT_TRUE(PageOf(tree.trainerPage, "Trainer Checks"));
  EXPECT_EQ(StoredBackups(tree.inst), 1);
  for (const auto& a : SavedAssignments(tree.inst.installDir)) EXPECT_EQ(a.written, 1);
}

TEST(KneeboardCliTest, UpdateThenRestore) {
  KneeboardTree tree;
  tree.SaveDataFiles();

  CliResult r = RunCli({"kneeboards", "update", tree.inst.installDir});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("Checklists Updated"));
  EXPECT_TRUE(PageOf(tree.trainerPage, "Trainer Checks"));
  EXPECT_EQ(ReadBytes(tree.aircraft("Bravo_Jet/jet_check.qvb")), tree.jetOriginal);
  EXPECT_EQ(StoredBackups(tree.inst), 1);
  for (const auto& a : SavedAssignments(tree.inst.installDir))
    EXPECT_EQ(a.written, 1) << a.aircraftTitle.trimmed().toStdString();

  r = RunCli({"kneeboards", "restore", tree.inst.installDir});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("Checklists Restored"));
  EXPECT_EQ(ReadBytes(tree.trainerPage), tree.trainerOriginal);
  EXPECT_EQ(StoredBackups(tree.inst), 0);

  EXPECT_EQ(RunCli({"kneeboards", "sideways", tree.inst.installDir}).exitCode, 2);
}

}  // namespace
