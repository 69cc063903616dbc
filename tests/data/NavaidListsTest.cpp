#include <gtest/gtest.h>

#include "TestEnv.h"
#include "data/NavaidLists.h"

using namespace qv::data;

struct NumberCase {
  const char* text;
  bool ok;
  int value;
};

class ActionNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(ActionNumber, Converts) {
  const NumberCase& c = GetParam();
  int16_t v = 999;
  EXPECT_EQ(ParseActionNumber(QString::fromLatin1(c.text), v), c.ok) << c.text;
  if (c.ok) EXPECT_EQ(v, c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ActionNumber,
    testing::Values(NumberCase{"160", true, 160}, NumberCase{"  -12 ", true, -12}, NumberCase{"+7", true, 7},
                    NumberCase{"\t5\t", true, 5}, NumberCase{"2.5", true, 2}, NumberCase{"3.5", true, 4},
                    NumberCase{"-2.5", true, -2}, NumberCase{"2.51", true, 3}, NumberCase{"2.500001", true, 3},
                    NumberCase{"0.49", true, 0}, NumberCase{".5", true, 0}, NumberCase{"7.", true, 7},
                    NumberCase{"32767", true, 32767}, NumberCase{"-32768", true, -32768},
                    NumberCase{"-32768.5", true, -32768}, NumberCase{"0000000000012", true, 12},
                    NumberCase{"32767.5", false, 0}, NumberCase{"32768", false, 0}, NumberCase{"-32769", false, 0},
                    NumberCase{"99999999999999999999", false, 0}, NumberCase{"", false, 0}, NumberCase{"  ", false, 0},
                    NumberCase{"-", false, 0}, NumberCase{".", false, 0}, NumberCase{"16O", false, 0},
                    NumberCase{"1 2", false, 0}, NumberCase{"1e3", false, 0}, NumberCase{"--1", false, 0}),
    [](const auto& info) { return std::to_string(info.index) + "_" + qv::test::CaseName(info.param.text); });

TEST(NavaidLists, FieldsByPositionUntrimmedExtraIgnored) {
  std::vector<IlsRecord> ils;
  ASSERT_TRUE(ParseIlsList("KSEA| 16L |110.30 |160|extra\r\nKBFI|13R|110.90|130", ils));
  ASSERT_EQ(ils.size(), 2u);
  EXPECT_EQ(ils[0].runway, " 16L ");
  EXPECT_EQ(ils[0].actionText, "110.30 ");
  EXPECT_EQ(ils[1].actionNumber, 130);

  std::vector<NavaidRecord> nav;
  ASSERT_TRUE(ParseNavaidList("SEA|Seattle|116.80\r\nBF|Nolla|362.0\r\n", nav));
  ASSERT_EQ(nav.size(), 2u);
  EXPECT_EQ(nav[1].name, "Nolla");
  ASSERT_TRUE(ParseNavaidList("", nav));
  EXPECT_TRUE(nav.empty());
  ASSERT_TRUE(ParseNavaidList("A|B|\xe9\n", nav));
  EXPECT_EQ(nav[0].actionText, "\u00e9");
}

TEST(NavaidLists, BadFilesAreRefusedWhole) {
  std::vector<IlsRecord> ils(3);
  for (const char* f : {"BrokenILS_Info.txt", "BrokenILS_InfoRange.txt", "TruncatedILS_Info.txt"}) {
    EXPECT_FALSE(ParseIlsList(qv::test::ReadBytes(qv::test::FixturesDir() + "/data/" + f), ils)) << f;
    EXPECT_EQ(ils.size(), 3u);
  }
  std::vector<NavaidRecord> nav(3);
  for (const char* f : {"BrokenNav_Info.txt", "TruncatedNav_Info.txt"}) {
    EXPECT_FALSE(ParseNavaidList(qv::test::ReadBytes(qv::test::FixturesDir() + "/data/" + f), nav)) << f;
    EXPECT_EQ(nav.size(), 3u);
  }
}
