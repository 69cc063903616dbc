#pragma once

#include <QString>
#include <cstdio>

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "platform/Platform.h"

namespace qv::bench {

// Messages go to stderr (a benchmark that fails says why); nothing else is
// shown.
class BenchDialogs final : public shell::Dialogs {
 public:
  void ShowMessage(const QString& title, const QString& message, int, bool, bool, const QString&) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(QString(message).replace('\r', ' ')));
  }
  void ShowInput(const QString&, const QString&, const QString&, bool, bool, const QString&, const QString&) override {}
  void ProgressOpen(const QString&, const QString&) override {}
  void ProgressUpdate(const QString&, double) override {}
  void ProgressHide() override {}
};

class NoShutdown final : public shell::ShutdownService {
 public:
  void Shutdown() override { done = true; }
  bool HasShutDown() const override { return done; }
  bool done = false;
};

// What an operation needs, for one installation folder.
struct BenchContext {
  explicit BenchContext(const QString& installDir) : platform(platform::CreatePlatform(installDir)) {
    state.installDir = installDir;
  }
  shell::AppState state;
  BenchDialogs dialogs;
  NoShutdown shutdown;
  shell::NullStatusSink status;
  platform::Platform platform;
  shell::Context ctx{state, dialogs, shutdown, status, platform};
};

}  // namespace qv::bench
