#include "app/Services.h"

#include <cstdio>
#include <cstdlib>

#include "core/shell/AppState.h"
#include "speech/EngineFactory.h"
#include "speech/Rehearser.h"

namespace qv::app {
namespace {

// Shutdown must not return to a caller that may still be inside a modal
// dialog, so the process ends right here.
class ImmediateExit final : public shell::ProcessExit {
 public:
  void Exit(int code) override {
    std::fflush(nullptr);
    std::_Exit(code);
  }
};

}  // namespace

Backends CommandLineBackends(const QString& installDir) {
  Backends b;
  b.platform = platform::CreatePlatform(installDir);
  speech::EngineSet engines = speech::CreateEngines(installDir);
  b.compiler = std::move(engines.compiler);
  b.recognizer = std::move(engines.recognizer);
  b.output = std::move(engines.output);
  b.rehearsal = std::make_unique<speech::Rehearser>(installDir);
  b.exit = std::make_unique<ImmediateExit>();
  return b;
}

Services::Services(shell::AppState& state, Backends b, shell::Dialogs& dialogs, shell::StatusSink& status)
    : backends(std::move(b)),
      speech(state.speechReady, *backends.compiler, *backends.recognizer, *backends.output),
      shutdown(state, dialogs, speech, *backends.exit),
      ctx{state, dialogs, shutdown, status, backends.platform},
      launcher(ctx) {
  speech.SetRehearsal(backends.rehearsal.get());
}

}  // namespace qv::app
