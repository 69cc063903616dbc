#include <gtest/gtest.h>

#include "UiEnv.h"
#include "gui/checklists/frm_Assign.h"
#include "gui/checklists/frm_Modify.h"
#include "gui/grammar/frm_GrammarScreens.h"

using namespace qv;
using ui::ButtonKind;

namespace {
QString Row(const ui::RouteRow& r) { return ui::ButtonKindName(r.kind) + "/" + r.screen + "/" + r.action; }
}  // namespace

// Every row of the table has a handler once every screen has registered.
TEST(Routing, EveryRowHasAHandler) {
  test::UiEnv ui;
  grammar::GrammarScreens grammarScreens{ui.env.ctx, ui.env.speech, *ui.frame, ui.router, *ui.dialogs, ui.launch};
  checklists::frm_Assign::Install(ui.env.ctx, ui.launch, ui.router, *ui.frame);
  checklists::frm_Modify::Install(ui.env.ctx, ui.launch, ui.router, *ui.frame, &ui.env.speech, ui.dialogs.get());
  QStringList missing;
  for (const ui::RouteRow& r : ui.router.RowsWithoutHandler()) missing << Row(r);
  EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
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
