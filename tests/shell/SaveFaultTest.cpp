// Every save of the program, broken on purpose: at each write, sync, close
// and rename it makes in turn, and by the file states users meet (read-only
// and immutable files, a folder that takes no new file, a full disk). After
// each failure every file is as it was or as the save would have left it,
// never short; no temporary is left; the save says so, naming the file and
// the reason; and its status is a failure.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <functional>

#include "FaultSupport.h"
#include "base/FileIo.h"
#include "base/FixedText.h"
#include "checklists/KneeboardFixture.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/data/ChecklistStore.h"
#include "core/data/CommandListStore.h"
#include "core/data/SettingsStore.h"
#include "core/grammar/GrammarScript.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/TestGrammar.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "speech/GrammarCompiler.h"

using namespace qv;
using test::SampleInstallation;
using test::Snapshot;
using test::TestEnv;

namespace {

const QString kInstall = QStringLiteral("FSX/Veltrane Software/Quorvane/");

struct SaveCase {
  const char* name;
  QString target;  // a file the save replaces, relative to the root
  // Brings a freshly laid out installation to where the save starts from.
  std::function<void(TestEnv&)> before;
  // Runs the save; `error` takes what a save returns instead of showing it.
  std::function<int(TestEnv&, QString& error)> save;
};

int Status(bool ok) { return ok ? 0 : 1; }

std::vector<SaveCase> Saves() {
  using data::ChecklistAssignment;
  return {
      {"CommandList", kInstall + "Data/CommandList.dat",
       [](TestEnv& env) { test::WriteBytes(env.state.installDir + "/Data/CommandList.bak", "older list"); },
       [](TestEnv& env, QString&) {
         env.state.commands.push_back(test::Command("Gear", "Gear Up", {"gear up"}));
         return data::SaveCommandList(env.state, env.dialogs);
       }},
      {"Assignments", kInstall + "Data/Checklist_Assignments.dat",
       [](TestEnv& env) { test::WriteBytes(env.state.installDir + "/Data/Checklist_Assignments.bak", "older"); },
       [](TestEnv& env, QString&) {
         env.state.assignments[0].checklistName = base::Fixed("Jet Checks", data::kAssignmentNameWidth);
         return data::SaveAssignments(env.state, env.dialogs);
       }},
      {"Checklist", kInstall + "Checklists/Trainer Checks.dat", nullptr,
       [](TestEnv& env, QString& error) {
         if (data::LoadChecklistFile(env.state, "Trainer Checks.dat") != 0) return 2;
         env.state.openChecklist.sections[3].push_back(test::Item("Magnetos", "checked"));
         return data::SaveChecklistFile(env.state, &error);
       }},
      {"Settings", kInstall + "QV_Information.cfg", nullptr,
       [](TestEnv& env, QString&) {
         env.state.settings.micSwitch = "shift+q";
         return data::SaveMicrophone(env.state, env.dialogs);
       }},
      {"Grammars", kInstall + "Grammars/Lights.bnf",
       [](TestEnv& env) { ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0); },
       [](TestEnv& env, QString&) {
         env.state.commands[0].grammars << base::Fixed("lights please", data::kGrammarWidth);
         return static_cast<int>(grammar::WriteAllGrammars(env.ctx));
       }},
      {"TestGrammar", kInstall + "Grammars/Test/Test.bnf",
       [](TestEnv& env) { ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 0), 0); },
       [](TestEnv& env, QString&) { return static_cast<int>(grammar::WriteTestGrammar(env.ctx, 2, 1)); }},
      {"Script", kInstall + "QuorvaneScript.rtf",
       [](TestEnv& env) { test::WriteBytes(grammar::GrammarScriptPath(env.state.installDir), "{\\rtf1 older}"); },
       [](TestEnv& env, QString& error) {
         QString document;
         if (!grammar::BuildGrammarScript(env.ctx, document)) return 2;
         return Status(grammar::SaveGrammarScript(document, grammar::GrammarScriptPath(env.state.installDir), &error));
       }},
      {"CompiledGrammars", kInstall + "Grammars/Compiled/Lights.fsg",
       [](TestEnv& env) {
         const QString compiled = env.state.installDir + "/Grammars/Compiled/";
         for (const char* f : {"Lights.fsg", "Radios.fsg", "Quorvane.dict"}) test::WriteBytes(compiled + f, "older");
       },
       [](TestEnv& env, QString& error) {
         speech::CompileResult result;
         result.filesRead = 2;
         speech::WordGraph graph;
         const int from = graph.AddState(), to = graph.AddState();
         graph.SetStart(from);
         graph.SetFinal(to);
         graph.AddArc(from, 0, to);
         result.words = {"awn"};
         result.grammars = {{"Lights.bnf", "Lights", graph}, {"Gear.bnf", "Gear", graph}};
         result.phones.insert("awn", {"AO N"});
         return Status(speech::WriteCompileOutput(env.state.installDir + "/Grammars", result, true, &error));
       }},
      {"KneeboardUpdate", "FSX/SimObjects/Airplanes/Alpha_Trainer/Trainer_check.htm", nullptr,
       [](TestEnv& env, QString&) { return checklists::UpdateAllChecklists(env.ctx); }},
      {"KneeboardRestore", "FSX/SimObjects/Airplanes/Alpha_Trainer/Trainer_check.htm",
       [](TestEnv& env) { ASSERT_EQ(checklists::UpdateAllChecklists(env.ctx), 0); },
       [](TestEnv& env, QString&) { return checklists::RestoreAllChecklists(env.ctx); }},
  };
}

