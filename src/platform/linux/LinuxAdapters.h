#pragma once

#include <memory>

#include "platform/ProcessLauncher.h"
#include "platform/WindowProbe.h"

namespace qv::platform {

// The X11 window look-up; without an X display it finds nothing.
std::unique_ptr<WindowProbe> CreateX11WindowProbe();
std::unique_ptr<ProcessLauncher> CreateLinuxProcessLauncher();

}  // namespace qv::platform
