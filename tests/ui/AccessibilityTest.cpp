#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "AppHarness.h"
#include "checklists/KneeboardFixture.h"
#include "grammar/GrammarFixture.h"
#include "gui/checklists/frm_Assign.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/shell/ScreenTable.h"

using namespace qv;

namespace {

// The shown controls below `a` as assistive tools meet them: everything that
// takes the focus, and pictures; containers are walked into.
void Controls(QAccessibleInterface* a, std::vector<QAccessibleInterface*>& out) {
  for (int i = 0; i < a->childCount(); ++i) {
    QAccessibleInterface* c = a->child(i);
    if (!c || c->state().invisible) continue;
    const QAccessible::Role r = c->role();
    if (c->state().focusable || r == QAccessible::Graphic)
      out.push_back(c);
    else if (r == QAccessible::Client || r == QAccessible::Window || r == QAccessible::Dialog)
      Controls(c, out);
  }
}

// The controls of `window`, each expected to have a name and a role.
std::vector<QAccessibleInterface*> NamedControlsOf(QWidget* window, const QString& where) {
  std::vector<QAccessibleInterface*> controls;
  Controls(QAccessible::queryAccessibleInterface(window), controls);
  for (QAccessibleInterface* c : controls) {
    const QAccessible::Role r = c->role();
    EXPECT_TRUE(!c->text(QAccessible::Name).trimmed().isEmpty() && r != QAccessible::NoRole &&
                r != QAccessible::Client && r != QAccessible::Grouping)
        << where.toStdString() << ": " << c->object()->objectName().toStdString() << " role " << r;
  }
  return controls;
}

void PressThroughTree(QAccessibleInterface* a) {
  if (a->actionInterface()) a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);  // the press comes after the answer
}

// A router that records each release instead of acting on it.
struct RecordingRouter {
  RecordingRouter() {
    for (const ui::RouteRow& row : ui::RoutingTable())
      router.Register(row.kind, row.screen, row.action,
                      [this, row] { heard << QString(row.screen) + "/" + row.action; });
  }
  ui::Router router;
  QStringList heard;
};

}  // namespace

// On every screen and dialog each control has a name and a role; each
// skinned button is a push button whose press routes as a click does, and
// whose disabled look is its disabled state.
TEST(Accessibility, EveryControlIsNamedAndEveryButtonPressesAsAClick) {
  test::AppHarness h;
  shell::frm_Parent& f = h.ShowFrame();
  RecordingRouter rec;
  // The words read are those shown, and the action's own where the picture says less.
  const QHash<QString, QString> said{{"frm_Home/btn_SpeechConfig", "Speech Configuration"},
                                     {"frm_Configure/btn_AddReadback", "Add Readback"},
                                     {"frm_Configure/btn_Cancel", "Home"},
                                     {"frm_Test/btn_OK", "Start"},
                                     {"frm_Modify/btn_Play", "Play"}};
  int checkedNames = 0;
  for (const shell::ScreenRow& row : shell::ScreenTable()) {
    f.Enter(row.name);
    ASSERT_EQ(f.currentScreen, row.name);
    const auto controls = NamedControlsOf(&f, row.name);
    int buttons = 0;
    for (QAccessibleInterface* c : controls) {
      auto* b = qobject_cast<ui::SkinnedButton*>(c->object());
      if (!b) continue;
      ++buttons;
      const QString where = QString(row.name) + "/" + b->objectName();
      EXPECT_TRUE(c->role() == QAccessible::Button && c->childCount() == 0) << where.toStdString();
      if (said.contains(where)) {
        EXPECT_EQ(c->text(QAccessible::Name), said[where]);
        ++checkedNames;
      }
      const bool disabled = b->state() == "disabled";
      EXPECT_EQ(c->state().disabled, disabled) << where.toStdString();
      b->setRouter(&rec.router);
      rec.heard.clear();
      test::Click(b);
      const QStringList byMouse = rec.heard;
      rec.heard.clear();
      PressThroughTree(c);
      EXPECT_EQ(rec.heard, byMouse) << where.toStdString();
      EXPECT_EQ(byMouse.size(), disabled ? 0 : 1) << where.toStdString();  // every live button routes
    }
    EXPECT_GE(buttons, 2) << row.name;  // the title bar's at least
  }
  EXPECT_EQ(checkedNames, said.size());

  // The dialogs: named controls, and Cancel pressed through the tree closes them.
  int answered = 0;
  h.dialogs->custom = [&](ui::DialogWindow* d) {
    for (QAccessibleInterface* c : NamedControlsOf(d, d->objectName()))
      if (c->text(QAccessible::Name) == "Cancel" && c->role() == QAccessible::Button) {
        PressThroughTree(c);
        ++answered;
      }
    EXPECT_FALSE(d->isVisible()) << d->objectName().toStdString();
  };
  h.app->dialogs().ShowMessage("Delete", "Delete the phrase?", shell::kIconWarning, true, true, QString());
  h.app->dialogs().ShowInput("New", "Name the checklist.", "Checklist name", true, true, "x", "new_checklist");
  EXPECT_EQ(answered, 2);
}

