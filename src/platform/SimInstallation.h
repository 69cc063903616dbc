#pragma once

#include <QString>

namespace qv::platform {

// The simulator folder: two levels above the installation folder.
QString SimulatorFolder(const QString& installDir);
// The simulator's executable "fsx.exe" in the simulator folder (found without
// regard to letter case); empty when there is none.
QString SimulatorExecutable(const QString& installDir);

// Values in simulator files are Windows paths: backslashes become slashes.
QString FromWindowsPath(const QString& value);

// The entry of `folder` called `name`, matched without regard to letter case
// when the exact name does not exist (the simulator's files come from a
// case-insensitive file system). Empty when there is no such entry.
QString FindNoCase(const QString& folder, const QString& name);

// Resolves a path relative to `base` (or absolute) one component at a time
// without regard to letter case. Returns the existing path, or the path as
// given (with slashes) when some component does not exist.
QString ResolveNoCase(const QString& base, const QString& windowsPath);

}  // namespace qv::platform
