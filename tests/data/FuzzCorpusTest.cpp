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

// What a binary reader accepts, written and read again, gives the same bytes.
template <class T>
int RoundTrips(const QString& target, bool (*parse)(const QByteArray&, T&), QByteArray (*write)(const T&)) {
  int accepted = 0;
  for (const QString& f : Inputs(target)) {
    T value{}, again{};
    if (!parse(qv::test::ReadBytes(f), value)) continue;
    ++accepted;
    const QByteArray out = write(value);
    EXPECT_TRUE(parse(out, again)) << qPrintable(f);
    EXPECT_EQ(write(again), out) << qPrintable(f);
  }
  return accepted;
}

TEST(FuzzCorpus, BinaryReadersRefuseOrRoundTrip) {
  const int accepted = RoundTrips<std::vector<CommandRecord>>("commands", ParseCommandList,
                                                              [](const std::vector<CommandRecord>& v) {
                                                                QByteArray b;
                                                                SerializeCommandList(v, b);
                                                                return b;
                                                              }) +
                       RoundTrips<ChecklistFile>("checklist", ParseChecklist,
                                                 [](const ChecklistFile& c) {
                                                   QByteArray b;
                                                   SerializeChecklist(c, b);
                                                   return b;
                                                 }) +
                       RoundTrips<std::vector<ChecklistAssignment>>(
                           "assignments", ParseAssignments,
                           [](const std::vector<ChecklistAssignment>& v) { return SerializeAssignments(v); });
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
