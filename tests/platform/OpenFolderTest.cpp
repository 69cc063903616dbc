#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "TestEnv.h"
#include "platform/FolderListing.h"

namespace qv::test {
namespace {

using platform::FileRead;
using platform::FolderEntry;

// An open folder sees what a listing by path sees, links followed, and reads
// its files by name as ReadFileUpTo does: sizes at the limit, a folder, a pipe
// (never waited on), a missing name and a dangling link.
TEST(OpenFolder, ListsAndReadsAsThePathFunctionsDo) {
  QTemporaryDir root;
  const QString base = root.path() + "/Airplanes";
  ASSERT_TRUE(QDir().mkpath(base + "/Plane/texture.1"));
  WriteBytes(base + "/Plane/Aircraft.CFG", QByteArray(100, 'x'));
  WriteBytes(base + "/Plane/big.cfg", QByteArray(101, 'x'));
  ASSERT_TRUE(QFile::link(base + "/Plane/texture.1", base + "/Plane/texture.link"));
  ASSERT_TRUE(QFile::link(base + "/Plane/Aircraft.CFG", base + "/Plane/cfg.link"));
  ASSERT_TRUE(QFile::link(base + "/Plane/nothing", base + "/Plane/dangling"));
  ASSERT_EQ(mkfifo(QFile::encodeName(base + "/Plane/pipe").constData(), 0644), 0);

  const platform::OpenFolder objects(base);
  const platform::OpenFolder plane(objects, "Plane");
  ASSERT_TRUE(plane.isOpen());
  const auto sorted = [](std::vector<FolderEntry> v) {
    std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    std::vector<std::pair<QString, FolderEntry::Kind>> out;
    for (const auto& e : v) out.emplace_back(e.name, e.kind);
    return out;
  };
  EXPECT_EQ(sorted(plane.entries()), sorted(platform::ListFolder(base + "/Plane")));
  const auto kinds = sorted(plane.entries());
  EXPECT_EQ(kinds, (std::vector<std::pair<QString, FolderEntry::Kind>>{{"Aircraft.CFG", FolderEntry::File},
                                                                       {"big.cfg", FolderEntry::File},
                                                                       {"cfg.link", FolderEntry::File},
                                                                       {"dangling", FolderEntry::Other},
                                                                       {"pipe", FolderEntry::Other},
                                                                       {"texture.1", FolderEntry::Folder},
                                                                       {"texture.link", FolderEntry::Folder}}));

  for (const QString name : {"Aircraft.CFG", "big.cfg", "cfg.link", "texture.1", "pipe", "none", "dangling"}) {
    QByteArray viaFolder, viaPath;
    QString whyFolder, whyPath;
    const FileRead a = plane.read(name, 100, viaFolder, whyFolder);
    const FileRead b = platform::ReadFileUpTo(base + "/Plane/" + name, 100, viaPath, whyPath);
    EXPECT_EQ(a, b) << qPrintable(name);
    EXPECT_EQ(viaFolder, viaPath) << qPrintable(name);
    EXPECT_EQ(whyFolder, whyPath) << qPrintable(name);
  }
  QByteArray bytes;
  QString why;
  EXPECT_EQ(plane.read("cfg.link", 100, bytes, why), FileRead::Ok);
  EXPECT_EQ(bytes.size(), 100);

  const platform::OpenFolder missing(objects, "Nowhere");
  EXPECT_FALSE(missing.isOpen());
  EXPECT_TRUE(missing.entries().empty());
  EXPECT_EQ(missing.read("Aircraft.CFG", 100, bytes, why), FileRead::Missing);
}

// A buffer handed in file after file: each read gives exactly that file
// (never the tail of a longer one read before), grows for a file larger
// than it, and leaves alone a copy taken of an earlier read.
TEST(OpenFolder, ReadsListedFilesIntoOneBuffer) {
  QTemporaryDir root;
  const QByteArray large = QByteArray(40000, 'L') + "end";
  const QByteArray medium = QByteArray(3000, 'm');
  WriteBytes(root.path() + "/large.cfg", large);
  WriteBytes(root.path() + "/medium.cfg", medium);
  WriteBytes(root.path() + "/small.cfg", "tiny");
  WriteBytes(root.path() + "/empty.cfg", "");
  WriteBytes(root.path() + "/over.cfg", QByteArray(101, 'x'));
  const platform::OpenFolder folder(root.path());
  ASSERT_TRUE(folder.isOpen());

  QByteArray buffer;
  QString why;
  ASSERT_EQ(folder.readListedFile("medium.cfg", 100000, buffer, why), FileRead::Ok);
  EXPECT_EQ(buffer, medium);
  const QByteArray kept = buffer;  // shares the buffer, as a file's text does
  ASSERT_EQ(folder.readListedFile("small.cfg", 100000, buffer, why), FileRead::Ok);
  EXPECT_EQ(buffer, "tiny");
  EXPECT_EQ(kept, medium);
  ASSERT_EQ(folder.readListedFile("large.cfg", 100000, buffer, why), FileRead::Ok);
  EXPECT_EQ(buffer, large);
  ASSERT_EQ(folder.readListedFile("small.cfg", 100000, buffer, why), FileRead::Ok);
  EXPECT_EQ(buffer, "tiny");
  ASSERT_EQ(folder.readListedFile("empty.cfg", 100000, buffer, why), FileRead::Ok);
  EXPECT_TRUE(buffer.isEmpty());
  EXPECT_EQ(folder.readListedFile("over.cfg", 100, buffer, why), FileRead::TooLarge);
  EXPECT_EQ(folder.readListedFile("large.cfg", 20000, buffer, why), FileRead::TooLarge);  // beyond the buffer too
  EXPECT_TRUE(buffer.isEmpty());
  EXPECT_EQ(folder.readListedFile("none.cfg", 100, buffer, why), FileRead::Missing);
  ASSERT_EQ(folder.readListedFile("small.cfg", 100, buffer, why), FileRead::Ok);
  EXPECT_EQ(buffer, "tiny");
  // Listing again starts from the top: the same entries each time.
  EXPECT_EQ(folder.entries().size(), 5u);
  EXPECT_EQ(folder.entries().size(), 5u);
}

}  // namespace
}  // namespace qv::test
