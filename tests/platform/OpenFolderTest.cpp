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

}  // namespace
}  // namespace qv::test
