#include <gtest/gtest.h>

#include "TestEnv.h"
#include "base/FixedText.h"
#include "data/BinaryIo.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"

using namespace qv::data;
using qv::test::FixturesDir;
using qv::test::ReadBytes;

namespace {

QByteArray Fixture(const QString& name) { return ReadBytes(FixturesDir() + "/data/" + name); }

CommandRecord Command(const QString& category, int g, int r) {
  CommandRecord c;
  c.category = qv::base::Fixed(category, kCategoryWidth);
  c.name = qv::base::Fixed("Name", kNameWidth);
  c.eventName = qv::base::Fixed("EVENT", kEventNameWidth);
  c.helpText = qv::base::Fixed("Help", kHelpTextWidth);
  c.functionNumber = -42;
  for (int i = 0; i < g; ++i) c.grammars << qv::base::Fixed(QString("grammar %1").arg(i), kGrammarWidth);
  for (int i = 0; i < r; ++i) c.readbacks << qv::base::Fixed(QString("readback %1").arg(i), kReadbackWidth);
  return c;
}

}  // namespace

TEST(BinaryIo, LittleEndianFixedWidthAndNoReadingPastTheEnd) {
  const QByteArray bytes(
      "\xfe\xff\x01\x02\x03\x04"
      "ab",
      8);  // the reader keeps a reference to it
  BinaryReader in(bytes);
  EXPECT_EQ(in.ReadInt16(), -2);
  EXPECT_EQ(in.ReadInt32(), 0x04030201);
  EXPECT_EQ(in.ReadFixed(2), "ab");
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(in.ReadInt16(), 0);
  EXPECT_TRUE(in.failed());
  BinaryWriter w;
  w.WriteFixed("caf\u00e9", 6);
  w.WriteFixed("toolong", 3);
  EXPECT_EQ(w.bytes(), QByteArray("caf\xe9  too"));
  EXPECT_FALSE(w.lossy());
  w.WriteFixed("\u4e2d", 2);
  EXPECT_TRUE(w.lossy());
}

TEST(CommandListFormat, LayoutSizesAndOrder) {
  QByteArray bytes;
  ASSERT_TRUE(SerializeCommandList({}, bytes));
  EXPECT_EQ(bytes, QByteArray("\xff\xff", 2));
  ASSERT_TRUE(SerializeCommandList({Command("A", 0, 0)}, bytes));
  EXPECT_EQ(bytes.size(), 2 + 550);
  ASSERT_TRUE(SerializeCommandList({Command("A", 2, 1)}, bytes));
  EXPECT_EQ(bytes.size(), 2 + 1318);
  // Both counts come before either list; grammars precede readbacks.
  EXPECT_EQ(bytes.mid(2 + 544, 6), QByteArray("\xd6\xff\x01\x00\x00\x00", 6));
  EXPECT_TRUE(bytes.mid(2 + 550, 9) == "grammar 0");
  EXPECT_TRUE(bytes.mid(2 + 550 + 512, 10) == "readback 0");

  std::vector<CommandRecord> back;
  ASSERT_TRUE(ParseCommandList(bytes, back));
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].grammars.size(), 2);
  EXPECT_EQ(back[0].readbacks.size(), 1);
  EXPECT_EQ(back[0].functionNumber, -42);
  EXPECT_EQ(back[0].category.size(), kCategoryWidth);
  const QByteArray fixture = Fixture("CommandList.dat");  // byte for byte through a round trip
  ASSERT_TRUE(ParseCommandList(fixture, back));
  EXPECT_EQ(back[1].name.trimmed(), "Caf\u00e9 Squawk");
  ASSERT_TRUE(SerializeCommandList(back, bytes));
  EXPECT_EQ(bytes, fixture);
}