// Configuration -> test -> back, and assignment -> assign -> save, with the
// keyboard alone: Tab to each control, arrows in lists, Enter or Space on buttons.
class KeyboardWalk : public testing::Test, public test::KneeboardTree {
 protected:
  KeyboardWalk() {
    Fill(h.app->context());
    shell::AppState& s = h.state();
    test::FillSmallCommandSet(s);
    s.commands[4].grammars = {base::Fixed("[gear|wheels] (down)", data::kGrammarWidth)};
    s.speechReady = true;
    s.checklistNames = {"Jet Checks", "Trainer Checks"};
    test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf",
                     test::ReadBytes(test::DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
  }
  void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
  // Tabs forward until `target` has the focus; it must come round.
  void TabTo(QWidget* target) {
    for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i) Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), target) << target->objectName().toStdString();
  }
  void TabAndPress(QWidget* target, Qt::Key key) {
    TabTo(target);
    Key(key);
  }
  QWidget* Named(QWidget* in, const char* name) { return in->findChild<QWidget*>(name); }

  test::AppHarness h{inst.installDir};
};

TEST_F(KeyboardWalk, ConfigurationTestBackAndAssignAssignSave) {
  shell::frm_Parent& f = h.ShowFrame();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QWidget* home = f.screen("frm_Home");

  TabAndPress(Named(home, "btn_SpeechConfig"), Qt::Key_Return);
  ASSERT_EQ(f.currentScreen, "frm_Configure");
  auto* cfg = h.screen<grammar::frm_Configure>("frm_Configure");
  TabAndPress(cfg->comboCategory, Qt::Key_Down);
  Key(Qt::Key_Down);  // the third category; its first command holds the phrase
  TabAndPress(cfg->listGrammar, Qt::Key_Home);
  ASSERT_EQ(cfg->listGrammar->currentRow(), 0);
  TabAndPress(Named(cfg, "btn_TestGrammar"), Qt::Key_Space);
  ASSERT_EQ(f.currentScreen, "frm_Test");
  auto* t = h.screen<grammar::frm_Test>("frm_Test");
  EXPECT_FALSE(t->txtScript->toPlainText().isEmpty());
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(t->pic_Icon)->text(QAccessible::Description).isEmpty());
  TabAndPress(f.btn_Cancel, Qt::Key_Return);  // "Return"
  ASSERT_EQ(f.currentScreen, "frm_Configure");
  TabAndPress(f.btn_Cancel, Qt::Key_Enter);  // "Home"
  ASSERT_EQ(f.currentScreen, "frm_Home");

  TabAndPress(Named(home, "btn_ChecklistAssignments"), Qt::Key_Space);
  ASSERT_EQ(f.currentScreen, "frm_Assign");
  auto* a = h.screen<checklists::frm_Assign>("frm_Assign");
  TabTo(a->acftTV);
  for (Qt::Key k : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down}) Key(k);
  QTreeWidgetItem* picked = a->acftTV->currentItem();
  ASSERT_TRUE(picked && picked->childCount() == 0);  // a variation
  TabAndPress(a->lstChecklists, Qt::Key_Home);
  Key(Qt::Key_Down);
  ASSERT_EQ(a->lstChecklists->currentItem()->text(), "Jet Checks");
  TabAndPress(a->btn_Assign, Qt::Key_Space);
  EXPECT_EQ(assignment(test::kAlpha, 0, test::kBlue).checklistName.trimmed(), "Jet Checks");
  EXPECT_EQ(f.btn_OK->state(), "enabled");
  TabAndPress(f.btn_OK, Qt::Key_Return);     // "Save"
  EXPECT_EQ(f.btn_OK->state(), "disabled");  // saved
  EXPECT_TRUE(test::ReadBytes(data::AssignmentsFilePath(inst.installDir)).contains("Jet Checks"));
}
