#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>

#include "AppHarness.h"
#include "core/shell/ScreenTips.h"
#include "gui/kit/SmallFontFix.h"
#include "gui/shell/ScreenTable.h"
#include "gui/shell/frm_Starter.h"

using namespace qv;

namespace {

int VisibleHosted(shell::frm_Parent& frame) {
  int n = 0;
  for (const shell::ScreenRow& row : shell::ScreenTable())
    if (frame.isLoaded(row.name) && frame.screen(row.name)->isVisible()) ++n;
  return n;
}

ui::SkinnedButton* HomeButton(shell::frm_Parent& frame, const char* name) {
  return frame.screen("frm_Home")->findChild<ui::SkinnedButton*>(name);
}

}  // namespace

TEST(Navigation, EachHomeButtonEntersItsScreenAndExactlyOneScreenShows) {
  test::AppHarness h;
  shell::LoadScreenTips(h.state());
  shell::frm_Parent& f = h.ShowFrame();
  EXPECT_EQ(f.size(), QSize(800, 600));
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
    EXPECT_EQ(s->parentWidget(), &f);
    EXPECT_EQ(s->pos(), QPoint(5, 101));
    EXPECT_EQ(s->size(), QSize(790, 447));
    EXPECT_EQ(f.btn_OK->isVisible(), c.ok) << c.screen;
    EXPECT_EQ(f.btn_Compile->isVisible(), c.compile) << c.screen;
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
  // Each screen's tip, paragraphs apart, whole in the title band beside the frame buttons.
  EXPECT_LT(f.lbl_TipText->geometry().right(), f.btn_Minimize->x());
  EXPECT_LE(f.lbl_TipText->geometry().bottom(), 101);
  for (const char* name : {"frm_Modify", "frm_Assign", "frm_Configure", "frm_Script", "frm_Test", "frm_LC"}) {
    f.Enter(name);
    const QLabel* tip = f.lbl_TipText;
    EXPECT_EQ(tip->text(), QString(h.state().screenTips.value(name)).replace(u'\r', u'\n'));
    const QRect box = tip->contentsRect();
    EXPECT_LE(
        QFontMetrics(tip->font()).boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap, tip->text()).height(),
        box.height())
        << name;
  }
  f.ReturnHome();
  // HideScreen compares names without regard to case; other names hide nothing.
  f.ShowInParent("frm_Modify");
  f.HideScreen("frm_Splash");
  EXPECT_EQ(VisibleHosted(f), 1);
  f.HideScreen("FRM_MODIFY");
  EXPECT_EQ(VisibleHosted(f), 0);
}

TEST(Navigation, LaunchHidesEverythingAndStartsThePrograms) {
  test::AppHarness h;
  shell::frm_Parent& f = h.ShowFrame();
  test::Click(HomeButton(f, "btn_Launch"));
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(VisibleHosted(f), 0);
  EXPECT_EQ(h.log.filter("start:"), (QStringList{"start:fsx.exe", "start:murmexr.exe"}));
  EXPECT_TRUE(h.app->starter().Timer1->isActive());
  EXPECT_EQ(HomeButton(f, "btn_Launch")->state(), "disabled");
  // The frame's timer gives the button back once the runtime is gone.
  f.Timer1Tick();
  EXPECT_EQ(HomeButton(f, "btn_Launch")->state(), "disabled");
  h.SetRunning(true, false);
  f.Timer1Tick();
  EXPECT_EQ(HomeButton(f, "btn_Launch")->state(), "enabled");
}

TEST(Navigation, CloseEndsTheRuntimeFirstAndMinimiseGoesToTheTrayOnlyWithIt) {
  for (bool runtime : {false, true}) {
    test::AppHarness h;
    h.SetRunning(true, runtime);
    shell::frm_Parent& f = h.ShowFrame();
    f.Timer1->start();
    test::Click(f.btn_Minimize);
    EXPECT_EQ(h.app->starter().Timer2->isActive(), runtime);
    EXPECT_EQ(f.Timer1->isActive(), !runtime);
    test::Click(f.btn_Close);
    EXPECT_EQ(h.log.contains("close:VT Murmex"), runtime);
    EXPECT_EQ(h.fakes.exit->calls, 1);
  }
}

TEST(Navigation, DraggingTheFrameNeedsTheLeftButtonAndEveryPressStartsAfresh) {
  test::AppHarness h;
  shell::frm_Parent& f = h.ShowFrame();
  f.move(100, 100);
  const QPoint start = f.pos();
  auto drag = [&f](Qt::MouseButton button, QPoint from, QPoint to, bool release = true) {
    QTest::mousePress(&f, button, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), f.mapToGlobal(QPointF(to)), Qt::NoButton, button, {});
    QCoreApplication::sendEvent(&f, &move);
    if (release) QTest::mouseRelease(&f, button, {}, to);
  };
  drag(Qt::RightButton, {200, 50}, {260, 90});
  EXPECT_EQ(f.pos(), start);
  // A press whose release went elsewhere must not turn the next press into a jump.
  QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(200, 50));
  QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(400, 80));
  QTest::mouseRelease(&f, Qt::LeftButton, {}, QPoint(400, 80));
  EXPECT_EQ(f.pos(), start);
  drag(Qt::LeftButton, {200, 50}, {260, 90});
  EXPECT_EQ(f.pos(), start + QPoint(60, 40));
}

TEST(SmallFontFix, At120DpiFontsShrinkAndPixelsStay) {
  test::AppHarness h;
  QWidget* home = h.frame().screen("frm_Home");
  QWidget* label = home->findChild<QWidget*>("lbl_Intro");
  ASSERT_NE(label, nullptr);
  const qreal before = label->font().pointSizeF();
  const QRect geometry = label->geometry();
  const ui::SmallFontFix fix = ui::ApplySmallFontFix(home, 120);
  EXPECT_FLOAT_EQ(fix.dpiScale, 0.8f);
  EXPECT_NEAR(label->font().pointSizeF(), before * 0.8, 0.01);
  EXPECT_EQ(label->geometry(), geometry);
  EXPECT_EQ(ui::PixelsToTwips(home->width(), 120), 9480);
  EXPECT_EQ(ui::PixelsToTwips(home->width(), 96), 11850);
  EXPECT_FLOAT_EQ(ui::ApplySmallFontFix(home, 96).dpiScale, 1.0f);
  EXPECT_NEAR(label->font().pointSizeF(), before * 0.8, 0.01);  // 1.0 changes nothing
}
