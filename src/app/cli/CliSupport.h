#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/Services.h"
#include "core/shell/AppState.h"
#include "core/shell/Dialogs.h"
#include "core/shell/StatusSink.h"
#include "speech/Recognizer.h"

namespace qv::cli {

// Dialogs of the headless companion: messages go to stderr, input is never
// given (an input dialog counts as cancelled), progress is not shown.
class CliDialogs final : public shell::Dialogs {
 public:
  void ShowMessage(const QString& title, const QString& message, int icon, bool showOk, bool showCancel,
                   const QString& tag) override;
  void ShowInput(const QString& title, const QString& message, const QString& prompt, bool showOk, bool showCancel,
                 const QString& defaultText, const QString& tag) override;
  void ProgressOpen(const QString&, const QString&) override {}
  void ProgressUpdate(const QString&, double) override {}
  void ProgressHide() override {}
};

// The CLI does not end the process from inside an operation: it notes the
// request and the command returns a failure status.
class CliExit final : public shell::ProcessExit {
 public:
  void Exit(int) override { requested = true; }
  bool requested = false;
};

// Everything an operation needs, for one installation folder: the system's
// backends and services, with the dialogs printing to stderr and an end of
// the process that is only noted.
struct Session {
  explicit Session(const QString& installDir);

  shell::AppState state;
  CliDialogs dialogs;
  shell::NullStatusSink status;
  app::Services services;
  CliExit& exit;
  shell::Context& ctx;
  grammar::SpeechFacade& speech;
  shell::ShutdownSequence& shutdown;
};

struct Command {
  QString name;
  QString usage;
  QString summary;
  std::function<int(const QStringList& args)> run;
};

// Every subcommand registers itself here.
std::vector<Command>& Commands();
struct Registrar {
  explicit Registrar(Command command) { Commands().push_back(std::move(command)); }
};

void PrintOut(const QString& text);
void PrintErr(const QString& text);

// Every command that writes into an installation first takes the same lock
// the program takes, so that an open program cannot undo its changes by a
// later save. False, after saying so on stderr, when the program or another
// command holds it.
bool LockInstallation(Session& session);

// Writes every grammar file and compiles them as the configuration screen's
// compile does, leaving the compiler started for its problems to be read.
// The compile's status, or -1 (said on stderr) when the files could not be
// written.
int WriteAndCompileGrammars(Session& session);

// The installation a file lies in (the nearest folder above it that holds a
// settings file), or an empty text.
QString InstallationOf(const QString& file);

// Takes "--name VALUE" out of the arguments.
bool TakeOption(QStringList& args, const QString& name, QString& value);

// The listening commands' tuning options, taken out of the arguments:
// the rejection's settings and raw recogniser options, so that tuning stays
// measurable from the command line.
inline constexpr const char* kRecognizerOptionsUsage =
    "[--competitor-prior P] [--competitor-word P] [--rival-prior P] [--word-margin M] [--speech-margin M] "
    "[--variants VOICE,...] [--after-speech SECONDS] [--speech-rise DB] [--length-balance F] [--decoder \"-option value ...\" (replaces the default options)]";
speech::RecognizerSettings TakeRecognizerOptions(QStringList& args);

}  // namespace qv::cli
