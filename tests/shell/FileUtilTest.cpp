#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "base/FileUtil.h"

using namespace qv;

TEST(DeleteFileIfPresent, DeletesOrReportsAFileItCannotDelete) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/a.dat";
  EXPECT_TRUE(base::DeleteFileIfPresent(path));  // nothing there
  test::WriteBytes(path, "x");
  EXPECT_TRUE(base::DeleteFileIfPresent(path));
  EXPECT_FALSE(QFile::exists(path));

  // A file in a folder without write permission cannot go: the retries end
  // and the caller is told. (Root ignores permissions, so skip there.)
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const QString locked = dir.path() + "/locked";
  QDir().mkpath(locked);
  test::WriteBytes(locked + "/b.dat", "x");
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  EXPECT_FALSE(base::DeleteFileIfPresent(locked + "/b.dat"));
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(WriteFileAtomic, AFailedWriteLeavesThePreviousFile) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/CommandList.dat";
  ASSERT_TRUE(base::WriteFileAtomic(path, "first"));
  ASSERT_TRUE(base::KeepBackup(path, dir.path() + "/CommandList.bak"));
  ASSERT_TRUE(base::WriteFileAtomic(path, "second"));
  EXPECT_EQ(test::ReadBytes(path), "second");
  EXPECT_EQ(test::ReadBytes(dir.path() + "/CommandList.bak"), "first");
  // the target is a folder: the write fails and nothing is lost
  QString error;
  EXPECT_FALSE(base::WriteFileAtomic(dir.path(), "x", &error));
  EXPECT_FALSE(error.isEmpty());
}