// Broken saves, one at a time: a step of the writer made to fail, or a state
// of the target that users meet.
enum class Break { Steps, ReadOnlyFile, ImmutableFile, ImmutableFolder, FullDisk };

struct Scenario {
  SaveCase save;
  Break how;
};

std::string Name(const testing::TestParamInfo<Scenario>& info) {
  static const char* const kNames[] = {"EveryStep", "ReadOnlyFile", "ImmutableFile", "ImmutableFolder", "FullDisk"};
  return std::string(info.param.save.name) + "_" + kNames[static_cast<int>(info.param.how)];
}

class SaveFault : public testing::TestWithParam<Scenario> {
 protected:
  // Lays out the installation below `parent`, brings it to the save's start
  // and records the files before and (on a copy of the run) after the save.
  void Prepare(const QString& parent = QString()) {
    sample = std::make_unique<SampleInstallation>(parent);
    root = sample->inst.root.path();
    pristine = test::TakeSnapshot(root);
    if (const auto& before = GetParam().save.before) {
      auto env = sample->Load();
      before(*env);
    }
    previous = test::TakeSnapshot(root);
    auto env = sample->Load();
    QString error;
    ASSERT_EQ(GetParam().save.save(*env, error), 0) << qPrintable(env->dialogs.titles().join(", ") + error);
    saved = test::TakeSnapshot(root);
    ASSERT_NE(saved.value(GetParam().save.target), previous.value(GetParam().save.target));
    test::RestoreSnapshot(root, previous);
  }

  // Runs the save on the installation as it was and checks what it left:
  // the target untouched, and once `mend` has removed the cause, recovery.
  void RunBroken(const QString& what, const std::function<void()>& mend) {
    auto env = sample->Load();
    QString error;
    const int status = GetParam().save.save(*env, error);
    Check(status, error, *env, what);
    const QString target = GetParam().save.target;
    EXPECT_EQ(test::ReadBytes(root + "/" + target), previous.value(target));
    mend();
    CheckRecovery();
  }

