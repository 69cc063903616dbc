#include <gtest/gtest.h>

#include <QFont>

#include "UiEnv.h"
#include "core/shell/ScreenTips.h"
#include "gui/kit/SmallFontFix.h"
#include "gui/kit/frm_LC.h"

using namespace qv;

namespace {

int VisibleHosted(shell::frm_Parent& frame) {
  int n = 0;
  for (const QString& name : shell::frm_Parent::HostedScreens())
    if (frame.isLoaded(name) && frame.screen(name)->isVisible()) ++n;
  return n;
}

ui::SkinnedButton* HomeButton(shell::frm_Parent& frame, const char* name) {
  return frame.screen("frm_Home")->findChild<ui::SkinnedButton*>(name);
}

}  // namespace

TEST(Navigation, FrameAndHomeAreLaidOut) {
  test::UiEnv ui;
  shell::frm_Parent& f = *ui.frame;
  EXPECT_EQ(f.size(), QSize(800, 600));
  EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(f.btn_Minimize->pos(), QPoint(726, 12));
  EXPECT_EQ(f.btn_Close->pos(), QPoint(761, 12));
  EXPECT_EQ(f.lbl_Version->text(), "Version: " + QCoreApplication::applicationVersion());
  EXPECT_FALSE(f.Timer1->isActive());
  EXPECT_EQ(f.Timer1->interval(), 5000);
  QWidget* home = f.screen("frm_Home");
  EXPECT_EQ(home->size(), QSize(790, 447));
  const QStringList buttons{"btn_LearningCenter", "btn_SpeechConfig", "btn_ChecklistAssignments",
                            "btn_ChecklistModification", "btn_Launch"};
  for (int i = 0; i < buttons.size(); ++i) {
    auto* b = HomeButton(f, qPrintable(buttons[i]));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->pos(), QPoint(471, 59 + 70 * i));
    EXPECT_EQ(b->kind(), ui::ButtonKind::Large);
  }
}

TEST(Navigation, EachHomeButtonEntersItsScreenAndExactlyOneScreenShows) {
  test::UiEnv ui;
  shell::LoadScreenTips(ui.env.state);
  shell::frm_Parent& f = *ui.frame;
  f.show();
  f.ShowInParent("frm_Home");
  EXPECT_EQ(VisibleHosted(f), 1);
  struct Case {
    const char* button;
    const char* screen;
    bool ok, compile;
    int cancelLeft;
  } cases[] = {{"btn_ChecklistModification", "frm_Modify", true, false, 581},
               {"btn_ChecklistAssignments", "frm_Assign", true, false, 581},
               {"btn_SpeechConfig", "frm_Configure", true, true, 476},
               {"btn_LearningCenter", "frm_LC", false, false, 686}};
  for (const Case& c : cases) {
    test::Click(HomeButton(f, c.button));
    EXPECT_EQ(f.currentScreen, c.screen);
    EXPECT_EQ(VisibleHosted(f), 1) << c.screen;
    QWidget* s = f.screen(c.screen);
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->parentWidget(), &f);
    EXPECT_EQ(s->pos(), QPoint(5, 101));
    EXPECT_EQ(f.lbl_TipText->text(), QString(ui.env.state.screenTips.value(c.screen)).replace(u'\r', u'\n'));
    EXPECT_EQ(f.btn_OK->isVisible(), c.ok) << c.screen;
    EXPECT_EQ(f.btn_Compile->isVisible(), c.compile) << c.screen;
    EXPECT_TRUE(f.btn_Cancel->isVisible());
    EXPECT_EQ(f.btn_Cancel->x(), c.cancelLeft);
    EXPECT_EQ(f.btn_Cancel->form_name(), s);
    if (c.ok) {
      EXPECT_EQ(f.btn_OK->state(), "disabled");  // nothing changed yet
    }
    // The frame's return button goes home and hides the context buttons.
    test::Click(f.btn_Cancel);
    EXPECT_EQ(f.currentScreen, "frm_Home");
    EXPECT_EQ(VisibleHosted(f), 1);
    EXPECT_FALSE(f.btn_Cancel->isVisible());
    EXPECT_FALSE(f.btn_OK->isVisible());
    EXPECT_EQ(s->parentWidget(), nullptr);  // its previous parent is back
  }
}

TEST(Navigation, HideScreenIgnoresCaseAndUnknownNames) {
  test::UiEnv ui;
  shell::frm_Parent& f = *ui.frame;
  f.show();
  f.ShowInParent("frm_Modify");
  f.HideScreen("FRM_HOME");
  EXPECT_TRUE(f.screen("frm_Modify")->isVisible());
  f.HideScreen("frm_Splash");
  EXPECT_TRUE(f.screen("frm_Modify")->isVisible());
  f.HideScreen("FRM_MODIFY");
  EXPECT_FALSE(f.screen("frm_Modify")->isVisible());
  EXPECT_EQ(VisibleHosted(f), 0);
}

