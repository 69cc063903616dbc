// The editor of a command's phrases and readbacks, and the save and compile
// steps of the configuration screen, without widgets.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "core/data/CommandListStore.h"
#include "core/grammar/CommandTextEditor.h"
#include "core/grammar/CompileCommands.h"
#include "data/CommandList.h"

using namespace qv;
using grammar::CommandText;
using grammar::CommandTextEditor;
using Action = CommandTextEditor::Action;

namespace {

class CommandTextTest : public testing::TestWithParam<CommandText> {
 protected:
  CommandTextTest() : env(install.installDir), editor(env.ctx, GetParam()) {
    test::FillSmallCommandSet(env.state);
    env.state.commands[2].readbacks = {base::Fixed("Heading set", data::kReadbackWidth),
                                       base::Fixed("Bug set", data::kReadbackWidth)};
    env.state.commands[1].readbacks = {base::Fixed("Tuning", data::kReadbackWidth)};
  }
  bool phrases() const { return GetParam() == CommandText::Phrases; }
  QStringList& List(int command) {
    return phrases() ? env.state.commands[command].grammars : env.state.commands[command].readbacks;
  }
  QStringList Trimmed(int command) {
    QStringList out;
    for (const QString& s : List(command)) out << s.trimmed();
    return out;
  }

  test::TestInstallation install;
  test::TestEnv env;
  CommandTextEditor editor;
};

}  // namespace

TEST_P(CommandTextTest, AddEditDeleteAskWithTheirTagsAndChangeTheList) {
  const QString noun = phrases() ? "Grammar" : "Readback";
  editor.AskAdd(2);
  ASSERT_EQ(env.dialogs.inputs.size(), 1u);
  EXPECT_EQ(env.dialogs.inputs[0].title, "Add New " + noun);
  EXPECT_EQ(env.dialogs.inputs[0].prompt, "Enter " + noun + ":");
  EXPECT_EQ(env.dialogs.inputs[0].message, "\rEnter a new " + noun.toLower() + " for the command: Set Heading Bug");
  EXPECT_EQ(env.dialogs.inputs[0].tag, editor.tagOf(Action::Add));
  EXPECT_EQ(editor.tagOf(Action::Edit), "edit_" + noun.toLower());

  EXPECT_EQ(editor.Add(2, "   turn heading bug [left|right]   "), 2);
  EXPECT_EQ(List(2)[2], base::Fixed("turn heading bug [left|right]", 256));

  editor.AskEdit(2, 0);
  EXPECT_EQ(env.dialogs.inputs[1].title, "Edit Existing " + noun);
  EXPECT_EQ(env.dialogs.inputs[1].defaultText, List(2)[0].trimmed());
  EXPECT_EQ(editor.Edit(2, 0, "set (the) heading <HDG>"), 0);
  EXPECT_EQ(List(2)[0].trimmed(), "set (the) heading <HDG>");

  editor.AskDelete(2, 1);
  EXPECT_EQ(env.dialogs.last().title, "Delete Selected " + noun + "?");
  EXPECT_EQ(env.dialogs.last().tag, editor.tagOf(Action::Delete));
  EXPECT_TRUE(env.dialogs.last().showCancel);
  EXPECT_EQ(editor.Delete(2, 2), 1);  // the last one gone: the one before is selected
  EXPECT_EQ(editor.Delete(2, 0), 0);  // the following ones move up
  EXPECT_EQ(Trimmed(2).size(), 1);

  // The only entry stays, with a refusal instead of the question.
  const size_t asked = env.dialogs.messages.size();
  editor.AskDelete(2, 0);
  EXPECT_EQ(env.dialogs.messages.size(), asked + 1);
  EXPECT_EQ(env.dialogs.last().title, "Can Not Delete");
  EXPECT_FALSE(env.dialogs.last().showCancel);
  EXPECT_EQ(editor.Delete(2, 0), -1);
  EXPECT_EQ(List(2).size(), 1);

  // No command, no entry: nothing asked, nothing changed.
  EXPECT_EQ(editor.Add(99, "x"), -1);
  EXPECT_EQ(editor.Edit(2, 5, "x"), -1);
  editor.AskEdit(-1, 0);
  EXPECT_EQ(env.dialogs.inputs.size(), 2u);
}

TEST_P(CommandTextTest, OnlyReadbacksStopAtTwenty) {
  while (List(1).size() < 20) ASSERT_GE(editor.Add(1, QString("entry %1").arg(List(1).size())), 0);
  editor.AskAdd(1);
  EXPECT_EQ(editor.Add(1, "one more"), phrases() ? 20 : -1);
  if (!phrases()) {
    EXPECT_EQ(env.dialogs.last().title, "Limit Exceeded");
    EXPECT_TRUE(env.dialogs.inputs.empty());
  }
}

