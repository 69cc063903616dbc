#pragma once

#include <memory>

#include "platform/ProcessLauncher.h"
#include "platform/WindowProbe.h"

namespace qv::platform {

std::unique_ptr<WindowProbe> CreateWinWindowProbe();
std::unique_ptr<ProcessLauncher> CreateWinProcessLauncher();

}  // namespace qv::platform
