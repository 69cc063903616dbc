#pragma once

#include "data/Settings.h"

namespace qv::shell {
struct AppState;
struct Context;
class Dialogs;
}  // namespace qv::shell

namespace qv::data {

// The settings file for the running program: start-up loading and the
// single-key saves, which report to the user.

// Reads the whole settings file, then finds the simulator's configuration
// file. On failure it has shown its dialog and run Shutdown; returns 1.
int LoadSettings(shell::Context& ctx);

// Each writes one key of section "Main"; a missing settings file is reported
// and the key written all the same (which creates the file). A settings file
// that is there but cannot be read is left alone. Each returns 0, or 1 after
// telling the user what was not saved and why (SavePathFSXConfig tells
// nothing: the path is found again at the next start).
int SaveCopilotVoice(const shell::AppState& state, shell::Dialogs& dialogs);
int SaveMicrophone(const shell::AppState& state, shell::Dialogs& dialogs);
int SavePathFSXConfig(const shell::AppState& state);
// `anyWritten` is whether any assignment has its kneeboard-written flag set;
// the value stored is 1 or 0, never -1. Also updates the state.
int SaveChecklistBackups(shell::AppState& state, shell::Dialogs& dialogs, bool anyWritten);

}  // namespace qv::data
