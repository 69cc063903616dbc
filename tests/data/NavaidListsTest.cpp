#include <gtest/gtest.h>

#include "TestEnv.h"
#include "data/NavaidLists.h"

using namespace qv::data;

// Blanks around, halves to even, a 16-bit range; anything else refused.
TEST(NavaidLists, ActionNumbersConvert) {
  const std::pair<const char*, int> good[] = {
      {"160", 160},  {"  -12 ", -12},       {"+7", 7},          {"\t5\t", 5},  {"2.5", 2},
      {"3.5", 4},    {"-2.5", -2},          {"2.51", 3},        {"2.500001", 3}, {"0.49", 0},
      {".5", 0},     {"7.", 7},             {"32767", 32767},   {"-32768", -32768},
      {"-32768.5", -32768},                 {"0000000000012", 12}};
  for (const auto& [text, value] : good) {
    int16_t v = 999;
    EXPECT_TRUE(ParseActionNumber(QString::fromLatin1(text), v)) << text;
    EXPECT_EQ(v, value) << text;
  }
  for (const char* text : {"32767.5", "32768", "-32769", "99999999999999999999", "", "  ", "-", ".", "16O", "1 2",
                           "1e3", "--1"}) {
    int16_t v = 999;
    EXPECT_FALSE(ParseActionNumber(QString::fromLatin1(text), v)) << text;
  }
}

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
