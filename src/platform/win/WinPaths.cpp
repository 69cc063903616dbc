#include "platform/SimInstallation.h"

// On Windows the simulator's paths are this machine's paths, and the file
// system ignores letter case.

namespace qv::platform {

QString WineDriveC(const QString&) { return QString(); }

QString DrivePath(const QString&, const QString& path) { return path; }

QString OnDiskPath(const QString& path) { return path; }

}  // namespace qv::platform