  void Check(int status, const QString& error, const TestEnv& env, const QString& what) {
    SCOPED_TRACE(what.toStdString());
    EXPECT_NE(status, 0);
    const Snapshot now = test::TakeSnapshot(root);
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
      if (it.key() == "filler") continue;
      const bool asBefore = previous.contains(it.key()) && previous.value(it.key()) == it.value();
      const bool asSaved = saved.contains(it.key()) && saved.value(it.key()) == it.value();
      EXPECT_TRUE(asBefore || asSaved || Whole(it.key(), it.value()))
          << qPrintable(it.key()) << " is neither its old nor its new self";
    }
    for (const QString& file : previous.keys())
      EXPECT_TRUE(now.contains(file) || !saved.contains(file)) << qPrintable(file) << " is gone";
    EXPECT_EQ(test::LeftoverTemporaries(root), QStringList());
    // The user is told which file (kneeboard files from the simulator's
    // folder on) and why.
    QStringList told{error};
    for (const auto& m : env.dialogs.messages) told << m.message;
    const QString text = told.join("\n");
    EXPECT_TRUE((text.contains(QDir::toNativeSeparators(root) + "/") || text.contains("SimObjects/Airplanes/")) &&
                text.contains(": "))
        << qPrintable(text);
    EXPECT_FALSE(text.contains("Unknown error", Qt::CaseInsensitive));
    // No sentence of success beside the failure.
    for (const auto& m : env.dialogs.messages)
      EXPECT_FALSE(m.title.endsWith("Updated") || m.title.endsWith("Restored"));
  }

  // Whatever the failure left, once its cause is gone the next run puts every
  // page the simulator had back.
  void CheckRecovery() {
    auto next = sample->Load();
    checklists::RestoreAllChecklists(next->ctx);
    const Snapshot after = test::TakeSnapshot(root);
    for (auto it = pristine.cbegin(); it != pristine.cend(); ++it) {
      if (it.key().endsWith(".htm")) {
        EXPECT_EQ(after.value(it.key()), it.value()) << qPrintable(it.key());
      }
    }
    for (const QString& file : after.keys()) EXPECT_FALSE(file.endsWith(".qvb")) << qPrintable(file);
  }

  // Files that several steps decide (a page shared by aircraft, the flags and
  // the settings that follow what was written) may differ from a run without
  // failures, but must be whole; a backup must hold a page as it was.
  bool Whole(const QString& file, const QByteArray& bytes) const {
    if (file.endsWith(".htm")) return bytes.startsWith("<html>") && bytes.endsWith("</html>\r\n");
    if (file.endsWith(".qvb")) return pristine.values().contains(bytes);
    if (file.endsWith("Checklist_Assignments.dat") || file.endsWith("Checklist_Assignments.bak")) {
      std::vector<data::ChecklistAssignment> list;
      return data::ParseAssignments(bytes, list);
    }
    if (file.endsWith(data::kSettingsFileName))
      return data::IniFile::FromBytes(bytes).value("Main", "numLists") == "13";
    return false;
  }

  std::unique_ptr<SampleInstallation> sample;
  QString root;
  Snapshot pristine, previous, saved;
};

TEST_P(SaveFault, LeavesEveryFileWholeAndSaysWhy) {
  const QString target = GetParam().save.target;
  switch (GetParam().how) {
    case Break::Steps: {
      // Syncs cost nothing on a memory disk, where there is one.
      test::SmallDisk disk(64 * 1024);
      Prepare(disk.mounted() ? disk.path() : QString());
      // Each step in turn, at each of its occurrences, until the save no
      // longer meets the fault.
      using F = base::ScopedFileFault;
      for (const F::Step step : {F::Create, F::Write, F::Sync, F::Close, F::Rename}) {
        for (int n = 1;; ++n) {
          test::RestoreSnapshot(root, previous);
          auto env = sample->Load();
          QString error;
          int status = 0;
          {
            F fault(step, n, step == F::Sync || step == F::Close ? F::IoError : F::NoSpace);
            status = GetParam().save.save(*env, error);
            if (!fault.hit()) break;
          }
          Check(status, error, *env, QString("step %1, occurrence %2").arg(step).arg(n));
          CheckRecovery();
          if (HasFailure()) return;
        }
      }
      return;
    }
    case Break::ReadOnlyFile:
      Prepare();
      QFile::setPermissions(root + "/" + target, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
      RunBroken("read-only file",
                [&] { QFile::setPermissions(root + "/" + target, QFileDevice::ReadOwner | QFileDevice::WriteOwner); });
      return;
    case Break::ImmutableFile:
    case Break::ImmutableFolder: {
      Prepare();
      const bool folder = GetParam().how == Break::ImmutableFolder;
      const QString path = folder ? QFileInfo(root + "/" + target).absolutePath() : root + "/" + target;
      if (!test::SetImmutable(path, true)) GTEST_SKIP() << "the immutable attribute needs root";
      RunBroken(folder ? "folder that takes no new file" : "immutable file", [&] { test::SetImmutable(path, false); });
      return;
    }
    case Break::FullDisk: {
      test::SmallDisk disk(4096);
      if (!disk.mounted()) GTEST_SKIP() << "mounting a small disk needs root";
      Prepare(disk.path());
      if (HasFatalFailure()) return;
      disk.Fill();
      RunBroken("full disk", [&] { QFile::remove(disk.path() + "/filler"); });
      return;
    }
  }
}

std::vector<Scenario> Scenarios() {
  std::vector<Scenario> all;
  for (const SaveCase& s : Saves())
    for (Break how : {Break::Steps, Break::ReadOnlyFile, Break::ImmutableFile, Break::ImmutableFolder, Break::FullDisk})
      all.push_back({s, how});
  return all;
}

INSTANTIATE_TEST_SUITE_P(Saves, SaveFault, testing::ValuesIn(Scenarios()), Name);

}  // namespace
