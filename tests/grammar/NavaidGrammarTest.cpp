#include <gtest/gtest.h>

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "core/grammar/NavaidGrammar.h"
#include "data/NavaidLists.h"

using namespace qv;

namespace {

struct SpellIdCase {
  const char* ident;
  const char* spelled;
};
class SpellIdentifierTest : public testing::TestWithParam<SpellIdCase> {};
TEST_P(SpellIdentifierTest, Spells) {
  EXPECT_EQ(grammar::SpellIdentifier({GetParam().ident, "", ""}), GetParam().spelled);
}
INSTANTIATE_TEST_SUITE_P(
    Identifiers, SpellIdentifierTest,
    testing::Values(SpellIdCase{" sea ", "(<PHONETIC_S> <PHONETIC_E> <PHONETIC_A> | S E A)"},
                    SpellIdCase{"12", "( | 1 2)"},
                    // Longer than the usual four: every character is spelled.
                    SpellIdCase{"ABCDE",
                                "(<PHONETIC_A> <PHONETIC_B> <PHONETIC_C> <PHONETIC_D> <PHONETIC_E> | A B C D E)"}),
    [](const auto& info) { return test::CaseName(info.param.ident); });

struct SpellIlsCase {
  const char* runway;
  const char* airport;
  const char* spelled;
};
class SpellIlsTest : public testing::TestWithParam<SpellIlsCase> {};
TEST_P(SpellIlsTest, Spells) {
  data::IlsRecord r{GetParam().airport, GetParam().runway, "", 0};
  EXPECT_EQ(grammar::SpellIls(r), GetParam().spelled);
}
INSTANTIATE_TEST_SUITE_P(
    Runways, SpellIlsTest,
    testing::Values(
        SpellIlsCase{
            "04", "A",
            "!optional(<NUM_0>) <NUM_4>(I L S|i'll less|i elle-ess|tileless) !optional(at) (<PHONETIC_A> | A)"},
        SpellIlsCase{"10", "A",
                     "<NUM_1> <NUM_0>(I L S|i'll less|i elle-ess|tileless) !optional(at) (<PHONETIC_A> | A)"},
        SpellIlsCase{" 36c ", "s50",
                     "<NUM_3> <NUM_6> (center|senner|sunner)(I L S|i'll less|i elle-ess|tileless) !optional(at) "
                     "(<PHONETIC_S> <NUM_5> <NUM_0> | S 5 0)"},
        SpellIlsCase{"27R", "K1",
                     "<NUM_2> <NUM_7> (right|ry)(I L S|i'll less|i elle-ess|tileless) !optional(at) "
                     "(<PHONETIC_K> <NUM_1> | K 1)"}),
    [](const auto& info) { return test::CaseName(QString(info.param.runway) + info.param.airport); });
// The small lists' other spellings (09L, a single digit, the letters and
// digits of an identifier) are pinned by their golden files.

TEST(NavaidGrammars, EmptyListGivesOnlyTheBrackets) {
  test::RecordingDialogs d;
  EXPECT_EQ(grammar::BuildNavaidNameGrammar({}, d, true),
            "!grammar \"NAVAID_NAMES\";\r\n\r\n!export<NAV_NAME>;\r\n\r\n\r\n<NAV_NAME>:\r\n\t(\r\n\t)\r\n;\r\n\r\n");
  EXPECT_TRUE(d.progress.empty());
}

struct ProgressCase {
  int records;
  int updates;
};
class NavaidProgressTest : public testing::TestWithParam<ProgressCase> {};
TEST_P(NavaidProgressTest, AboutTwentyStepsFromEachStart) {
  std::vector<data::NavaidRecord> navaids(GetParam().records, data::NavaidRecord{"ABC", "Name", "VOR:ABC"});
  std::vector<data::IlsRecord> ils(GetParam().records, data::IlsRecord{"KABC", "09", "ILS", 1});
  test::RecordingDialogs d;
  grammar::BuildNavaidIdGrammar(navaids, d, false);
  grammar::BuildNavaidNameGrammar(navaids, d, false);
  grammar::BuildIlsGrammar(ils, d, true);
  ASSERT_EQ(d.progress.size(), 3u * GetParam().updates);
  const int n = GetParam().updates;
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
INSTANTIATE_TEST_SUITE_P(Sizes, NavaidProgressTest,
                         testing::Values(ProgressCase{20000, 20}, ProgressCase{1, 1}, ProgressCase{5, 4},
                                         ProgressCase{21, 20}, ProgressCase{1000, 20}),
                         [](const auto& info) { return std::to_string(info.param.records) + "Records"; });

}  // namespace
