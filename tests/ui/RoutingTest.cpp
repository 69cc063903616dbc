#include <gtest/gtest.h>

#include <QSet>

#include "UiEnv.h"
#include "shell/frm_Placeholder.h"

using namespace qv;
using ui::ButtonKind;

namespace {
QString Row(const ui::RouteRow& r) { return ui::ButtonKindName(r.kind) + "/" + r.screen + "/" + r.action; }
}  // namespace

// Every row of the table has a handler once the screens have registered,
// except the rows of screens still to come, which are listed as pending.
TEST(Routing, EveryRowHasAHandlerOrIsPending) {
  test::UiEnv ui;
  QSet<QString> missing, pending;
  for (const ui::RouteRow& r : ui.router.RowsWithoutHandler()) missing << Row(r);
  for (const ui::RouteRow& r : shell::PendingRoutes()) {
    pending << Row(r);
    EXPECT_TRUE(ui::Router::HasRow(r.kind, r.screen, r.action)) << Row(r).toStdString();
  }
  EXPECT_EQ(missing, pending);
}

TEST(Routing, OnlyTableRowsCanBeRegisteredAndUnknownPairsDoNothing) {
  ui::Router router;
  EXPECT_FALSE(router.Register(ButtonKind::Small, "frm_Home", "launch_fsx", [] {}));  // launch is a LargeButton
  EXPECT_FALSE(router.Register(ButtonKind::Small, "frm_home", "cancel", [] {}));      // screens compare exactly
  int calls = 0;
  EXPECT_TRUE(router.Register(ButtonKind::Small, "frm_LC", "cancel", [&] { ++calls; }));
  EXPECT_TRUE(router.Route(ButtonKind::Small, "frm_LC", " CANCEL "));
  EXPECT_TRUE(router.Route(ButtonKind::Small, "frm_LC", "ok"));
  EXPECT_TRUE(router.Route(ButtonKind::Small, "FRM_LC", "cancel"));
  EXPECT_EQ(calls, 1);
}
