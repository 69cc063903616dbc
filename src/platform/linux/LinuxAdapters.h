#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "platform/FileRead.h"
#include "platform/ProcessLauncher.h"
#include "platform/WindowProbe.h"

namespace qv::platform {

// The X11 window look-up; without an X display it finds nothing.
std::unique_ptr<WindowProbe> CreateX11WindowProbe();
std::unique_ptr<ProcessLauncher> CreateLinuxProcessLauncher();

// ReadFileUpTo for a file opened already (a negative `fd` is the failed
// open, its errno still set); closes it. `listedRegular`: a folder listing
// has just given the name as a regular file, so its status is not asked for
// again and it is read to its end.
FileRead ReadOpenedFile(int fd, qint64 limit, QByteArray& out, QString& reason, bool listedRegular = false);

}  // namespace qv::platform
