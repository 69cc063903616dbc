#include <gtest/gtest.h>

#include <QRegularExpression>

#include "AppHarness.h"
#include "core/shell/Launch.h"
#include "gui/shell/frm_Starter.h"

namespace qv::test {
namespace {

class StarterTest : public ::testing::Test {
 protected:
  StarterTest() : starter(h.app->starter()) { h.SetRunning(true, true); }
  // The starter after its first tick: in the tray, watching.
  void IntoTray() {
    starter.ShowLaunching();
    starter.ArmTimer1();
    starter.Timer1Tick();
  }

  AppHarness h;
  shell::frm_Starter& starter;
};

TEST_F(StarterTest, FirstTickMovesIntoTheTrayAndHandsOverToTheWatch) {
  EXPECT_EQ(starter.Timer1->interval(), 2500);
  EXPECT_EQ(starter.Timer2->interval(), 25000);
  const QList<QAction*> items = starter.mnuForm->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Restore");
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_EQ(items[2]->text(), "Exit");
  starter.ShowLaunching();
  EXPECT_TRUE(starter.isVisible());
  EXPECT_FALSE(starter.trayIconAdded());
  starter.ArmTimer1();
  EXPECT_TRUE(starter.Timer1->isActive());

  starter.Timer1Tick();
  EXPECT_TRUE(starter.trayIconAdded());
  EXPECT_EQ(starter.trayIcon()->toolTip(), "Quorvane");
  EXPECT_EQ(starter.trayIcon()->contextMenu(), starter.mnuForm);
  EXPECT_TRUE(starter.windowState() & Qt::WindowMinimized);
  // Hidden in the tray where there is one; else left in the task bar with a
  // word on how to reach the menu.
  EXPECT_EQ(starter.isVisible(), !starter.trayAvailable());
  EXPECT_EQ(starter.lbl_Reach->isVisibleTo(&starter), !starter.trayAvailable());
  EXPECT_FALSE(starter.Timer1->isActive());
  EXPECT_TRUE(starter.Timer2->isActive());
}

TEST_F(StarterTest, WatchEndsTheSystemWhenTheSimulatorIsGone) {
  IntoTray();
  starter.Timer2Tick();
  EXPECT_EQ(h.fakes.exit->calls, 0);
  h.SetRunning(false, true);
  starter.Timer2Tick();
  EXPECT_TRUE(h.log.contains("close:VT Murmex"));
  EXPECT_EQ(h.fakes.exit->calls, 1);
}

TEST_F(StarterTest, RestoreBringsTheInterfaceBackAndCanGoBackToTheTray) {
  IntoTray();
  starter.mnuRestore->trigger();
  EXPECT_FALSE(starter.isVisible());
  EXPECT_FALSE(starter.trayIconAdded());
  EXPECT_FALSE(starter.Timer2->isActive());
  EXPECT_TRUE(h.frame().isVisible());
  EXPECT_EQ(h.frame().currentScreen, "frm_Home");
  EXPECT_TRUE(h.frame().Timer1->isActive());
  EXPECT_FALSE(h.log.contains("close:VT Murmex"));
  IntoTray();
  EXPECT_TRUE(starter.trayIconAdded());
  EXPECT_TRUE(starter.Timer2->isActive());
}

TEST_F(StarterTest, ExitClosesTheRuntimeAndEnds) {
  IntoTray();
  starter.mnuClose->trigger();
  EXPECT_EQ(h.log.filter(QRegularExpression("^close:")), QStringList{"close:VT Murmex"});
  EXPECT_FALSE(starter.trayIconAdded());  // the shutdown took the icon away
  EXPECT_EQ(h.fakes.exit->calls, 1);
  EXPECT_TRUE(h.fakes.windowProbe->classes.contains("FS98MAIN"));
}

}  // namespace
}  // namespace qv::test
