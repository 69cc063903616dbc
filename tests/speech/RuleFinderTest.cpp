// Tracing a recognised sentence back through the grammar sources: which
// category and start rule, and the action texts met on the way, in order.
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
  WriteBnf(dir.path() + "/Radios.bnf",
           "!grammar \"Radios\";\n!import<NAV_ID>;\n!import<DIGIT>;\n\n!start<NAV1>;\n!start<SQUAWK>;\n\n"
           "<NAV1>:\n\t!action(\"|104:\")\n\t!ignore(\n\t\t(\n\t\ttune nav one !optional(to) <NAV_ID>\n\t\t)\n\t)\n;\n\n"
           "<SQUAWK>:\n\t!action(\"|7:\")\n\t!ignore(\n\t\t(\n\t\tsquawk <DIGIT> <DIGIT>\n\t\t)\n\t)\n;\n");
  // The same words in a category loaded later: the first category wins.
  WriteBnf(dir.path() + "/Lights.bnf",
           "!grammar \"Lights\";\n\n!start<STROBES>;\n\n<STROBES>:\n\t!action(\"|57\")\n\t!ignore(\n\t\t(\n"
           "\t\tstrobes !optional(on)\n\t\t| squawk one two\n\t\t)\n\t)\n;\n");
  const QSet<QString> words{"tune", "nav",   "one",  "to", "sierra", "echo", "alpha", "s",      "e",
                            "a",    "papa",  "delta", "x-ray", "squawk", "two", "strobes", "on"};
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
