// The application built exactly as the program builds it, over the demo
// installation the build lays out, with fake backends.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <stdexcept>

#include "AppHarness.h"
#include "gui/kit/Router.h"
#include "gui/kit/SmallFontFix.h"
#include "gui/kit/frm_LC.h"
#include "gui/shell/ScreenTable.h"
#include "gui/shell/frm_Starter.h"

using namespace qv;

namespace {

// A fresh demo installation in `dir`, laid out by the demo builder; only the
// presence of the simulator's executable is checked, so a stand-in file will do.
QString LayOutDemo(const QTemporaryDir& dir) {
  QProcess builder;
  builder.start(QStringLiteral(QV_TOOLS_DIR) + "/qv_make_demo",
                {"--source", test::DemoSourceDir(), "--out", dir.path()});
  EXPECT_TRUE(builder.waitForFinished(120000) && builder.exitStatus() == QProcess::NormalExit &&
              builder.exitCode() == 0)
      << "the demo builder failed";
  test::WriteBytes(dir.path() + "/FSX/fsx.exe", "MZ stand-in");
  return dir.path() + "/FSX/Veltrane Software/Quorvane";
}

QStringList Rows(const QList<ui::RouteRow>& rows) {
  QStringList out;
  for (const ui::RouteRow& r : rows) out << ui::ButtonKindName(r.kind) + " " + r.screen + " " + r.action;
  return out;
}

}  // namespace

// Start-up over the demo ends on the home screen with the first-use prompt;
// from the configuration screen the frame goes to the tray with the runtime
// running and comes back clean on the home screen; once every screen of the
// table is loaded every routing row has its handler (a screen registering a
// row twice or a row the table lacks would have thrown while it was built)
// and every window has had the small-fonts correction. Once with fakes, once
// with the program's own backends (the window look-up faked so that the
// runtime can run, the end of the process recorded).
class Application : public testing::TestWithParam<bool> {};

TEST_P(Application, StartsOnTheDemoAndEveryRoutingRowGetsItsHandler) {
  QTemporaryDir dir;
  const QString installDir = LayOutDemo(dir);
  test::AppHarness h(installDir, [&](app::Backends& b) {
    if (!GetParam()) return;
    auto probe = std::move(b.platform.windowProbe);
    b = app::SystemBackends(installDir, app::Program::Interface);
    b.platform.windowProbe = std::move(probe);
    b.exit = std::make_unique<test::RecordingExit>();
  });
  ASSERT_TRUE(h.app->Start(QString())) << h.dialogs->titles().join(", ").toStdString();
  ASSERT_TRUE(h.app->frameLoaded());
  EXPECT_TRUE(h.frame().isVisible());
  EXPECT_EQ(h.frame().currentScreen, "frm_Home");
  // The first-use prompt, whose OK updated the kneeboard pages.
  EXPECT_EQ(h.dialogs->titles().mid(0, 2), (QStringList{"Update FSX Checklists", "Checklists Updated"}));
  EXPECT_FALSE(h.state().catalogue.manufacturers.empty());
  if (!GetParam()) {
    EXPECT_EQ(h.log.mid(0, 2), (QStringList{"tts:start", "compile:start"}));
  }

  shell::frm_Parent& f = h.frame();
  test::Click(f.screen("frm_Home")->findChild<ui::SkinnedButton*>("btn_SpeechConfig"));
  ASSERT_EQ(f.currentScreen, "frm_Configure");
  h.SetRunning(true, true);
  test::Click(f.btn_Minimize);
  EXPECT_FALSE(f.isVisible());
  h.app->starter().mnuRestore->trigger();
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.currentScreen, "frm_Home");
  EXPECT_TRUE(f.screen("frm_Home")->isVisible());
  for (QWidget* button : {f.btn_OK, f.btn_Cancel, f.btn_Compile}) EXPECT_FALSE(button->isVisible());

  EXPECT_FALSE(h.app->router().RowsWithoutHandler().isEmpty());  // the screens are loaded on first use
  QList<QWidget*> windows{&h.app->splash(), &h.app->starter(), &f};
  for (const shell::ScreenRow& row : shell::ScreenTable()) {
    windows << f.screen(row.name);
    ASSERT_NE(windows.last(), nullptr) << row.name;
  }
  EXPECT_EQ(Rows(h.app->router().RowsWithoutHandler()), QStringList());
  windows << h.app->dialogs().loadedDialogs();
  for (const QWidget* w : windows)
    EXPECT_TRUE(w->property(ui::kScaleProperty).isValid()) << w->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, Application, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "System" : "Fake"); });

