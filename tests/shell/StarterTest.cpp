#include <gtest/gtest.h>

#include "AppHarness.h"
#include "gui/shell/frm_Starter.h"

namespace qv::test {

// The starter through a launch: into the tray after its first tick, back to
// the interface with Restore, and the watch and Exit ending the system.
TEST(Starter, IntoTheTrayRestoreWatchAndExit) {
  AppHarness h;
  h.SetRunning(true, true);
  shell::frm_Starter& starter = h.app->starter();
  const QList<QAction*> items = starter.mnuForm->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text() + items[2]->text(), "RestoreExit");
  for (int round = 0; round < 2; ++round) {
    starter.ShowLaunching();
    starter.ArmTimer1();
    EXPECT_TRUE(starter.isVisible());
    starter.Timer1Tick();
    EXPECT_TRUE(starter.trayIconAdded());
    EXPECT_EQ(starter.trayIcon()->contextMenu(), starter.mnuForm);
    EXPECT_TRUE(starter.windowState() & Qt::WindowMinimized);
    // Hidden in the tray where there is one; else left in the task bar with
    // a word on how to reach the menu.
    EXPECT_EQ(starter.isVisible(), !starter.trayAvailable());
    EXPECT_EQ(starter.lbl_Reach->isVisibleTo(&starter), !starter.trayAvailable());
    EXPECT_FALSE(starter.Timer1->isActive());
    EXPECT_TRUE(starter.Timer2->isActive());
    if (round == 1) break;
    starter.mnuRestore->trigger();
    EXPECT_FALSE(starter.isVisible() || starter.trayIconAdded() || starter.Timer2->isActive());
    EXPECT_EQ(h.frame().currentScreen, "frm_Home");
    EXPECT_TRUE(h.frame().isVisible() && h.frame().Timer1->isActive());
  }
  starter.Timer2Tick();  // both still run
  EXPECT_EQ(h.fakes.exit->calls, 0);
  h.SetRunning(false, true);
  starter.Timer2Tick();  // the simulator gone takes the runtime with it
  EXPECT_EQ(h.log.filter("close:"), QStringList{"close:VT Murmex"});
  EXPECT_EQ(h.fakes.exit->calls, 1);
  EXPECT_FALSE(starter.trayIconAdded());  // the shutdown took the icon away
}

TEST(Starter, ExitClosesOnlyTheRuntime) {
  AppHarness h;
  h.SetRunning(true, true);
  h.app->starter().GoToTray();
  h.app->starter().mnuClose->trigger();
  EXPECT_EQ(h.log.filter("close:"), QStringList{"close:VT Murmex"});
  EXPECT_EQ(h.fakes.exit->calls, 1);
  EXPECT_TRUE(h.fakes.windowProbe->classes.contains("FS98MAIN"));
}

}  // namespace qv::test
