#pragma once

#include <QTest>
#include <memory>

#include "TestEnv.h"
#include "core/shell/LaunchHooks.h"
#include "gui/kit/DialogWindow.h"
#include "gui/kit/Router.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/shell/frm_Parent.h"
#include "platform/Joystick.h"

namespace qv::test {

// A joystick whose buttons the test sets.
class FakeJoystick final : public platform::Joystick {
 public:
  QHash<int, uint32_t> buttons;  // present joysticks and their masks
  bool JoystickPresent(int id) override { return buttons.contains(id); }
  uint32_t ReadJoystickButtons(int id) override { return buttons.value(id); }
};

// The real widgets wired like the GUI, over a temporary installation.
struct UiEnv {
  UiEnv();
  ~UiEnv();
  TestInstallation install;
  TestEnv env{install.installDir};
  ui::Router router;
  shell::LaunchHooks launch;
  FakeJoystick joystick;
  std::unique_ptr<ui::SkinnedDialogs> dialogs;
  std::unique_ptr<shell::frm_Parent> frame;

  // Answers every modal dialog by clicking the named button ("btn_OK" or "btn_Cancel").
  void AnswerWith(const QString& button);
  QStringList answered;  // objectNames of the dialogs answered
};

// A left click on the button's picture area where its band shows.
void Click(ui::SkinnedButton* button);
void DoubleClick(ui::SkinnedButton* button);
void Hover(ui::SkinnedButton* button);

}  // namespace qv::test
