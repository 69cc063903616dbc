#pragma once

namespace qv::platform {
struct Platform;
}

namespace qv::shell {

struct AppState;
class Dialogs;
class ShutdownService;
class StatusSink;

// What an operation needs to reach the process-wide tables, the user and the
// operating system. Built once by the composition root.
struct Context {
  AppState& state;
  Dialogs& dialogs;
  ShutdownService& shutdown;
  StatusSink& status;
  platform::Platform& platform;
};

}  // namespace qv::shell