TEST(Navigation, LaunchHidesEverythingAndHandsOver) {
  test::UiEnv ui;
  shell::frm_Parent& f = *ui.frame;
  f.show();
  f.ShowInParent("frm_Home");
  int launches = 0;
  ui.launch.launchAndMonitor = [&] { ++launches; };
  test::Click(HomeButton(f, "btn_Launch"));
  EXPECT_EQ(launches, 1);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(VisibleHosted(f), 0);
}

TEST(Navigation, CloseEndsTheRuntimeFirstAndMinimiseGoesToTheTrayOnlyWithIt) {
  for (bool runtime : {false, true}) {
    test::UiEnv ui;
    QStringList log;
    ui.launch.isRuntimeRunning = [&] { return runtime; };
    ui.launch.closeRuntime = [&] { log << "closeRuntime"; };
    ui.launch.goToTray = [&] { log << "tray"; };
    shell::frm_Parent& f = *ui.frame;
    f.show();
    f.ShowInParent("frm_Home");
    f.Timer1->start();
    test::Click(f.btn_Minimize);
    EXPECT_EQ(log.contains("tray"), runtime);
    EXPECT_EQ(f.Timer1->isActive(), !runtime);
    test::Click(f.btn_Close);
    EXPECT_EQ(log.contains("closeRuntime"), runtime);
    EXPECT_TRUE(ui.env.shutdown.HasShutDown());
  }
}

TEST(Navigation, Timer1ReenablesLaunchOnceTheRuntimeIsGone) {
  test::UiEnv ui;
  bool runtime = true;
  ui.launch.isRuntimeRunning = [&] { return runtime; };
  auto* launch = HomeButton(*ui.frame, "btn_Launch");
  launch->setState("disabled");
  ui.frame->Timer1Tick();
  EXPECT_EQ(launch->state(), "disabled");
  runtime = false;
  ui.frame->Timer1Tick();
  EXPECT_EQ(launch->state(), "enabled");
}

TEST(Navigation, DraggingTheFrameNeedsTheLeftButton) {
  test::UiEnv ui;
  shell::frm_Parent& f = *ui.frame;
  f.show();
  f.move(100, 100);
  const QPoint start = f.pos();
  QTest::mousePress(&f, Qt::RightButton, {}, QPoint(200, 50));
  QMouseEvent move(QEvent::MouseMove, QPointF(260, 90), f.mapToGlobal(QPointF(260, 90)), Qt::NoButton, Qt::RightButton,
                   {});
  QCoreApplication::sendEvent(&f, &move);
  QTest::mouseRelease(&f, Qt::RightButton, {}, QPoint(260, 90));
  EXPECT_EQ(f.pos(), start);

  QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(200, 50));
  QMouseEvent drag(QEvent::MouseMove, QPointF(260, 90), f.mapToGlobal(QPointF(260, 90)), Qt::NoButton, Qt::LeftButton,
                   {});
  QCoreApplication::sendEvent(&f, &drag);
  QTest::mouseRelease(&f, Qt::LeftButton, {}, QPoint(260, 90));
  EXPECT_EQ(f.pos(), start + QPoint(60, 40));
}

// A press whose release went elsewhere (the screen changed under the mouse)
// must not turn the next press into a jump of the frame.
TEST(Navigation, APressAfterALostReleaseDoesNotMoveTheFrame) {
  test::UiEnv ui;
  shell::frm_Parent& f = *ui.frame;
  f.show();
  f.move(100, 100);
  const QPoint start = f.pos();
  QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(200, 50));  // no release follows
  QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(400, 80));
  QTest::mouseRelease(&f, Qt::LeftButton, {}, QPoint(400, 80));
  EXPECT_EQ(f.pos(), start);
}

TEST(SmallFontFix, At120DpiFontsShrinkAndPixelsStay) {
  test::UiEnv ui;
  QWidget* home = ui.frame->screen("frm_Home");
  QWidget* label = home->findChild<QWidget*>("lbl_Intro");
  ASSERT_NE(label, nullptr);
  const qreal before = label->font().pointSizeF();
  const QRect geometry = label->geometry();
  const ui::SmallFontFix fix = ui::ApplySmallFontFix(home, 120);
  EXPECT_EQ(fix.screenDpi, 120);
  EXPECT_FLOAT_EQ(fix.dpiScale, 0.8f);
  EXPECT_NEAR(label->font().pointSizeF(), before * 0.8, 0.01);
  EXPECT_EQ(label->geometry(), geometry);
  EXPECT_EQ(ui::PixelsToTwips(home->width(), 120), 9480);
  EXPECT_EQ(ui::PixelsToTwips(home->width(), 96), 11850);
  const ui::SmallFontFix standard = ui::ApplySmallFontFix(home, 96);
  EXPECT_FLOAT_EQ(standard.dpiScale, 1.0f);
  EXPECT_NEAR(label->font().pointSizeF(), before * 0.8, 0.01);  // 1.0 changes nothing
}
