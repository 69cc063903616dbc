#pragma once

#include "gui/grammar/GrammarScreenHost.h"

namespace qv::shell {
struct Context;
struct LaunchHooks;
class frm_Parent;
}  // namespace qv::shell
namespace qv::ui {
class Router;
class SkinnedDialogs;
}  // namespace qv::ui

namespace qv::grammar {

class SpeechFacade;
class frm_Configure;
class frm_Script;
class frm_Test;

// Puts the speech configuration, test and script screens into the frame:
// their slots, their rows of the routing table and the answers of their
// dialogs; and serves them as their host. Lives as long as the frame.
class GrammarScreens final : public GrammarScreenHost {
 public:
  GrammarScreens(shell::Context& ctx, SpeechFacade& speech, shell::frm_Parent& frame, ui::Router& router,
                 ui::SkinnedDialogs& dialogs, shell::LaunchHooks& launch);

  frm_Configure* configure();
  frm_Test* test();
  frm_Script* script();

  QWidget* Screen(const QString& name) override;
  void ShowScreen(QWidget* screen) override;
  void EnterConfigure() override;
  void ReturnHome() override;
  void SetFrameButton(FrameButton which, const FrameButtonSetup& setup) override;
  void SetFrameButtonState(FrameButton which, const QString& state) override;
  void SetTip(const QString& screenName) override;
  bool SimAndRuntimeRunning() override;
  void AskMicrophoneSwitch() override;

 private:
  void RegisterRoutes();
  void RegisterDialogAnswers();

  shell::Context& m_ctx;
  SpeechFacade& m_speech;
  shell::frm_Parent& m_frame;
  ui::Router& m_router;
  ui::SkinnedDialogs& m_dialogs;
  shell::LaunchHooks& m_launch;
};

}  // namespace qv::grammar
