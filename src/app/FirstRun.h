#pragma once

#include <QString>

namespace qv::app {

// Whether the program in `programDir` runs outside any installation: no
// settings file beside it and no simulator two folders above (a damaged
// installation is reported by start-up instead).
bool OutsideInstallation(const QString& programDir);

// Started from the package (the desktop entry, /usr/bin): starts the
// installation set up last time when it is still there; otherwise offers to
// set one up in a simulator folder the user picks, then starts it. Returns
// the process's exit code.
int RunFirstRun(const QString& programDir);

}  // namespace qv::app
