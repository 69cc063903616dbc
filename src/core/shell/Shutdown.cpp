#include "core/shell/Shutdown.h"

#include "core/data/SettingsStore.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "data/Settings.h"

namespace qv::shell {

ShutdownSequence::ShutdownSequence(AppState& state, Dialogs& dialogs, grammar::SpeechFacade& speech, ProcessExit& exit)
    : m_state(state), m_dialogs(dialogs), m_speech(speech), m_exit(exit) {}

void ShutdownSequence::Shutdown() {
  if (m_done) return;  // a follow-up after the first call must not run it twice
  m_done = true;
  if (m_state.settingsLoaded) data::SaveCopilotVoice(m_state, m_dialogs);
  emit removingTrayIcon();
  emit releasingScreens();
  if (m_state.speechReady) m_speech.fnBinCompile_Call(2, 0, 0);
  m_exit.Exit(0);
}

}  // namespace qv::shell
