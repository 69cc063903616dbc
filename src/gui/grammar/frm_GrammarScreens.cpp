#include "gui/grammar/frm_GrammarScreens.h"

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/LaunchHooks.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_Script.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/Router.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/shell/frm_Parent.h"

namespace qv::grammar {

GrammarScreens::GrammarScreens(shell::Context& ctx, SpeechFacade& speech, shell::frm_Parent& frame, ui::Router& router,
                               ui::SkinnedDialogs& dialogs, shell::LaunchHooks& launch)
    : m_ctx(ctx), m_speech(speech), m_frame(frame), m_router(router), m_dialogs(dialogs), m_launch(launch) {
  using Slot = shell::frm_Parent::ScreenSlot;
  m_frame.SetScreen("frm_Configure", Slot{[this] { return new frm_Configure(m_ctx, m_speech, *this, &m_router); },
                                          [this] {
                                            if (frm_Configure* c = configure()) c->Fill();
                                          },
                                          {},
                                          [this] {
                                            // Asked before the screen exists on the first entry: nothing changed yet.
                                            return m_frame.isLoaded("frm_Configure") && configure()->unsavedChanges();
                                          }});
  m_frame.SetScreen("frm_Test", Slot{[this] { return new frm_Test(m_ctx, m_speech, *this); }, {}, {}, {}});
  m_frame.SetScreen("frm_Script", Slot{[this] { return new frm_Script(m_ctx, *this); }, {}, {}, {}});
  RegisterRoutes();
  RegisterDialogAnswers();
}

frm_Configure* GrammarScreens::configure() { return dynamic_cast<frm_Configure*>(m_frame.screen("frm_Configure")); }
frm_Test* GrammarScreens::test() { return dynamic_cast<frm_Test*>(m_frame.screen("frm_Test")); }
frm_Script* GrammarScreens::script() { return dynamic_cast<frm_Script*>(m_frame.screen("frm_Script")); }

void GrammarScreens::RegisterRoutes() {
  using K = ui::ButtonKind;
  struct Row {
    const char* action;
    void (frm_Configure::*handler)();
  };
  static const Row kConfigure[] = {
      {"cancel", &frm_Configure::Cancel},
      {"add_grammar", &frm_Configure::AddGrammar},
      {"edit_grammar", &frm_Configure::EditGrammar},
      {"delete_grammar", &frm_Configure::DeleteGrammar},
      {"add_readback", &frm_Configure::AddReadback},
      {"edit_readback", &frm_Configure::EditReadback},
      {"delete_readback", &frm_Configure::DeleteReadback},
      {"play_readback", &frm_Configure::PlayReadback},
      {"script", &frm_Configure::Script},
      {"test_grammar", &frm_Configure::TestGrammar},
      {"save", &frm_Configure::Save},
      {"compile", &frm_Configure::Compile},
  };
  for (const Row& row : kConfigure) {
    const auto handler = row.handler;
    m_router.Register(K::Small, "frm_Configure", row.action, [this, handler] {
      if (frm_Configure* c = configure()) (c->*handler)();
    });
  }
  m_router.Register(K::Medium, "frm_Configure", "microphone_setup", [this] {
    if (frm_Configure* c = configure()) c->MicrophoneSetup();
  });
  m_router.Register(K::Small, "frm_Test", "start", [this] {
    if (frm_Test* t = test()) t->Start();
  });
  m_router.Register(K::Small, "frm_Test", "cancel", [this] {
    if (frm_Test* t = test()) t->Cancel();
  });
  m_router.Register(K::Small, "frm_Script", "save", [this] {
    if (frm_Script* s = script()) s->Save();
  });
  m_router.Register(K::Small, "frm_Script", "cancel", [this] {
    if (frm_Script* s = script()) s->Cancel();
  });
}

void GrammarScreens::RegisterDialogAnswers() {
  struct InputRow {
    const char* tag;
    void (frm_Configure::*handler)(const QString&);
  };
  static const InputRow kInputs[] = {
      {"add_grammar", &frm_Configure::AddGrammarOk},
      {"edit_grammar", &frm_Configure::EditGrammarOk},
      {"add_readback", &frm_Configure::AddReadbackOk},
      {"edit_readback", &frm_Configure::EditReadbackOk},
  };
  for (const InputRow& row : kInputs) {
    const auto handler = row.handler;
    m_dialogs.SetInputAction(row.tag, [this, handler](const QString& text) {
      if (frm_Configure* c = configure()) (c->*handler)(text);
    });
  }
  m_dialogs.SetMessageFollowUp("delete_grammar", [this] {
    if (frm_Configure* c = configure()) c->DeleteGrammarOk();
  });
  m_dialogs.SetMessageFollowUp("delete_readback", [this] {
    if (frm_Configure* c = configure()) c->DeleteReadbackOk();
  });
}

QWidget* GrammarScreens::Screen(const QString& name) { return m_frame.screen(name); }

void GrammarScreens::ShowScreen(QWidget* screen) {
  m_frame.HideScreen(m_frame.currentScreen);
  m_frame.ShowInParent(screen);
}

void GrammarScreens::EnterConfigure() { m_frame.EnterScreen("speech_config"); }

void GrammarScreens::ReturnHome() { m_frame.ReturnHome(); }

namespace {

ui::SmallButton* Button(shell::frm_Parent& frame, FrameButton which) {
  switch (which) {
    case FrameButton::OK: return frame.btn_OK;
    case FrameButton::Cancel: return frame.btn_Cancel;
    case FrameButton::Compile: return frame.btn_Compile;
  }
  return nullptr;
}

}  // namespace

void GrammarScreens::SetFrameButton(FrameButton which, const FrameButtonSetup& setup) {
  ui::SmallButton* b = Button(m_frame, which);
  // The frame's buttons act for the screen shown now.
  b->setFormName(m_frame.screen(m_frame.currentScreen));
  b->setButtonType(setup.type);
  b->setPicture(setup.picture);
  b->setState(setup.state);
  b->SetToolTip(setup.toolTip);
  b->setVisible(setup.visible);
}

void GrammarScreens::SetFrameButtonState(FrameButton which, const QString& state) {
  Button(m_frame, which)->setState(state);
}

void GrammarScreens::SetTip(const QString& screenName) {
  m_frame.lbl_TipText->setText(m_ctx.state.screenTips.value(screenName));
}

bool GrammarScreens::SimAndRuntimeRunning() { return m_launch.SimRunning() && m_launch.RuntimeRunning(); }

void GrammarScreens::AskMicrophoneSwitch() { m_dialogs.AskMicrophoneSwitch(); }

}  // namespace qv::grammar
