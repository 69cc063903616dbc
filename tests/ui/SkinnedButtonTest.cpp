#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <stdexcept>

#include "AppHarness.h"
#include "gui/kit/cls_Tooltip.h"

using namespace qv;
using ui::ButtonKind;
using ui::SkinnedButton;

namespace {

// A screen named like a routing row, holding buttons, and the calls its rows got.
struct Screen {
  explicit Screen(const QString& name = "frm_Configure") { widget.setObjectName(name); }
  template <class T>
  T* Add(const QString& type, const QString& state = "enabled") {
    return ui::MakeButton<T>(&widget, QString(), &router, {"btn_" + type, 0, 0, type, "btn_X", state, ""});
  }
  void Count(ButtonKind kind, const char* action) {
    router.Register(kind, widget.objectName(), action, [this, action] { calls << action; });
  }
  QWidget widget;
  ui::Router router;
  QStringList calls;
};

}  // namespace

TEST(SkinnedButton, EachKindKeepsItsSizeBandsAndStateAfterAction) {
  const struct {
    ButtonKind kind;
    QSize size;
    QString after;
  } cases[] = {{ButtonKind::Form, {33, 33}, "highlight"},
               {ButtonKind::Large, {308, 58}, "highlight"},
               {ButtonKind::Small, {95, 35}, "enabled"},
               {ButtonKind::Medium, {182, 35}, "highlight"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height());
    Screen s("frm_Home");
    SkinnedButton* b = nullptr;
    switch (c.kind) {
      case ButtonKind::Form: b = s.Add<ui::FormButton>("x"); break;
      case ButtonKind::Large: b = s.Add<ui::LargeButton>("x"); break;
      case ButtonKind::Small: b = s.Add<ui::SmallButton>("x"); break;
      case ButtonKind::Medium: b = s.Add<ui::MediumButton>("x"); break;
    }
    b->resize(10, 10);  // every resize forces the kind's size again
    EXPECT_EQ(b->size(), c.size);
    for (int band = 0; band < 4; ++band) {
      b->setState(QStringList{"enabled", "highlight", "down", "disabled"}[band]);
      EXPECT_EQ(b->picBG()->pos(), QPoint(0, -band * c.size.height()));
    }
    b->setState("pressed");  // not one of the four: stored, the band stays
    EXPECT_EQ(b->visibleBand(), 3);
    b->setState("enabled");
    test::Click(b);
    EXPECT_EQ(b->state(), c.after);
    EXPECT_FALSE(b->tracking());
  }
}

TEST(SkinnedButton, HoverPressLeaveAndTheResetOfOtherButtonsOfItsKind) {
  Screen s;
  auto* b = s.Add<ui::SmallButton>("add_grammar", "highlight");
  auto* same = s.Add<ui::SmallButton>("edit_grammar", "highlight");
  auto* off = s.Add<ui::SmallButton>("delete_grammar", "disabled");
  auto* medium = s.Add<ui::MediumButton>("microphone_setup", "highlight");
  b->setState("enabled");
  test::Hover(b);
  EXPECT_EQ(b->state(), "highlight");
  EXPECT_TRUE(b->tracking());
  EXPECT_EQ(same->state(), "enabled");
  EXPECT_EQ(off->state(), "disabled");
  EXPECT_EQ(medium->state(), "highlight");
  QTest::mousePress(b->picBG(), Qt::LeftButton, {}, QPoint(3, 38));
  EXPECT_EQ(b->state(), "down");
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(b->picBG(), &leave);
  EXPECT_EQ(b->state(), "enabled");
  EXPECT_FALSE(b->tracking());
}

TEST(SkinnedButton, ReleaseRoutesTheTrimmedKeyEveryWayButNotWhenDisabled) {
  Screen s;
  s.Count(ButtonKind::Small, "add_grammar");
  s.Count(ButtonKind::Small, "save");
  auto* b = s.Add<ui::SmallButton>("  Add_Grammar ");
  test::Click(b);
  test::DoubleClick(b);  // twice
  QTest::keyClick(b, Qt::Key_Return);
  static_cast<ui::SmallButton*>(b)->button_pressed();
  EXPECT_EQ(s.calls.size(), 5);
  test::Click(s.Add<ui::MediumButton>("add_grammar"));  // no row for this kind
  auto* save = s.Add<ui::SmallButton>("save", "disabled");
  test::Hover(save);
  test::Click(save);
  test::DoubleClick(save);
  QTest::keyClick(save, Qt::Key_Return);
  EXPECT_EQ(s.calls.size(), 5);
  EXPECT_EQ(save->visibleBand(), 3);
}

