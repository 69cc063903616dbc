#pragma once

#include <QString>

namespace qv::platform {
class AppDataFolders;
}
namespace qv::shell {
struct Context;
}

namespace qv::data {

inline const QString kConfigNotFound = QStringLiteral("NOT FOUND");
inline constexpr int kMaxSimObjectPaths = 1000;

// The full path of an existing "Microsoft/FSX/fsx.cfg" in the common
// (useUserFolder false) or the user's application-data folder, or "NOT FOUND".
QString FindSimulatorConfig(const platform::AppDataFolders& folders, bool useUserFolder);

// Leaves a usable PathFSXConfig in memory and in the settings file, or shows
// its dialog, runs Shutdown and returns 1.
int DiscoverSimulatorConfig(shell::Context& ctx);

// Reads "SimObjectPaths.0" ... of section "MAIN" up to the first empty value
// (at most 1000). Returns 1 after the read-error dialog and Shutdown.
int LoadSimObjectPaths(shell::Context& ctx);

}  // namespace qv::data