// Every kind of text a user can type, for add and edit alike.
TEST_P(CommandTextTest, EntriesAreStoredTrimmedInTheirFieldOrRefused) {
  struct Case {
    QString typed, stored;  // stored empty: nothing changes
    bool refused;
  } cases[] = {{"      ", "", false},
               {"", "", false},
               {QString(300, u'x'), QString(256, u'x'), false},
               {"  " + QString(299, u'r'), QString(256, u'r'), false},
               {QString::fromUtf8("  caf\u00e9 \u20ac  "), QString::fromUtf8("caf\u00e9 \u20ac"), false},
               {QString::fromUtf8("gear \u4e0b down"), "", true},
               {QString::fromUtf8("flaps \U0001F600"), "", true}};
  for (const Case& c : cases) {
    const QStringList before = List(2);
    const size_t messages = env.dialogs.messages.size();
    const int added = editor.Add(2, c.typed);
    const int edited = editor.Edit(2, 0, c.typed);
    EXPECT_EQ(env.dialogs.messages.size(), messages + (c.refused ? 2 : 0)) << c.typed.toStdString();
    if (c.refused) {
      EXPECT_EQ(env.dialogs.last().title, "Entry Not Accepted");
    }
    if (c.stored.isEmpty()) {
      EXPECT_EQ(added, -1);
      EXPECT_EQ(edited, -1);
      EXPECT_EQ(List(2), before);
      continue;
    }
    ASSERT_EQ(added, before.size());
    for (int i : {0, added}) {
      EXPECT_EQ(List(2)[i].size(), 256);
      EXPECT_EQ(List(2)[i].trimmed(), c.stored);
    }
    // What is kept can be saved and read back unchanged.
    ASSERT_EQ(data::SaveCommandList(env.state, env.dialogs), 0);
    std::vector<data::CommandRecord> saved;
    ASSERT_TRUE(data::ParseCommandList(test::ReadBytes(data::CommandListFilePath(install.installDir)), saved));
    EXPECT_EQ(phrases() ? saved[2].grammars : saved[2].readbacks, List(2));
  }
}

INSTANTIATE_TEST_SUITE_P(Lists, CommandTextTest, testing::Values(CommandText::Phrases, CommandText::Readbacks),
                         [](const auto& info) { return info.param == CommandText::Phrases ? "Phrases" : "Readbacks"; });

TEST(SpokenReadback, ListNamesInAnyCaseBecomeTheirExamples) {
  const std::vector<data::SettingsList> lists{{"<ALT>", "altitude", " three thousand "}, {"", "unnamed", "never"}};
  EXPECT_EQ(grammar::SpokenReadback("  climbing to <alt> feet ", lists), "climbing to three thousand feet");
  EXPECT_EQ(grammar::SpokenReadback("<ALT> then <Alt>", lists), "three thousand then three thousand");
  EXPECT_EQ(grammar::SpokenReadback("no list here", lists), "no list here");
}

// Save, write and compile in order, stopping at the first failure.
TEST(CompileCommands, RunsItsStepsInOrderAndStopsAtTheFirstFailure) {
  using R = grammar::CompileResult;
  struct {
    const char* name;
    bool removeLists;
    int16_t compileStatus;
    bool speechReady;
    R result;
    const char* message;  // the failure reported, or ""
  } cases[] = {{"Compiled", false, 0, true, R::Compiled, ""},
               {"ExportFails", true, 0, true, R::ExportFailed, "Grammar Export Error"},
               {"CompilerFails", false, 1, true, R::CompileFailed, "Grammar Compile Error"},
               {"SpeechOffSkipsTheCompiler", false, 1, false, R::Compiled, ""}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    test::TestInstallation install;
    test::TestEnv env(install.installDir);
    test::FillSmallCommandSet(env.state);
    env.state.speechReady = k.speechReady;
    env.compiler.compileStatus = k.compileStatus;
    if (!k.removeLists)
      test::WriteBytes(install.installDir + "/Data/Generic Lists.bnf",
                       test::ReadBytes(test::DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
    EXPECT_EQ(grammar::CompileCommandSet(env.ctx, env.speech), k.result);
    EXPECT_EQ(env.dialogs.events.first(), "progress:Compiling Grammar Files");
    EXPECT_FALSE(env.dialogs.progressVisible);
    EXPECT_EQ(env.dialogs.titles(), QString(k.message).isEmpty() ? QStringList() : QStringList{k.message});
    EXPECT_EQ(env.log.contains("compile:compile"), k.speechReady && !k.removeLists);
    // The command list was saved before the grammars were written.
    EXPECT_TRUE(QFileInfo::exists(data::CommandListFilePath(install.installDir)));
    EXPECT_TRUE(k.removeLists || QFileInfo::exists(install.installDir + "/Grammars/Radios.bnf"));
  }
}
