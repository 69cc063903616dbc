#pragma once

#include "data/CommandList.h"

namespace qv::shell {
struct AppState;
struct Context;
class Dialogs;
}  // namespace qv::shell

namespace qv::data {

// Loading and saving the command list for the running program: failures are
// reported to the user here, the file format itself lives in data/.

// Start-up: replaces AppState::commands with the file's contents. A missing
// or damaged file shows the load error, runs Shutdown and returns 1.
int LoadCommandList(shell::Context& ctx);

// Writes every command, keeping one ".bak" copy of the previous file. Returns
// 1 after the write-error dialog; the file on disk is then unchanged.
int SaveCommandList(const shell::AppState& state, shell::Dialogs& dialogs);

}  // namespace qv::data
