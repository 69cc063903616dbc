#pragma once

// A small command set in memory, and golden-file comparison for the
// generated grammar files and documents.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "TestEnv.h"
#include "base/FixedText.h"
#include "core/shell/AppState.h"
#include "core/shell/Startup.h"
#include "data/DemoData.h"

namespace qv::test {

inline data::CommandRecord Command(const QString& category, const QString& name, const QString& eventName,
                                   int16_t functionNumber, const QStringList& phrases) {
  data::CommandRecord c;
  c.category = base::Fixed(category, data::kCategoryWidth);
  c.name = base::Fixed(name, data::kNameWidth);
  c.eventName = base::Fixed(eventName, data::kEventNameWidth);
  c.helpText = base::Fixed("", data::kHelpTextWidth);
  c.functionNumber = functionNumber;
  for (const QString& p : phrases) c.grammars << base::Fixed(p, data::kGrammarWidth);
  return c;
}

inline void FillSmallCommandSet(shell::AppState& s) {
  s.commands = {
      Command("Lights", "Strobe Lights Toggle", "strobes_toggle", 57,
              {"turn (the) strobes on", "[strobe|strobes] toggle"}),
      Command("Radios", "Tune NAV1 to ILS", "RADIO_NAV1_SELECT_ILS", 210, {"tune nav one to <RWY_APT_ID>"}),
      Command(" radios", "Set Heading Bug", "HEADING_BUG_SET", -12, {"set heading <HDG>", "heading on  bug"}),
      Command("Lights", "Landing Lights On", "LANDING_LIGHTS_ON", 58, {"landing lights ON please", "on approach"}),
      Command("Gear", "Gear Up", "GEAR_UP", 3, {}),
      Command("RADIOS", "Tune NAV2 to VOR", "RADIO_NAV2_SELECT_VOR", 212, {"nav two [to|] <NAV_ID>"}),
  };
  s.categories = {"Lights", "Radios", "Gear"};
  s.settings.compileNavaids = 1;
  s.settings.checklistResponses = {{"Checked", 1}, {" On ", 2}, {"set and checked", 3}};
  s.settings.numChecklistResponse = 2;
  s.navaidList = {{"SEA", "SEATTLE", " VOR:SEA "}, {"X1", "Test Point", "NDB:X1"}, {"pae ", " Paine ", "VOR:PAE"}};
  s.ilsList = {{"KSEA", "16L", "ILS:KSEA:16L", 1101},
               {"KXYZ", "09L", "ILS:KXYZ:09L", -3},
               {"S50", "4", "ILS:S50:04", 7},
               {"KBFI", "13R", "ILS:KBFI:13R", 9}};
}

// The demo's data files and shared list file in a temporary installation.
inline void InstallDemoGrammarData(const TestInstallation& inst) {
  InstallDemoData(inst.installDir);
  WriteBytes(inst.installDir + "/Data/Generic Lists.bnf",
             ReadBytes(DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
}

// Loads what the grammar writers read, with the start-up loaders.
inline void LoadCommandTables(TestEnv& env) {
  shell::StartupSteps steps = shell::DefaultStartupSteps(env.ctx);
  for (const auto* loader :
       {&steps.loadSettings, &steps.loadCommandList, &steps.loadIls, &steps.loadNavaids, &steps.buildCategories})
    ASSERT_EQ((*loader)(), 0);
}

// Compares `bytes` with tests/fixtures/golden/<name>. With QV_UPDATE_GOLDEN=1
// in the environment the golden file is (re)written instead.
inline void ExpectGolden(const QByteArray& bytes, const QString& name) {
  const QString path = FixturesDir() + "/golden/" + name;
  if (qEnvironmentVariableIntValue("QV_UPDATE_GOLDEN") == 1) {
    WriteBytes(path, bytes);
    return;
  }
  ASSERT_TRUE(QFileInfo::exists(path)) << "missing golden file " << path.toStdString();
  EXPECT_TRUE(ReadBytes(path) == bytes) << "differs from golden file " << name.toStdString();
}

}  // namespace qv::test
