#include <gtest/gtest.h>

#include <QDir>

#include "TestEnv.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/IniFile.h"
#include "data/JsonFormats.h"
#include "data/NavaidLists.h"

using namespace qv::data;

// Replays the fuzzing corpora (and any input that once crashed a reader)
// through the normal readers, with the properties the fuzz targets check.
namespace {

QStringList Inputs(const QString& target) {
  const QDir dir(qv::test::FixturesDir() + "/fuzz/" + target);
  QStringList files;
  for (const QString& f : dir.entryList(QDir::Files, QDir::Name)) files << dir.filePath(f);
  return files;
}

}  // namespace

TEST(FuzzCorpus, BinaryReadersRefuseOrRoundTrip) {
  int accepted = 0;
  const QStringList commands = Inputs("commands");
  ASSERT_FALSE(commands.isEmpty());
  for (const QString& f : commands) {
    std::vector<CommandRecord> list, again;
    if (!ParseCommandList(qv::test::ReadBytes(f), list)) continue;
    ++accepted;
    QByteArray out, out2;
    ASSERT_TRUE(SerializeCommandList(list, out)) << qPrintable(f);
    ASSERT_TRUE(ParseCommandList(out, again)) << qPrintable(f);
    ASSERT_TRUE(SerializeCommandList(again, out2));
    EXPECT_EQ(out, out2) << qPrintable(f);
  }
  for (const QString& f : Inputs("checklist")) {
    ChecklistFile c, again;
    if (!ParseChecklist(qv::test::ReadBytes(f), c)) continue;
    ++accepted;
    QByteArray out, out2;
    ASSERT_TRUE(SerializeChecklist(c, out));
    ASSERT_TRUE(ParseChecklist(out, again)) << qPrintable(f);
    ASSERT_TRUE(SerializeChecklist(again, out2));
    EXPECT_EQ(out, out2) << qPrintable(f);
  }
  for (const QString& f : Inputs("assignments")) {
    const QByteArray bytes = qv::test::ReadBytes(f);
    std::vector<ChecklistAssignment> list;
    if (!ParseAssignments(bytes, list)) continue;
    ++accepted;
    EXPECT_EQ(SerializeAssignments(list), bytes) << qPrintable(f);
  }
  EXPECT_GT(accepted, 0);
}

TEST(FuzzCorpus, TextReadersNeverFail) {
  for (const QString& f : Inputs("navaids")) {
    std::vector<IlsRecord> ils;
    std::vector<NavaidRecord> nav;
    ParseIlsList(qv::test::ReadBytes(f), ils);
    ParseNavaidList(qv::test::ReadBytes(f), nav);
  }
  for (const QString& f : Inputs("ini")) {
    IniFile ini = IniFile::FromBytes(qv::test::ReadBytes(f));
    ini.value("Main", "copilotVoice");
    ini.setValue("Main", "PathFSXConfig", "x");
    EXPECT_EQ(ini.value("main", "pathfsxconfig"), "x") << qPrintable(f);
  }
  for (const QString& f : Inputs("json")) {
    QString error;
    std::vector<CommandRecord> commands, again;
    if (CommandsFromJson(qv::test::ReadBytes(f), commands, error)) {
      const QByteArray json = CommandsToJson(commands);
      ASSERT_TRUE(CommandsFromJson(json, again, error)) << qPrintable(f);
      EXPECT_EQ(CommandsToJson(again), json);
    }
    ChecklistFile c, c2;
    if (ChecklistFromJson(qv::test::ReadBytes(f), c, error)) {
      const QByteArray json = ChecklistToJson(c);
      ASSERT_TRUE(ChecklistFromJson(json, c2, error)) << qPrintable(f);
      EXPECT_EQ(ChecklistToJson(c2), json);
    }
  }
}
