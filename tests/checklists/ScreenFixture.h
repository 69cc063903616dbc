#pragma once

// The checklist screens on a frame wired like the GUI, over the sample
// aircraft tree, with the recording dialogs answering.

#include <QTest>
#include <QTreeWidget>

#include "KneeboardFixture.h"
#include "UiEnv.h"
#include "gui/checklists/frm_Assign.h"
#include "gui/checklists/frm_Modify.h"
#include "gui/shell/frm_Parent.h"

namespace qv::test {

struct ChecklistScreens : KneeboardTree {
  ChecklistScreens() {
    env.state.checklistNames = {"Jet Checks", "Trainer Checks"};
    checklists::frm_Assign::Install(env.ctx, launch, router, frame);
    checklists::frm_Modify::Install(env.ctx, launch, router, frame, &env.speech, nullptr);
    env.dialogs.OnTag("new_checklist", [this] { modify()->NewChecklistOk(env.dialogs.inputText); });
    frame.show();
  }

  checklists::frm_Assign* assign() { return static_cast<checklists::frm_Assign*>(frame.screen("frm_Assign")); }
  checklists::frm_Modify* modify() { return static_cast<checklists::frm_Modify*>(frame.screen("frm_Modify")); }

  template <class T>
  T* child(QWidget* screen, const char* name) {
    T* w = screen->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  ui::SkinnedButton* button(QWidget* screen, const char* name) { return child<ui::SkinnedButton>(screen, name); }

  // Runs the release of a skinned button as the user's click does.
  void Press(QWidget* screen, const char* name) { Click(button(screen, name)); }

  void SetRunning(bool sim, bool runtime) {
    launch.isSimRunning = [sim] { return sim; };
    launch.isRuntimeRunning = [runtime] { return runtime; };
  }

  ui::Router router;
  shell::LaunchHooks launch;
  shell::frm_Parent frame{env.state, env.shutdown, launch, router};
};

// A click on a row of a tree or list view, where the user clicks.
inline void ClickItem(QTreeWidget* tree, QTreeWidgetItem* item) {
  tree->scrollToItem(item);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

}  // namespace qv::test