TEST(CommandListFormat, CategoriesFirstSeenIgnoringCaseAndBlanks) {
  const std::vector<CommandRecord> list = {Command("Radios", 0, 0), Command(" radios", 0, 0), Command("Lights", 0, 0),
                                           Command("RADIOS", 0, 0)};
  EXPECT_EQ(BuildCommandCategories(list), (QStringList{"Radios", "Lights"}));
  EXPECT_TRUE(BuildCommandCategories({}).isEmpty());
}

TEST(ChecklistFormat, ItemSizesAndRoundTrip) {
  ChecklistFile c;
  c.name = "Mine";
  c.sections[5].push_back(
      {qv::base::Fixed("Flaps", 256),
       qv::base::Fixed("flaps", 256),
       qv::base::Fixed("Up", 128),
       {{qv::base::Fixed("Ignore", 128), kIgnoreFunction}, {qv::base::Fixed("Skip", 128), kSkipFunction}}});
  QByteArray bytes;
  ASSERT_TRUE(SerializeChecklist(ChecklistFile{}, bytes));
  EXPECT_EQ(bytes, QByteArray(24, '\xff'));  // an empty checklist is the header alone
  ChecklistFile back;
  back.sections[3].resize(2);  // left over from a previous checklist
  ASSERT_TRUE(ParseChecklist(bytes, back));
  for (const auto& section : back.sections) EXPECT_TRUE(section.empty());
  ASSERT_TRUE(SerializeChecklist(c, bytes));
  EXPECT_EQ(bytes.size(), 24 + 906);

  const QByteArray fixture = Fixture("Checklist.dat");
  ChecklistFile loaded;
  loaded.name = "Kept";
  ASSERT_TRUE(ParseChecklist(fixture, loaded));
  EXPECT_EQ(loaded.name, "Kept");
  EXPECT_EQ(loaded.sections[0].size(), 2u);
  EXPECT_EQ(loaded.sections[11][0].responses[3].functionNumber, 1);
  ASSERT_TRUE(SerializeChecklist(loaded, bytes));
  EXPECT_EQ(bytes, fixture);
}

TEST(AssignmentsFormat, SizesAndRoundTrip) {
  std::vector<ChecklistAssignment> one = {{qv::base::Fixed("T", 256), qv::base::Fixed("", 256), 0}};
  EXPECT_EQ(SerializeAssignments(one).size(), 516);
  const QByteArray fixture = Fixture("Checklist_Assignments.dat");
  std::vector<ChecklistAssignment> list;
  ASSERT_TRUE(ParseAssignments(fixture, list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].written, 1);
  EXPECT_EQ(SerializeAssignments(list), fixture);
}

// Damaged files are refused as a whole, and the table passed in is untouched.
TEST(DamagedFile, IsRefusedWithoutTouchingTheTable) {
  for (const QString name :
       {"TruncatedCommandList.dat", "LongCommandList.dat", "BrokenCommandListHugeCount.dat",
        "BrokenCommandListListCount.dat", "BrokenCommandListHeader.dat", "TruncatedChecklist.dat", "LongChecklist.dat",
        "BrokenChecklistResponses.dat", "TruncatedChecklistHeader.dat", "TruncatedChecklist_Assignments.dat",
        "LongChecklist_Assignments.dat", "BrokenChecklist_Assignments.dat",
        "TruncatedChecklist_AssignmentsHeader.dat"}) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray bytes = Fixture(name);
    ASSERT_FALSE(bytes.isEmpty());
    if (name.contains("CommandList")) {
      std::vector<CommandRecord> list(1);
      EXPECT_FALSE(ParseCommandList(bytes, list));
      EXPECT_EQ(list.size(), 1u);
    } else if (name.contains("Assignments")) {
      std::vector<ChecklistAssignment> list(1);
      EXPECT_FALSE(ParseAssignments(bytes, list));
      EXPECT_EQ(list.size(), 1u);
    } else {
      ChecklistFile c;
      c.sections[7].resize(1);
      EXPECT_FALSE(ParseChecklist(bytes, c));
      EXPECT_EQ(c.sections[7].size(), 1u);
    }
  }
}
