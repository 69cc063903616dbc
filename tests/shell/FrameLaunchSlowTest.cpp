// The frame's "close" and the restart prompt's OK, driven through the real
// frame, router and dialogs, with the stand-in programs, the real launcher and
// the real window probe on an X server of the test's own.
#include <gtest/gtest.h>

#include <QFile>

#include "TestEnv.h"
#include "UiEnv.h"
#include "XSession.h"
#include "core/shell/Launch.h"
#include "gui/kit/Router.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/shell/frm_Parent.h"
#include "gui/shell/frm_Starter.h"
#include "platform/Platform.h"

namespace qv::test {
namespace {

const QString kTools = QStringLiteral(QV_TOOLS_DIR);

class FrameLaunchSlow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x.usable()) GTEST_SKIP() << "no X server";
    for (const auto& [from, to] : {std::pair{kTools + "/fsx.exe", ui.install.simDir + "/fsx.exe"},
                                   std::pair{kTools + "/murmexr.exe", ui.install.installDir + "/murmexr.exe"}}) {
      QFile::remove(to);
      ASSERT_TRUE(QFile::copy(from, to));
      QFile::setPermissions(to, QFile::permissions(to) | QFile::ExeOwner);
    }
    platform::Platform real = platform::CreatePlatform(ui.install.installDir);
    ui.env.platform.windowProbe = std::move(real.windowProbe);
    auto tracking = std::make_unique<TrackingLauncher>(std::move(real.processLauncher));
    launcher = tracking.get();
    ui.env.platform.processLauncher = std::move(tracking);

    starter = std::make_unique<shell::frm_Starter>(ui.env.ctx);
    view.showInterface = [] {};
    view.showStarter = [this] { starter->ShowLaunching(); };
    view.armStarter = [this] { starter->ArmTimer1(); };
    view.setLaunchEnabled = [](bool) {};
    // the hooks as the program wires them
    ui.launch.isSimRunning = [this] { return shell::IsSimRunning(ui.env.ctx); };
    ui.launch.isRuntimeRunning = [this] { return shell::IsRuntimeRunning(ui.env.ctx); };
    ui.launch.closeRuntime = [this] { shell::CloseRuntime(ui.env.ctx); };
    ui.launch.restartRuntime = [this] { shell::RestartRuntime(ui.env.ctx, view); };
  }
  void TearDown() override { starter.reset(); }

  bool SimUp() { return shell::IsSimRunning(ui.env.ctx); }
  bool RuntimeUp() { return shell::IsRuntimeRunning(ui.env.ctx); }
  qint64 Start(const QString& program, const QString& folder) { return launcher->Start(program, folder).processId; }

  XSession x;  // first in, last out
  UiEnv ui;
  TrackingLauncher* launcher = nullptr;
  std::unique_ptr<shell::frm_Starter> starter;
  shell::LaunchView view;
};

TEST_F(FrameLaunchSlow, CloseWithTheRuntimeRunningClosesItAndEnds) {
  const qint64 runtime = Start(ui.install.installDir + "/murmexr.exe", ui.install.installDir);
  ASSERT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
  ui.frame->show();
  Click(ui.frame->findChild<ui::SkinnedButton*>("btn_Close"));
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  EXPECT_FALSE(RuntimeUp());
  EXPECT_EQ(ui.env.exit.calls, 1);
}

TEST_F(FrameLaunchSlow, RestartPromptOkRestartsTheRuntime) {
  const qint64 sim = Start(ui.install.simDir + "/fsx.exe", ui.install.simDir);
  const qint64 runtime = Start(ui.install.installDir + "/murmexr.exe", ui.install.installDir);
  ASSERT_TRUE(WaitUntil([&] { return SimUp() && RuntimeUp(); }));
  ui.frame->show();
  ui.AnswerWith("btn_OK");
  ui.dialogs->ShowMessage("Grammars and Readbacks Saved", "restart?", shell::kIconInformation, true, true,
                          "gcompile_restart");
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(runtime); }));
  ASSERT_TRUE(WaitUntil([&] { return RuntimeUp(); }));
  EXPECT_EQ(launcher->started(), 3);  // ours two, and the new runtime
  EXPECT_TRUE(ProcessAlive(sim));
  EXPECT_FALSE(ui.frame->isVisible());  // the screens went away for the tray
}

}  // namespace
}  // namespace qv::test
