#pragma once

#include <QString>
#include <memory>

#include "platform/AppDataFolders.h"
#include "platform/FileDialogs.h"
#include "platform/OsVersion.h"
#include "platform/ProcessLauncher.h"
#include "platform/SingleInstance.h"
#include "platform/WindowProbe.h"

namespace qv::platform {

// The operating-system services the program uses, one object each. The
// composition root fills it from CreatePlatform() and may replace members
// (the file dialog needs widgets, so the GUI supplies it); tests fill it with
// fakes.
struct Platform {
  std::unique_ptr<AppDataFolders> appData;
  std::unique_ptr<FileDialogs> fileDialogs;
  std::unique_ptr<OsVersion> osVersion;
  std::unique_ptr<SingleInstance> singleInstance;
  std::unique_ptr<WindowProbe> windowProbe;
  std::unique_ptr<ProcessLauncher> processLauncher;
};

// The implementations for the OS being built. `installDir` keys the
// single-instance claim and decides whether a Wine prefix applies.
Platform CreatePlatform(const QString& installDir);

}  // namespace qv::platform
