#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <stdexcept>

#include "AppHarness.h"
#include "gui/kit/cls_Tooltip.h"

using namespace qv;
using ui::ButtonKind;
using ui::SkinnedButton;

namespace {

// A screen named like a routing row, holding buttons of one kind.
struct Screen {
  explicit Screen(const QString& name) { widget.setObjectName(name); }
  QWidget widget;
  ui::Router router;
  QStringList calls;
  template <class T>
  T* Add(const QString& type, const QString& state = "enabled") {
    return ui::MakeButton<T>(&widget, QString(), &router, {"btn_" + type, 0, 0, type, "btn_X", state, ""});
  }
};

struct KindCase {
  ButtonKind kind;
  QSize size;
  QString after;
};

class ButtonKinds : public testing::TestWithParam<KindCase> {};

std::unique_ptr<SkinnedButton> Make(ButtonKind kind, QWidget* parent) {
  switch (kind) {
    case ButtonKind::Form: return std::make_unique<ui::FormButton>(parent);
    case ButtonKind::Large: return std::make_unique<ui::LargeButton>(parent);
    case ButtonKind::Small: return std::make_unique<ui::SmallButton>(parent);
    case ButtonKind::Medium: return std::make_unique<ui::MediumButton>(parent);
  }
  return nullptr;
}

}  // namespace

TEST_P(ButtonKinds, SizeBandsAndStateAfterAction) {
  const KindCase& c = GetParam();
  QWidget host;
  host.setObjectName("frm_Home");
  auto b = Make(c.kind, &host);
  b->resize(10, 10);  // every resize forces the kind's size again
  EXPECT_EQ(b->size(), c.size);
  EXPECT_EQ(b->bandHeight(), c.size.height());
  for (int band = 0; band < 4; ++band) {
    b->setState(QStringList{"enabled", "highlight", "down", "disabled"}[band]);
    EXPECT_EQ(b->picBG()->pos(), QPoint(0, -band * c.size.height()));
  }
  b->setState("pressed");  // not one of the four: stored, the band stays
  EXPECT_EQ(b->state(), "pressed");
  EXPECT_EQ(b->visibleBand(), 3);

  b->setState("enabled");
  b->setFormName(&host);
  b->setButtonType("anything");
  test::Click(b.get());
  EXPECT_EQ(b->state(), c.after);
  EXPECT_FALSE(b->tracking());
}

INSTANTIATE_TEST_SUITE_P(All, ButtonKinds,
                         testing::Values(KindCase{ButtonKind::Form, {33, 33}, "highlight"},
                                         KindCase{ButtonKind::Large, {308, 58}, "highlight"},
                                         KindCase{ButtonKind::Small, {95, 35}, "enabled"},
                                         KindCase{ButtonKind::Medium, {182, 35}, "highlight"}));

TEST(SkinnedButton, HoverPressAndLeaveFollowTheStateMachine) {
  Screen s("frm_Configure");
  auto* b = s.Add<ui::SmallButton>("add_grammar");
  test::Hover(b);
  EXPECT_EQ(b->state(), "highlight");
  EXPECT_TRUE(b->tracking());
  QTest::mousePress(b->picBG(), Qt::LeftButton, {}, QPoint(3, 38));
  EXPECT_EQ(b->state(), "down");
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(b->picBG(), &leave);
  EXPECT_EQ(b->state(), "enabled");
  EXPECT_FALSE(b->tracking());
}

TEST(SkinnedButton, DisabledIgnoresEverything) {
  Screen s("frm_Configure");
  int calls = 0;
  s.router.Register(ButtonKind::Small, "frm_Configure", "save", [&] { ++calls; });
  auto* b = s.Add<ui::SmallButton>("save", "disabled");
  test::Hover(b);
  test::Click(b);
  test::DoubleClick(b);
  QTest::keyClick(b, Qt::Key_Return);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(b->state(), "disabled");
  EXPECT_EQ(b->visibleBand(), 3);
}

TEST(SkinnedButton, ReleaseRoutesTrimmedLowerCaseKeyAndDoubleClickActsTwice) {
  Screen s("frm_Configure");
  int calls = 0;
  s.router.Register(ButtonKind::Small, "frm_Configure", "add_grammar", [&] { ++calls; });
  auto* b = s.Add<ui::SmallButton>("  Add_Grammar ");
  test::Click(b);
  EXPECT_EQ(calls, 1);
  test::DoubleClick(b);
  EXPECT_EQ(calls, 3);
  QTest::keyClick(b, Qt::Key_Return);  // Enter on the focused button
  EXPECT_EQ(calls, 4);
  static_cast<ui::SmallButton*>(b)->button_pressed();
  EXPECT_EQ(calls, 5);
  // The same key on another kind has no row: nothing happens.
  auto* m = s.Add<ui::MediumButton>("add_grammar");
  test::Click(m);
  EXPECT_EQ(calls, 5);
}

