#include <gtest/gtest.h>

#include <QDir>

#include "TestEnv.h"
#include "data/JsonFormats.h"

using namespace qv::data;
using qv::test::DemoSourceDir;
using qv::test::ReadBytes;

// The demo sources are kept in the canonical form: read and written again
// they come out byte for byte, and so do the binary files made from them.
TEST(JsonFormats, DemoSourcesRoundTripBothWays) {
  const QString src = DemoSourceDir() + "/Data";
  QString error;

  const QByteArray commandsJson = ReadBytes(src + "/CommandList.json");
  std::vector<CommandRecord> commands, again;
  ASSERT_TRUE(CommandsFromJson(commandsJson, commands, error)) << qPrintable(error);
  QByteArray bin;
  ASSERT_TRUE(SerializeCommandList(commands, bin));
  ASSERT_TRUE(ParseCommandList(bin, again));
  EXPECT_EQ(CommandsToJson(again), commandsJson);

  const QByteArray assignmentsJson = ReadBytes(src + "/Checklist_Assignments.json");
  std::vector<ChecklistAssignment> assignments;
  ASSERT_TRUE(AssignmentsFromJson(assignmentsJson, assignments, error)) << qPrintable(error);
  EXPECT_EQ(AssignmentsToJson(assignments), assignmentsJson);

  const QStringList lists = QDir(src + "/Checklists").entryList({"*.json"}, QDir::Files);
  ASSERT_GE(lists.size(), 3);
  for (const QString& f : lists) {
    const QByteArray json = ReadBytes(src + "/Checklists/" + f);
    ChecklistFile c;
    ASSERT_TRUE(ChecklistFromJson(json, c, error)) << qPrintable(error);
    EXPECT_EQ(ChecklistToJson(c), json) << qPrintable(f);
    for (const auto& section : c.sections) {
      EXPECT_FALSE(section.empty()) << qPrintable(f);
      for (const auto& item : section) {
        ASSERT_GE(item.responses.size(), 3u);
        EXPECT_EQ(item.responses[0].functionNumber, kIgnoreFunction);
        EXPECT_EQ(item.responses[1].functionNumber, kSkipFunction);
      }
    }
  }
}

TEST(JsonFormats, PaddingRemovedLeadingBlanksKeptSpecialCharactersEscaped) {
  std::vector<ChecklistAssignment> list = {{"  lead \"q\" \\ \u00e9" + QString(200, u' '), QString(256, u' '), 1}};
  const QByteArray json = AssignmentsToJson(list);
  EXPECT_TRUE(json.contains(R"("aircraftTitle": "  lead \"q\" \\ )"
                            "\xc3\xa9\""));
  EXPECT_TRUE(json.contains(R"("checklistName": "")"));
  std::vector<ChecklistAssignment> back;
  QString error;
  ASSERT_TRUE(AssignmentsFromJson(json, back, error));
  EXPECT_EQ(back[0].aircraftTitle.size(), 256);
  EXPECT_EQ(SerializeAssignments(back), SerializeAssignments({{list[0].aircraftTitle, "", 1}}));
}

// A file that cannot be imported is refused naming the field at fault; a
// command table passed in is left untouched.
TEST(JsonFormats, ErrorsNameTheField) {
  const auto command = [](const QString& category, const QString& number, const QString& grammars) {
    return QString(R"([{"category": "%1", "name": "n", "eventName": "E", "helpText": "h", "functionNumber": %2,
                       "grammars": [%3], "readbacks": []}])")
        .arg(category, number, grammars)
        .toUtf8();
  };
  const struct {
    const char* kind;
    QByteArray json;
    const char* error;  // must appear in the message
  } cases[] = {
      {"commands", command(QString(33, u'x'), "1", ""), "[0].category: longer than 32 characters"},
      {"commands", command("ok", "1", "\"fine\", \"\u4e2d\""), "[0].grammars[1]: holds a character outside"},
      {"commands", command("ok", "40000", ""), "[0].functionNumber: not a whole number"},
      {"commands", command("ok", "1.5", ""), "[0].functionNumber"},
      {"commands", "[{\"category\": \"x\"}]", "[0].name: missing"},
      {"commands", "{}", "commands: "},
      {"commands", "[1,", "not valid JSON"},
      {"checklist", "{\"sections\": [[], []]}", "sections: must hold 12 lists"},
      {"checklist",
       "{\"sections\": [[{\"challenge\": \"c\", \"pronunciation\": \"p\", \"response\": \"r\","
       " \"responses\": [{\"text\": \"t\", \"functionNumber\": 3000000000}]}],"
       "[],[],[],[],[],[],[],[],[],[],[]]}",
       "sections[0][0].responses[0].functionNumber"},
      {"assignments", "[{\"aircraftTitle\": \"a\", \"checklistName\": 5, \"written\": 0}]",
       "[0].checklistName: not a text"}};
  for (const auto& c : cases) {
    QString error;
    bool ok = true;
    if (QByteArray(c.kind) == "commands") {
      std::vector<CommandRecord> out(1);
      ok = CommandsFromJson(c.json, out, error);
      EXPECT_EQ(out.size(), 1u);
    } else if (QByteArray(c.kind) == "checklist") {
      ChecklistFile out;
      ok = ChecklistFromJson(c.json, out, error);
    } else {
      std::vector<ChecklistAssignment> out;
      ok = AssignmentsFromJson(c.json, out, error);
    }
    EXPECT_FALSE(ok) << c.error;
    EXPECT_TRUE(error.contains(QString::fromUtf8(c.error))) << qPrintable(error);
  }
}
