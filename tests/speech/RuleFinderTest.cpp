// A recognised sentence traced back to its category, start rule and actions.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "SpeechTestSupport.h"
#include "speech/Rehearser.h"

namespace qv::test {
namespace {

TEST(RuleFinderTest, FindsTheStartRuleAndItsActionsAcrossCategoriesAndLists) {
  QTemporaryDir dir;
  WriteBnf(dir.path() + "/Lists.bnf",
           "!grammar \"Lists\";\n!export<NAV_ID>;\n!export<DIGIT>;\n\n"
           "<NAV_ID>:\n\t(\n\t!ignore(sierra echo alpha | s e a)!action(\"116.80\")\n"
           "\t| !ignore(papa delta x-ray)!action(\"117.60\")\n\t)\n;\n"
           "<DIGIT>:\n\t(\n\tone !action(\"1\")\n\t| two !action(\"2\")\n\t)\n;\n");
  WriteBnf(dir.path() + "/Radios.bnf", CategoryGrammar("Radios", "!import<NAV_ID>;\n!import<DIGIT>;\n",
                                                       {{"NAV1", "|104:", {"tune nav one !optional(to) <NAV_ID>"}},
                                                        {"SQUAWK", "|7:", {"squawk <DIGIT> <DIGIT>"}}}));
  // The same words in a category loaded later: the first category wins.
  WriteBnf(dir.path() + "/Lights.bnf",
           CategoryGrammar("Lights", "", {{"STROBES", "|57", {"strobes !optional(on)", "squawk one two"}}}));
  const QSet<QString> words{"tune", "nav",  "one",   "to",    "sierra", "echo", "alpha",   "s", "e",
                            "a",    "papa", "delta", "x-ray", "squawk", "two",  "strobes", "on"};
  speech::RuleFinder finder;
  QString error;
  ASSERT_TRUE(finder.Load(dir.path(), {"Radios", "Lights"}, words, error)) << qPrintable(error);

  struct Case {
    QString said, grammar, rule;
    QStringList actions;
  };
  for (const Case& c : {Case{"tune nav one to sierra echo alpha", "Radios", "NAV1", {"|104:", "116.80"}},
                        Case{"tune nav one papa delta x-ray", "Radios", "NAV1", {"|104:", "117.60"}},
                        Case{"squawk one two", "Radios", "SQUAWK", {"|7:", "1", "2"}},
                        Case{"strobes", "Lights", "STROBES", {"|57"}}, Case{"strobes on", "Lights", "STROBES", {"|57"}},
                        Case{"tune nav one to", "", "", {}}, Case{"strobes on on", "", "", {}}}) {
    QString grammar, rule;
    QStringList actions;
    const bool found = finder.Find(c.said.split(' '), grammar, rule, actions);
    EXPECT_EQ(found, !c.grammar.isEmpty()) << qPrintable(c.said);
    EXPECT_EQ(grammar, c.grammar) << qPrintable(c.said);
    EXPECT_EQ(rule, c.rule) << qPrintable(c.said);
    EXPECT_EQ(actions, c.actions) << qPrintable(c.said);
  }
  EXPECT_FALSE(finder.Load(dir.path(), {"Missing"}, words, error));
}

}  // namespace
}  // namespace qv::test
