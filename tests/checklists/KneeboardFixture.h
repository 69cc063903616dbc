#pragma once

// A small command set and checklists in memory, and a copy of the sample
// aircraft tree (tests/fixtures/KneeboardTree) in a temporary installation.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "FixtureTree.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "core/checklists/AircraftScan.h"
#include "core/checklists/KneeboardChecklist.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"

namespace qv::test {

inline data::CommandRecord Command(const QString& category, const QString& name, const QStringList& grammars) {
  data::CommandRecord c;
  c.category = base::Fixed(category, data::kCategoryWidth);
  c.name = base::Fixed(name, data::kNameWidth);
  c.eventName = base::Fixed("EVENT", data::kEventNameWidth);
  c.helpText = base::Fixed("", data::kHelpTextWidth);
  for (const QString& g : grammars) c.grammars << base::Fixed(g, data::kGrammarWidth);
  return c;
}

// Two categories; the "Radios" command sits between the two "Lights" ones.
inline std::vector<data::CommandRecord> SmallCommands() {
  return {Command("Lights", "Landing Lights", {"[turn|switch] landing lights on"}),
          Command(" Radios", "Com One", {"(set) com one <FREQ>"}),
          Command("LIGHTS ", "Taxi Light", {"taxi light on", "set taxi light <NUM_5>"})};
}

inline data::ChecklistItem Item(const QString& challenge, const QString& response) {
  data::ChecklistItem item;
  item.challenge = base::Fixed(challenge, data::kChallengeWidth);
  item.pronunciation = base::Fixed(challenge, data::kPronunciationWidth);
  item.response = base::Fixed(response, data::kResponseWidth);
  item.responses = {{base::Fixed("Ignore", data::kResponseTextWidth), data::kIgnoreFunction},
                    {base::Fixed("Skip", data::kResponseTextWidth), data::kSkipFunction}};
  return item;
}

// Only the "Preflight" and "Landing" sections are filled.
inline data::ChecklistFile TrainerChecklist() {
  data::ChecklistFile c;
  c.name = "Trainer Checks";
  c.sections[0] = {Item("Fuel Quantity", "checked"), Item("Flight Controls", "Free and Correct")};
  c.sections[9] = {Item("Mixture", "rich")};
  return c;
}

inline data::ChecklistFile JetChecklist() {
  data::ChecklistFile c;
  c.name = "Jet Checks";
  c.sections[4] = {Item("Flaps", "set")};
  c.sections[11] = {Item("Parking Brake", "set"), Item("Engines", "cut off")};
  return c;
}

inline void SaveChecklist(const QString& installDir, const data::ChecklistFile& checklist) {
  QByteArray bytes;
  ASSERT_TRUE(data::SerializeChecklist(checklist, bytes));
  WriteBytes(installDir + "/Checklists/" + checklist.name + ".dat", bytes);
}

// The sample tree in a temporary installation: Alpha Trainer (three
// variations sharing "Trainer_check.htm"), Bravo Jet ("Jet_Check.htm") and
// Charlie Glider (no page yet). Catalogue order: Alpha/Trainer/{Blue, Green,
// Red}, Bravo/Jet/Standard, Charlie/Glider/Club.
struct KneeboardTree {
  KneeboardTree() {
    CopyTree(FixturesDir() + "/KneeboardTree", inst.simDir);
    SaveChecklist(inst.installDir, TrainerChecklist());
    SaveChecklist(inst.installDir, JetChecklist());
    Fill(env.ctx);
    trainerPage = aircraft("Alpha_Trainer/Trainer_check.htm");
    jetPage = aircraft("Bravo_Jet/Jet_Check.htm");
    gliderPage = aircraft("Charlie_Glider/glider_check.htm");
    trainerOriginal = ReadBytes(trainerPage);
    jetOriginal = ReadBytes(jetPage);
  }

  // The tables of the tree in the state of `ctx` (the application's, for the
  // screens), which the helpers below then use.
  void Fill(shell::Context& ctx) {
    shell::AppState& s = ctx.state;
    s.commands = SmallCommands();
    s.categories = data::BuildCommandCategories(s.commands);
    s.simObjectPaths = {"SimObjects\\Airplanes"};
    s.assignments = {Assign("Alpha Trainer Green", "Trainer Checks"), Assign("Alpha Trainer Red", "Jet Checks"),
                     Assign("Bravo Jet Standard", "Jet Checks"), Assign("Charlie Glider", "Jet Checks")};
    checklists::ScanSimulatorAircraft(ctx);
    state = &s;
  }

  // The command list and the assignments as files, for a start-up or the CLI.
  void SaveDataFiles() {
    QByteArray commands;
    ASSERT_TRUE(data::SerializeCommandList(state->commands, commands));
    WriteBytes(data::CommandListFilePath(inst.installDir), commands);
    WriteBytes(data::AssignmentsFilePath(inst.installDir), data::SerializeAssignments(state->assignments));
  }

  static data::ChecklistAssignment Assign(const QString& title, const QString& checklist, int16_t written = 0) {
    return {base::Fixed(title, data::kAssignmentTitleWidth), base::Fixed(checklist, data::kAssignmentNameWidth),
            written};
  }

  QString aircraft(const QString& relative) const { return inst.simDir + "/SimObjects/Airplanes/" + relative; }
  static QString backupOf(const QString& page) { return checklists::BackupFileOf(page); }

  data::ChecklistAssignment& assignment(int m, int t, int v) {
    return state->assignments[state->catalogue.manufacturers[m].types[t].variations[v].assignmentIndex];
  }
  std::vector<int> writtenFlags() {
    std::vector<int> flags;
    for (const auto& m : state->catalogue.manufacturers)
      for (const auto& t : m.types)
        for (const auto& v : t.variations) flags.push_back(state->assignments[v.assignmentIndex].written);
    return flags;
  }
  int messagesTitled(const QString& title) const {
    int n = 0;
    for (const auto& m : env.dialogs.messages) n += m.title == title;
    return n;
  }

  TestInstallation inst;
  TestEnv env{inst.installDir};
  shell::AppState* state = &env.state;
  QString trainerPage, jetPage, gliderPage;
  QByteArray trainerOriginal, jetOriginal;
};

// Catalogue indexes of the sample tree.
inline constexpr int kAlpha = 0, kBravo = 1, kCharlie = 2;
inline constexpr int kBlue = 0, kGreen = 1, kRed = 2;

}  // namespace qv::test
