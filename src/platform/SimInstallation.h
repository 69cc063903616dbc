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

// The rules of the file system the simulator's files live on, which differ
// by OS (each OS folder implements them):

// The "drive_c" folder of the Wine prefix that `path` lies in, its name
// matched without regard to case; empty outside a prefix, and on Windows.
QString WineDriveC(const QString& path);

// A drive path from the simulator's files ("C:/...", slashes already) as a
// path on this machine. On Windows it is the path itself. Under Wine the
// drive is that of the prefix `near` lies in: its "dosdevices" link of the
// letter, or its "drive_c" for C:. Outside a prefix the path is kept.
QString DrivePath(const QString& near, const QString& path);

// `path` as it is on disk: its existing folders and the file found whatever
// their letter case; a file that does not exist yet keeps its name in the
// folder found. On Windows, whose file system ignores case, the path itself.
QString OnDiskPath(const QString& path);

}  // namespace qv::platform
