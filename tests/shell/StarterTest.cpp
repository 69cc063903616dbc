#include <gtest/gtest.h>
#include <QRegularExpression>

#include "TestEnv.h"
#include "core/shell/Launch.h"
#include "gui/shell/frm_Starter.h"

namespace qv::test {
namespace {

class StarterTest : public ::testing::Test {
 protected:
  StarterTest() : env(install.installDir), starter(env.ctx) {
    starter.restoreInterface = [this] { env.log << "view:interface"; };
    env.windowProbe->classes << "FS98MAIN";
    env.windowProbe->titles << "VT Murmex";
  }
  // The starter after its first tick: in the tray, watching.
  void IntoTray() {
    starter.ShowLaunching();
    starter.ArmTimer1();
    starter.Timer1Tick();
  }

  TestInstallation install;
  TestEnv env;
  shell::frm_Starter starter;
};

TEST_F(StarterTest, IsBuiltWithItsTimersAndMenu) {
  EXPECT_EQ(starter.objectName(), "frm_Starter");
  EXPECT_EQ(starter.windowTitle(), "Quorvane");
  EXPECT_EQ(starter.Timer1->interval(), 2500);
  EXPECT_EQ(starter.Timer2->interval(), 25000);
  EXPECT_FALSE(starter.Timer1->isActive());
  EXPECT_FALSE(starter.Timer2->isActive());
  const QList<QAction*> items = starter.mnuForm->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Restore");
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_EQ(items[2]->text(), "Exit");
  EXPECT_EQ(starter.lbl_Version->text(), "Version: " QV_VERSION);
}

TEST_F(StarterTest, FirstTickMovesIntoTheTrayAndHandsOverToTheWatch) {
  starter.ShowLaunching();
  EXPECT_TRUE(starter.isVisible());
  EXPECT_FALSE(starter.trayIconAdded());
  starter.ArmTimer1();
  EXPECT_TRUE(starter.Timer1->isActive());

  starter.Timer1Tick();
  EXPECT_TRUE(starter.trayIconAdded());
  EXPECT_EQ(starter.trayIcon()->toolTip(), "Quorvane");
  EXPECT_EQ(starter.trayIcon()->contextMenu(), starter.mnuForm);
  EXPECT_FALSE(starter.trayIcon()->icon().isNull());
  EXPECT_TRUE(starter.windowState() & Qt::WindowMinimized);
  // Hidden in the tray where there is one; else left in the task bar with a
  // word on how to reach the menu.
  EXPECT_EQ(starter.isVisible(), !starter.trayAvailable());
  EXPECT_EQ(starter.lbl_Reach->isVisibleTo(&starter), !starter.trayAvailable());
  EXPECT_FALSE(starter.Timer1->isActive());
  EXPECT_TRUE(starter.Timer2->isActive());
  EXPECT_FALSE(env.shutdown.HasShutDown());
}

TEST_F(StarterTest, WatchEndsTheSystemWhenAProgramIsGone) {
  IntoTray();
  starter.Timer2Tick();
  EXPECT_FALSE(env.shutdown.HasShutDown());
  env.windowProbe->classes.clear();
  starter.Timer2Tick();
  EXPECT_TRUE(env.log.contains("close:VT Murmex"));
  EXPECT_TRUE(env.shutdown.HasShutDown());
}

TEST_F(StarterTest, RestoreBringsTheInterfaceBackAndStopsWatching) {
  IntoTray();
  starter.mnuRestore->trigger();
  EXPECT_FALSE(starter.isVisible());
  EXPECT_FALSE(starter.windowState() & Qt::WindowMinimized);
  EXPECT_FALSE(starter.trayIconAdded());
  EXPECT_FALSE(starter.trayIcon()->isVisible());
  EXPECT_FALSE(starter.Timer2->isActive());
  EXPECT_TRUE(env.log.contains("view:interface"));
  EXPECT_FALSE(env.log.contains("close:VT Murmex"));
  EXPECT_FALSE(env.shutdown.HasShutDown());
}

TEST_F(StarterTest, ExitClosesTheRuntimeAndEnds) {
  IntoTray();
  starter.mnuClose->trigger();
  EXPECT_EQ(env.log.filter(QRegularExpression("^(close|shutdown):")),
            (QStringList{"close:VT Murmex", "shutdown:tray", "shutdown:screens"}));
  EXPECT_TRUE(env.windowProbe->classes.contains("FS98MAIN"));
}

TEST_F(StarterTest, MinimiseOfTheFrameGoesStraightToTheTray) {
  starter.GoToTray();
  EXPECT_TRUE(starter.trayIconAdded());
  EXPECT_TRUE(starter.windowState() & Qt::WindowMinimized);
  EXPECT_FALSE(starter.Timer1->isActive());
  EXPECT_TRUE(starter.Timer2->isActive());
}

TEST_F(StarterTest, RestoredStarterCanGoBackToTheTray) {
  IntoTray();
  starter.Restore();
  starter.ShowLaunching();
  EXPECT_FALSE(starter.windowState() & Qt::WindowMinimized);
  starter.ArmTimer1();
  starter.Timer1Tick();
  EXPECT_TRUE(starter.trayIconAdded());
  EXPECT_TRUE(starter.Timer2->isActive());
}

}  // namespace
}  // namespace qv::test
