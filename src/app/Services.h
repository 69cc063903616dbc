#pragma once

#include <QString>
#include <memory>

#include "core/grammar/SpeechEngines.h"
#include "core/grammar/Rehearsal.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/Context.h"
#include "core/shell/Launch.h"
#include "core/shell/Shutdown.h"
#include "platform/Joystick.h"
#include "platform/Platform.h"

namespace qv::app {

// What the program runs on: the operating-system services, the joystick,
// the three speech engines and the way the process ends. The programs take
// the real ones (SystemBackends); the tests hand in fakes and recorders.
struct Backends {
  platform::Platform platform;
  std::unique_ptr<platform::Joystick> joystick;
  std::unique_ptr<grammar::GrammarCompilerEngine> compiler;
  std::unique_ptr<grammar::RecognizerEngine> recognizer;
  std::unique_ptr<grammar::SpeechOutputEngine> output;
  std::unique_ptr<grammar::RehearsalRecognizer> rehearsal;  // may be null
  std::unique_ptr<shell::ProcessExit> exit;
};

// The implementations for this OS, for the installation in `installDir`;
// `exit` ends the process at once. The interface gets the file-open dialog
// and the joystick; the command line neither (its file dialog answers
// "cancelled", and nothing asks for a joystick there).
enum class Program { Interface, CommandLine };
Backends SystemBackends(const QString& installDir, Program program);
// The command line's set, defined apart from the interface's dialogs so that
// linking it brings in no widgets.
Backends CommandLineBackends(const QString& installDir);

// What every program of the system builds over its process-wide tables: the
// speech facade on the engines, the shutdown sequence, the context the
// operations take and the launch road. The tables and the dialogs come from
// the program (the GUI's skinned dialogs, the command line's printer), so
// that they can exist before this does.
struct Services {
  Services(shell::AppState& state, Backends backends, shell::Dialogs& dialogs, shell::StatusSink& status);

  Backends backends;
  grammar::SpeechFacade speech;
  shell::ShutdownSequence shutdown;
  shell::Context ctx;
  shell::Launcher launcher;
};

}  // namespace qv::app
