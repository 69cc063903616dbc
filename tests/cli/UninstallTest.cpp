// Taking an installation out of a simulator: nothing is removed while an
// original kneeboard page is not back, and once every page is, the aircraft
// folders are as they were before the first page was written.
#include <gtest/gtest.h>

#include <QDir>

#include "FaultSupport.h"
#include "TestEnv.h"

namespace qv::test {
namespace {

TEST(Uninstall, StopsWhileAPageIsNotBackThenLeavesTheAircraftAsTheyWere) {
  SampleInstallation sample;
  const QString objects = sample.inst.simDir + "/SimObjects";
  const Snapshot before = TakeSnapshot(objects);
  const CliResult written = RunCli({"kneeboards", "update", sample.inst.installDir});
  ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
  const Snapshot during = TakeSnapshot(objects);
  QString page;  // a page the update replaced
  for (auto it = before.cbegin(); it != before.cend() && page.isEmpty(); ++it)
    if (during.value(it.key()) != it.value()) page = objects + "/" + it.key();
  ASSERT_FALSE(page.isEmpty()) << "no page was written";

  if (!SetImmutable(page, true)) GTEST_SKIP() << "the immutable attribute cannot be set here";
  const CliResult refused = RunCli({"uninstall", sample.inst.simDir});
  SetImmutable(page, false);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.err.contains("not back yet")) << refused.err.toStdString();
  EXPECT_TRUE(QFileInfo(sample.inst.settingsPath()).isFile()) << "removed with a page still out";
  EXPECT_EQ(ReadBytes(page), during.value(QDir(objects).relativeFilePath(page)));

  const CliResult removed = RunCli({"uninstall", sample.inst.simDir});
  EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(sample.inst.simDir + "/Veltrane Software"));
  EXPECT_EQ(TakeSnapshot(objects), before);
}

}  // namespace
}  // namespace qv::test
