#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "XSession.h"
#include "platform/Platform.h"

namespace qv::test {
namespace {

void WriteScript(const QString& path, const QByteArray& body) {
  WriteBytes(path, body);
  QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ReadOwner);
}

TEST(ProcessLauncher, StartsTheProgramInTheGivenFolder) {
  QTemporaryDir programDir, workDir;
  const QString script = programDir.path() + "/where.sh";
  WriteScript(script, "#!/bin/sh\npwd > started_here.txt\n");
  platform::Platform p = platform::CreatePlatform(programDir.path());
  const platform::LaunchResult r = p.processLauncher->Start(script, workDir.path());
  ASSERT_TRUE(r.started) << r.error.toStdString();
  EXPECT_GT(r.processId, 0);
  const QString out = workDir.path() + "/started_here.txt";
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(out).endsWith('\n'); }));
  EXPECT_EQ(QDir(QString::fromLocal8Bit(ReadBytes(out).trimmed())).canonicalPath(),
            QDir(workDir.path()).canonicalPath());
}

TEST(ProcessLauncher, ReportsWhatCannotBeStarted) {
  QTemporaryDir dir;
  platform::Platform p = platform::CreatePlatform(dir.path());
  WriteBytes(dir.path() + "/notes.txt", "not a program");  // not executable
  for (const QString& program : {dir.path() + "/missing.exe", dir.path() + "/notes.txt"}) {
    const platform::LaunchResult r = p.processLauncher->Start(program, dir.path());
    EXPECT_FALSE(r.started) << program.toStdString();
    EXPECT_FALSE(r.error.isEmpty());
  }
}

TEST(ProcessLauncher, WindowsProgramWithoutWineIsReportedNotStarted) {
  if (!QStandardPaths::findExecutable("wine").isEmpty()) GTEST_SKIP() << "wine is installed";
  QTemporaryDir dir;
  const QString exe = dir.path() + "/fsx.exe";
  WriteScript(exe, "MZ\x90\0 not really a program");
  platform::Platform p = platform::CreatePlatform(dir.path());
  const platform::LaunchResult r = p.processLauncher->Start(exe, dir.path());
  EXPECT_FALSE(r.started);
  EXPECT_FALSE(r.error.isEmpty());
}

}  // namespace
}  // namespace qv::test
