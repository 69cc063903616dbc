#pragma once

#include "data/NavaidLists.h"

namespace qv::shell {
struct AppState;
struct Context;
class Dialogs;
}  // namespace qv::shell

namespace qv::data {

// Loading the ILS and navaid lists at start-up.

// Start-up (normal mode): fill AppState::ilsList / navaidList. A missing or
// malformed file shows the fatal dialog, runs Shutdown and returns 1.
int LoadIlsList(shell::Context& ctx);

int LoadNavaidList(shell::Context& ctx);

}  // namespace qv::data