TEST(Routing, ARowIsRegisteredOnceByItsOwnerAndGoesWithIt) {
  ui::Router router;
  EXPECT_EQ(Rows(router.RowsWithoutHandler()).size(), ui::RoutingTable().size());
  int calls = 0;
  {
    ui::Routes routes(router, "frm_LC");
    routes.Add(ui::ButtonKind::Small, "cancel", [&] { ++calls; });
    EXPECT_THROW(router.Register(ui::ButtonKind::Small, "frm_LC", "cancel", [] {}), std::logic_error);
    EXPECT_THROW(routes.Add(ui::ButtonKind::Small, "ok", [] {}), std::logic_error);  // no such row
    EXPECT_THROW(router.Register(ui::ButtonKind::Small, "frm_Home", "launch_fsx", [] {}),
                 std::logic_error);  // the launch is a LargeButton
    EXPECT_THROW(router.Register(ui::ButtonKind::Small, "frm_lc", "cancel", [] {}),
                 std::logic_error);  // screens compare exactly
    EXPECT_TRUE(router.Route(ui::ButtonKind::Small, "frm_LC", " CANCEL "));
    EXPECT_TRUE(router.Route(ui::ButtonKind::Small, "FRM_LC", "cancel"));  // no row: nothing
    EXPECT_EQ(calls, 1);
  }
  EXPECT_FALSE(router.HasHandler(ui::ButtonKind::Small, "frm_LC", "cancel"));
  router.Register(ui::ButtonKind::Small, "frm_LC", "cancel", [] {});  // free again
}

// Every file of the skin and the help loads, and the help pages' local links
// and anchors lead somewhere.
TEST(DemoMedia, EveryPictureLoadsAndEveryHelpLinkResolves) {
  QTemporaryDir demo;
  const QString dir = LayOutDemo(demo);
  int pictures = 0;
  for (QDirIterator it(dir + "/Media", {"*.bmp"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++pictures)
    EXPECT_FALSE(QImage(it.next()).isNull()) << it.filePath().toStdString();
  EXPECT_GT(pictures, 50);
  for (const ui::frm_LC::Topic& topic : ui::frm_LC::Topics())
    EXPECT_TRUE(QFileInfo::exists(ui::frm_LC::PagePath(dir, topic.key))) << topic.key;

  const QDir help(dir + "/Help");
  const QRegularExpression href(R"re(href="([^"]+)")re");
  int links = 0;
  for (const QString& name : help.entryList({"*.htm"}, QDir::Files)) {
    const QString html = QString::fromLatin1(test::ReadBytes(help.filePath(name)));
    for (auto it = href.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      if (target.contains(':')) continue;  // outside the help folder
      ++links;
      const QString file = help.filePath(target.section('#', 0, 0).isEmpty() ? name : target.section('#', 0, 0));
      const QString anchor = target.section('#', 1);
      EXPECT_TRUE(QFileInfo::exists(file)) << name.toStdString() << " links to " << target.toStdString();
      if (!anchor.isEmpty()) {
        EXPECT_TRUE(test::ReadBytes(file).contains("name=\"" + anchor.toLatin1() + "\""))
            << name.toStdString() << " links to a missing anchor " << target.toStdString();
      }
    }
  }
  EXPECT_GT(links, 50);
}
