#include <gtest/gtest.h>

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "core/grammar/NavaidGrammar.h"
#include "data/NavaidLists.h"

using namespace qv;

namespace {

TEST(SpellIdentifier, SpellsEveryCharacterPhoneticallyAndPlain) {
  EXPECT_EQ(grammar::SpellIdentifier({" sea ", "", ""}), "(<PHONETIC_S> <PHONETIC_E> <PHONETIC_A> | S E A)");
  EXPECT_EQ(grammar::SpellIdentifier({"12", "", ""}), "( | 1 2)");
  // Longer than the usual four: every character is spelled.
  EXPECT_EQ(grammar::SpellIdentifier({"ABCDE", "", ""}),
            "(<PHONETIC_A> <PHONETIC_B> <PHONETIC_C> <PHONETIC_D> <PHONETIC_E> | A B C D E)");
}

// The small lists' other spellings (09L, a single digit, the letters and
// digits of an identifier) are pinned by their golden files.
TEST(SpellIls, SpellsRunwaySideAndAirport) {
  const QString ils = "(I L S|i'll less|i elle-ess|tileless) !optional(at) ";
  // runway, airport, how the runway is spoken, how the airport is spelled
  const char* const cases[][4] = {
      {"04", "A", "!optional(<NUM_0>) <NUM_4>", "(<PHONETIC_A> | A)"},
      {"10", "A", "<NUM_1> <NUM_0>", "(<PHONETIC_A> | A)"},
      {" 36c ", "s50", "<NUM_3> <NUM_6> (center|senner|sunner)", "(<PHONETIC_S> <NUM_5> <NUM_0> | S 5 0)"},
      {"27R", "K1", "<NUM_2> <NUM_7> (right|ry)", "(<PHONETIC_K> <NUM_1> | K 1)"}};
  for (const auto& c : cases) EXPECT_EQ(grammar::SpellIls({c[1], c[0], "", 0}), c[2] + ils + c[3]) << c[0];
}

TEST(NavaidGrammars, EmptyListGivesOnlyTheBrackets) {
  test::RecordingDialogs d;
  EXPECT_EQ(grammar::BuildNavaidNameGrammar({}, d, true),
            "!grammar \"NAVAID_NAMES\";\r\n\r\n!export<NAV_NAME>;\r\n\r\n\r\n<NAV_NAME>:\r\n\t(\r\n\t)\r\n;\r\n\r\n");
  EXPECT_TRUE(d.progress.empty());
}

// About twenty steps from each list's start, whatever the list's size.
TEST(NavaidGrammars, ProgressStepsFromEachStart) {
  for (const auto& [records, n] : {std::pair{20000, 20}, {1, 1}, {5, 4}, {21, 20}, {1000, 20}}) {
    SCOPED_TRACE(records);
    std::vector<data::NavaidRecord> navaids(records, data::NavaidRecord{"ABC", "Name", "VOR:ABC"});
    std::vector<data::IlsRecord> ils(records, data::IlsRecord{"KABC", "09", "ILS", 1});
    test::RecordingDialogs d;
    grammar::BuildNavaidIdGrammar(navaids, d, false);
    grammar::BuildNavaidNameGrammar(navaids, d, false);
    grammar::BuildIlsGrammar(ils, d, true);
    ASSERT_EQ(d.progress.size(), 3u * n);
    EXPECT_EQ(d.progress[0].second, 11);
    EXPECT_EQ(d.progress[n - 1].second, 10 + n);
    EXPECT_EQ(d.progress[n].second, 31);
    EXPECT_EQ(d.progress[2 * n].second, 51);
    EXPECT_EQ(d.progress[0].first,
              "Saving and compiling your grammar files.  This process will take a few minutes. (Navaid IDs)\r\r"
              "Please standby...");
    EXPECT_EQ(d.progress[n].first,
              "Saving and compiling your grammar files.  This proccess will take a few minutes. (Navaid Names)\r\r"
              "Please standby...");
    EXPECT_EQ(d.progress[2 * n].first, "Writing Grammar Files (Navaid ILS's)");
  }
}

}  // namespace