TEST(SkinnedButton, FailedActionLeavesItHighlightedAndAnActionMayDisableIt) {
  Screen s;
  s.router.Register(ButtonKind::Small, "frm_Configure", "save", [] { throw std::runtime_error("disk full"); });
  auto* save = s.Add<ui::SmallButton>("save");
  test::Click(save);
  EXPECT_EQ(save->state(), "highlight");
  auto* compile = s.Add<ui::SmallButton>("compile");
  s.router.Register(ButtonKind::Small, "frm_Configure", "compile", [&] { compile->setState("disabled"); });
  test::Click(compile);
  EXPECT_EQ(compile->state(), "disabled");
}

TEST(SkinnedButton, StripsComeFromTheInstallationAndAreDrawnWhenMissing) {
  test::TestInstallation install;
  QImage strip(95, 140, QImage::Format_RGB32);
  strip.fill(Qt::red);
  QDir().mkpath(install.installDir + "/Media/Buttons");
  ASSERT_TRUE(strip.save(install.installDir + "/Media/Buttons/btn_ParentOK.bmp"));
  QWidget host;
  ui::SmallButton b(&host);
  b.setInstallDir(install.installDir);
  b.setPicture(" btn_ParentOK ");
  EXPECT_TRUE(b.hasPicture());
  b.setPicture("btn_Missing");  // a missing file keeps the loaded picture
  EXPECT_EQ(b.picBG()->strip().toImage().pixelColor(5, 5), QColor(Qt::red));
  ui::LargeButton drawn(&host);
  drawn.setPicture("btn_DoesNotExist");
  EXPECT_FALSE(drawn.hasPicture());
  EXPECT_EQ(drawn.picBG()->height(), 4 * 58);
  EXPECT_EQ(ui::FallbackCaption("btn_ChecklistAssignments"), "Checklist Assignments");
  EXPECT_EQ(ui::FallbackCaption("btn_ParentOK"), "OK");
}

TEST(SkinnedButton, DialogButtonsFollowTheFocus) {
  QWidget host;
  auto* ok = ui::MakeButton<ui::SmallButton>(&host, QString(), nullptr, {"btn_OK", 0, 0, "ok", "x", "enabled", ""});
  auto* cancel =
      ui::MakeButton<ui::SmallButton>(&host, QString(), nullptr, {"btn_Cancel", 100, 0, "cancel", "x", "enabled", ""});
  ok->setFollowsFocus(true);
  cancel->setFollowsFocus(true);
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  ok->setFocus();
  EXPECT_EQ(ok->state(), "highlight");
  cancel->setFocus();
  EXPECT_EQ(ok->state(), "enabled");
  EXPECT_EQ(cancel->state(), "highlight");
}

// A tip near the screen's right or bottom edge moves left or above the
// pointer so that all of it shows; elsewhere it sits below right of it.
TEST(SkinnedButton, TooltipsStayWholeOnTheScreen) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget host(nullptr, Qt::FramelessWindowHint);
  host.setGeometry(area);
  auto* b = ui::MakeButton<ui::SmallButton>(
      &host, QString(), nullptr, {"btn_X", 0, 0, "x", "x", "enabled", QString(300, u'w').replace(40, 1, " ")});
  b->tooltip()->setDelayTime(0);
  host.show();
  for (const QPoint& at :
       {area.topLeft() + QPoint(40, 40), area.bottomRight() - QPoint(3, 3), QPoint(area.right() - 3, area.top() + 3)}) {
    b->move(host.mapFromGlobal(at) - QPoint(b->width() / 2, b->height() / 2));
    QCursor::setPos(at);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(b->picBG(), &enter);
    QLabel* tip = b->tooltip()->window();
    ASSERT_TRUE(QTest::qWaitFor([tip] { return tip->isVisible(); }));
    EXPECT_TRUE(area.contains(tip->frameGeometry())) << at.x() << "," << at.y();
    if (at == area.topLeft() + QPoint(40, 40)) {
      EXPECT_EQ(tip->pos(), QCursor::pos() + QPoint(2, 20));
    }
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(b->picBG(), &leave);
  }
}
