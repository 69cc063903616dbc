#pragma once

#include <QString>
#include <functional>

namespace qv::grammar {
class SpeechFacade;
}

namespace qv::shell {

struct Context;

inline const QString kRestoreSwitch = QStringLiteral("/restore");

// The loaders and hand-overs of start-up, in the order they run. A loader
// returns 0 to go on; any other value means it has reported its failure and
// run Shutdown, and nothing after it runs. Tests replace single steps.
struct StartupSteps {
  using Loader = std::function<int()>;
  Loader loadSettings;  // settings file and simulator configuration discovery
  Loader loadSimObjectPaths;
  Loader loadAssignments;
  Loader scanAircraft;
  // normal mode only:
  Loader listChecklists;
  Loader loadScreenTips;
  Loader loadCommandList;
  Loader loadIls;
  Loader loadNavaids;
  Loader buildCategories;

  std::function<void()> launchDecision;    // normal mode: frame, or straight to the tray
  std::function<void()> restoreAll;        // restore mode: puts every kneeboard page back
  std::function<void()> loadAssignScreen;  // first-use prompt: assignment screen loaded, not shown
};

// The loaders that exist in this build, wired to the context.
StartupSteps DefaultStartupSteps(Context& ctx);

// True when the whole command line is exactly "/restore" (case-sensitive).
bool IsRestoreCommandLine(const QString& commandLine);

// Runs start-up. Returns false when it ended in Shutdown, true when the
// program goes on driven by the user.
bool RunStartup(Context& ctx, grammar::SpeechFacade& speech, const QString& commandLine, StartupSteps& steps);

}  // namespace qv::shell
