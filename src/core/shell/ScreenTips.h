#pragma once

namespace qv::shell {
struct AppState;

// Fills the tip shown for each screen when it opens.
void LoadScreenTips(AppState& state);

}  // namespace qv::shell
