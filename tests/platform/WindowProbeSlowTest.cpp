// The real window probe and launcher against the stand-in programs on an X
// server of the test's own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "XSession.h"
#include "platform/Platform.h"

namespace qv::test {
namespace {

const QString kTools = QStringLiteral(QV_TOOLS_DIR);

class WindowProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x.usable()) GTEST_SKIP() << "no X server";
    platform = platform::CreatePlatform(dir.path());
    launcher = std::make_unique<TrackingLauncher>(std::move(platform.processLauncher));
  }
  void TearDown() override {
    if (launcher) launcher->KillAll();
    platform.windowProbe.reset();  // its X connection goes before the server
  }
  platform::WindowProbe& probe() { return *platform.windowProbe; }
  qint64 Start(const QString& program) {
    const platform::LaunchResult r = launcher->Start(kTools + "/" + program, dir.path());
    EXPECT_TRUE(r.started) << r.error.toStdString();
    return r.processId;
  }

  XSession x;
  QTemporaryDir dir;
  platform::Platform platform;
  std::unique_ptr<TrackingLauncher> launcher;
};

TEST_F(WindowProbeTest, FindsTheSimulatorByClassAndTheRuntimeByTitle) {
  EXPECT_FALSE(probe().HasWindowOfClass("FS98MAIN"));
  EXPECT_FALSE(probe().HasWindowTitled("VT Murmex"));
  Start("fsx.exe");
  ASSERT_TRUE(WaitUntil([&] { return probe().HasWindowOfClass("FS98MAIN"); }));
  EXPECT_FALSE(probe().HasWindowTitled("VT Murmex"));
  Start("murmexr.exe");
  ASSERT_TRUE(WaitUntil([&] { return probe().HasWindowTitled("VT Murmex"); }));
  // Titles match exactly; neither program answers to the other's name.
  EXPECT_FALSE(probe().HasWindowTitled("VT Murmex "));
  EXPECT_FALSE(probe().HasWindowTitled("VT"));
  EXPECT_FALSE(probe().HasWindowOfClass("VT Murmex"));
  EXPECT_FALSE(probe().HasWindowTitled("FS98MAIN"));
  EXPECT_FALSE(probe().HasWindowOfClass("FS98"));
}

TEST_F(WindowProbeTest, CloseRequestEndsTheRuntimeAndLeavesTheSimulator) {
  const qint64 sim = Start("fsx.exe");
  const qint64 runtime = Start("murmexr.exe");
  ASSERT_TRUE(WaitUntil([&] { return probe().HasWindowOfClass("FS98MAIN") && probe().HasWindowTitled("VT Murmex"); }));

  EXPECT_TRUE(probe().CloseWindowTitled("VT Murmex"));
  // The probe waited for the request to be handled: the window is gone now.
  EXPECT_FALSE(probe().HasWindowTitled("VT Murmex"));
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  EXPECT_TRUE(probe().HasWindowOfClass("FS98MAIN"));
  EXPECT_TRUE(ProcessAlive(sim));
  EXPECT_FALSE(probe().CloseWindowTitled("VT Murmex"));
}

TEST_F(WindowProbeTest, ProgramThatVanishesIsNoLongerFound) {
  const qint64 sim = Start("fsx.exe");
  ASSERT_TRUE(WaitUntil([&] { return probe().HasWindowOfClass("FS98MAIN"); }));
  KillProcess(sim);
  EXPECT_TRUE(WaitUntil([&] { return !probe().HasWindowOfClass("FS98MAIN"); }));
}

TEST(WindowProbeWithoutDisplay, FindsNothing) {
  const QByteArray saved = qgetenv("DISPLAY");
  const bool had = qEnvironmentVariableIsSet("DISPLAY");
  qunsetenv("DISPLAY");
  QTemporaryDir dir;
  platform::Platform p = platform::CreatePlatform(dir.path());
  EXPECT_FALSE(p.windowProbe->HasWindowOfClass("FS98MAIN"));
  EXPECT_FALSE(p.windowProbe->HasWindowTitled("VT Murmex"));
  EXPECT_FALSE(p.windowProbe->CloseWindowTitled("VT Murmex"));
  if (had) qputenv("DISPLAY", saved);
}

}  // namespace
}  // namespace qv::test
