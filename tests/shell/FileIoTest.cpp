#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "FaultSupport.h"
#include "base/FileIo.h"
#include "base/PathGuard.h"
#include "checklists/KneeboardFixture.h"
#include "core/grammar/GrammarWriter.h"

using namespace qv;

namespace {

// --- names made safe ------------------------------------------------------------

// For every text: the mapping comes back, and what it gives is one plain file
// name, never a device, never one of the names kept beside it.
TEST(FileNames, EncodingIsReversibleAndAlwaysAPlainName) {
  const QStringList reserved{"Generic Lists", "ChecklistResponses"};
  const QString alphabet = QStringLiteral("aZ9 .%/\\:*?\"<>|\t-_()é€");
  QStringList samples{
      "",        ".",       "..", "../Data/Generic Lists", "Gear/Flaps", "generic lists", "CON", "com1.txt",
      "Lights.", " Radios", "50%"};
  QRandomGenerator random(13);
  for (int i = 0; i < 2000; ++i) {
    QString s;
    for (int n = random.bounded(12); n > 0; --n) s += alphabet[random.bounded(alphabet.size())];
    samples << s;
  }
  for (const QString& text : samples) {
    const QString name = base::EncodeFileName(text, reserved);
    EXPECT_EQ(base::DecodeFileName(name), text) << qPrintable(text);
    if (text.isEmpty()) continue;
    EXPECT_EQ(base::FileNameProblem(name, "A name"), QString()) << qPrintable(text) << " -> " << qPrintable(name);
    EXPECT_FALSE(name.startsWith(u'.') || name.startsWith(u' '));
    EXPECT_FALSE(reserved.contains(name, Qt::CaseInsensitive));
  }
  for (const char* plain : {"Lights", "Autopilot 2", "Radios", "Engine (Start)"})
    EXPECT_EQ(base::EncodeFileName(plain, reserved), plain);
}

// Category names from a command list cannot reach outside the grammar
// folder, overwrite the shared list file or end the program.
TEST(FileNames, HostileCategoriesWriteTheirGrammarsInsideTheFolder) {
  test::SampleInstallation sample;
  auto env = sample.Load();
  const QStringList hostile{"../Data/Generic Lists", "Gear/Flaps", "Generic Lists", "CON", "a:b"};
  for (const QString& c : hostile) env->state.commands.push_back(test::Command(c, "X " + c, {"say " + c}));
  env->state.categories = data::BuildCommandCategories(env->state.commands);
  const QString data = sample.inst.installDir + "/Data";
  const test::Snapshot dataBefore = test::TakeSnapshot(data);
  ASSERT_EQ(grammar::WriteAllGrammars(env->ctx), 0) << qPrintable(env->dialogs.titles().join(", "));
  EXPECT_FALSE(env->shutdown.HasShutDown());
  EXPECT_EQ(test::TakeSnapshot(data), dataBefore);
  const QString grammars = grammar::GrammarsDir(sample.inst.installDir);
  QStringList found;
  for (const QString& f : QDir(grammars).entryList({"*.bnf"}, QDir::Files))
    found << base::DecodeFileName(QFileInfo(f).completeBaseName());
  for (const QString& c : hostile) EXPECT_TRUE(found.contains(c)) << qPrintable(c);
  // The shared list file is still the delivered one.
  EXPECT_EQ(test::ReadBytes(grammars + "/Generic Lists.bnf"), test::ReadBytes(data + "/Generic Lists.bnf"));
}

// --- paths that must stay inside ---------------------------------------------------

TEST(PathGuard, LinksAreFollowedBeforeDecidingInsideOrOut) {
  QTemporaryDir dir;
  const QString in = dir.path() + "/Folder";
  QDir().mkpath(in + "/Sub");
  QDir().mkpath(dir.path() + "/Elsewhere");
  QFile::link(dir.path() + "/Elsewhere", in + "/out");        // a folder link leading out
  QFile::link(in + "/Sub", in + "/inner");                    // one staying in
  QFile::link(dir.path() + "/Elsewhere/none", in + "/dead");  // pointing nowhere, outside
  QFile::link(in + "/loop2", in + "/loop1");
  QFile::link(in + "/loop1", in + "/loop2");
  for (const QString& inside : {in + "/page.htm", in + "/inner/page.htm", in + "/Sub/../page.htm"})
    EXPECT_TRUE(base::StaysInside(in, inside)) << qPrintable(inside);
  // ".." after a link is the parent of its target; "Folder2" is a sibling whose name starts the same.
  for (const QString& outside : {in + "/../page.htm", in + "/out/page.htm", in + "/out/../Sub/x", in + "/dead",
                                 in + "/loop1", in, dir.path() + "/Folder2/x"})
    EXPECT_FALSE(base::StaysInside(in, outside)) << qPrintable(outside);
}

// --- the writer and the reader on odd files ---------------------------------------------

TEST(FileIo, ALinkedFileIsWrittenWhereItPointsAndStaysALink) {
  QTemporaryDir dir;
  test::WriteBytes(dir.path() + "/real.dat", "old");
  QFile::link(dir.path() + "/real.dat", dir.path() + "/link.dat");
  ASSERT_TRUE(base::WriteFileAtomic(dir.path() + "/link.dat", "new"));
  EXPECT_EQ(test::ReadBytes(dir.path() + "/real.dat"), "new");
  EXPECT_TRUE(QFileInfo(dir.path() + "/link.dat").isSymLink());
}

}  // namespace