TEST(SkinnedButton, FailedActionLeavesSmallButtonHighlightedAndActionMayDisable) {
  Screen s("frm_Configure");
  s.router.Register(ButtonKind::Small, "frm_Configure", "save", [] { throw std::runtime_error("disk full"); });
  auto* save = s.Add<ui::SmallButton>("save");
  test::Click(save);
  EXPECT_EQ(save->state(), "highlight");

  auto* compile = s.Add<ui::SmallButton>("compile");
  s.router.Register(ButtonKind::Small, "frm_Configure", "compile", [&] { compile->setState("disabled"); });
  test::Click(compile);
  EXPECT_EQ(compile->state(), "disabled");
}

TEST(SkinnedButton, HoverResetsOtherButtonsOfTheSameKindOnly) {
  Screen s("frm_Configure");
  auto* a = s.Add<ui::SmallButton>("add_grammar", "highlight");
  auto* same = s.Add<ui::SmallButton>("edit_grammar", "highlight");
  auto* off = s.Add<ui::SmallButton>("delete_grammar", "disabled");
  auto* medium = s.Add<ui::MediumButton>("microphone_setup", "highlight");
  test::Hover(a);
  EXPECT_EQ(same->state(), "enabled");
  EXPECT_EQ(off->state(), "disabled");
  EXPECT_EQ(medium->state(), "highlight");
  EXPECT_EQ(a->state(), "highlight");
}

TEST(SkinnedButton, MissingBitmapLeavesNoPictureButADrawnStrip) {
  Screen s("frm_Home");
  auto* b = s.Add<ui::LargeButton>("launch_fsx");
  b->setPicture("btn_DoesNotExist");
  EXPECT_FALSE(b->hasPicture());
  EXPECT_EQ(b->picBG()->height(), 4 * 58);
  EXPECT_EQ(ui::FallbackCaption("btn_ChecklistAssignments"), "Checklist Assignments");
  EXPECT_EQ(ui::FallbackCaption("btn_ParentOK"), "OK");
}

TEST(SkinnedButton, BitmapStripIsLoadedFromTheInstallation) {
  test::TestInstallation install;
  QDir().mkpath(install.installDir + "/Media/Buttons");
  QImage strip(95, 140, QImage::Format_RGB32);
  strip.fill(Qt::red);
  ASSERT_TRUE(strip.save(install.installDir + "/Media/Buttons/btn_ParentOK.bmp"));
  QWidget host;
  ui::SmallButton b(&host);
  b.setInstallDir(install.installDir);
  b.setPicture(" btn_ParentOK ");
  EXPECT_TRUE(b.hasPicture());
  b.setPicture("btn_Missing");  // a missing file keeps the loaded picture
  EXPECT_TRUE(b.hasPicture());
  EXPECT_EQ(b.picBG()->strip().toImage().pixelColor(5, 5), QColor(Qt::red));
}

TEST(SkinnedButton, TooltipHasTheSkinColoursAndTimes) {
  QWidget host;
  ui::SmallButton b(&host);
  b.SetToolTip("Click to save");
  ui::cls_Tooltip* tip = b.tooltip();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->ForeColor(), QColor(45, 45, 45));
  EXPECT_EQ(tip->BackColor(), QColor(231, 231, 231));
  EXPECT_EQ(tip->MaxWidth(), 400);
  EXPECT_EQ(tip->VisibleTime(), 10000);
  EXPECT_EQ(tip->DelayTime(), 250);
  EXPECT_EQ(tip->text(), "Click to save");
  ui::cls_Tooltip fresh;
  EXPECT_EQ(fresh.MaxWidth(), 300);
  b.end_sub_class();
  EXPECT_FALSE(tip->isCreated());
}

TEST(SkinnedButton, DialogButtonsFollowTheFocus) {
  QWidget host;
  auto* ok =
      ui::MakeButton<ui::SmallButton>(&host, QString(), nullptr, {"btn_OK", 0, 0, "ok", "btn_ParentOK", "enabled", ""});
  auto* cancel = ui::MakeButton<ui::SmallButton>(&host, QString(), nullptr,
                                                 {"btn_Cancel", 100, 0, "cancel", "btn_ParentCancel", "enabled", ""});
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
