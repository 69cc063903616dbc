#include "app/cli/CliSupport.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/grammar/GrammarWriter.h"
#include "data/Settings.h"

namespace qv::cli {

void PrintOut(const QString& text) {
  const QByteArray b = text.toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stdout);
}

void PrintErr(const QString& text) {
  const QByteArray b = text.toUtf8();
  std::fwrite(b.constData(), 1, b.size(), stderr);
}

void CliDialogs::ShowMessage(const QString& title, const QString& message, int, bool, bool, const QString&) {
  QString text = message;
  text.replace(u'\r', u'\n');
  PrintErr(title + ": " + text + "\n");
}

void CliDialogs::ShowInput(const QString& title, const QString&, const QString&, bool, bool, const QString&,
                           const QString&) {
  PrintErr(title + ": no input in the command-line tool\n");
}

namespace {

QString Absolute(const QString& folder) { return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); }

app::Backends CliBackends(const QString& installDir) {
  app::Backends b = app::CommandLineBackends(Absolute(installDir));
  b.exit = std::make_unique<CliExit>();
  return b;
}

}  // namespace

Session::Session(const QString& installDir)
    : services(state, CliBackends(installDir), dialogs, status),
      exit(static_cast<CliExit&>(*services.backends.exit)),
      ctx(services.ctx),
      speech(services.speech),
      shutdown(services.shutdown) {
  state.installDir = Absolute(installDir);
}

int WriteAndCompileGrammars(Session& session) {
  if (grammar::WriteAllGrammars(session.ctx) != 0) {
    PrintErr("Grammar Export Error: the grammar files could not be written.\n");
    return -1;
  }
  session.state.speechReady = true;
  session.speech.fnBinCompile_Call(0, 0, 0);
  return session.speech.fnBinCompile_Call(1, 0, 1);
}

bool LockInstallation(Session& session) {
  if (!session.ctx.platform.singleInstance->AnotherInstanceRunning()) return true;
  PrintErr("Quorvane is working on the installation " + QDir::toNativeSeparators(session.state.installDir) +
           " (the program or another command is running); close it and try again. Nothing has been changed.\n");
  return false;
}

QString InstallationOf(const QString& file) {
  QDir dir = QFileInfo(file).absoluteDir();
  do {
    if (QFileInfo(dir.filePath(data::kSettingsFileName)).isFile()) return dir.absolutePath();
  } while (dir.cdUp());
  return QString();
}

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

bool TakeOption(QStringList& args, const QString& name, QString& value) {
  const int i = args.indexOf(name);
  if (i < 0 || i + 1 >= args.size()) return false;
  value = args[i + 1];
  args.remove(i, 2);
  return true;
}

speech::RecognizerSettings TakeRecognizerOptions(QStringList& args) {
  speech::RecognizerSettings settings;
  QString v;
  if (TakeOption(args, "--competitor-prior", v)) settings.rejection.competitorPrior = v.toDouble();
  if (TakeOption(args, "--competitor-word", v)) settings.rejection.competitorWord = v.toDouble();
  if (TakeOption(args, "--word-margin", v)) settings.rejection.wordMargin = v.toDouble();
  if (TakeOption(args, "--speech-margin", v)) settings.rejection.speechMargin = v.toDouble();
  if (TakeOption(args, "--rival-prior", v)) settings.rejection.rivalPrior = v.toDouble();
  if (TakeOption(args, "--variants", v)) settings.variantVoices = v.split(u',', Qt::SkipEmptyParts);
  if (TakeOption(args, "--after-speech", v)) settings.speechSpan.afterSeconds = v.toDouble();
  if (TakeOption(args, "--speech-rise", v)) settings.speechSpan.riseDb = v.toDouble();
  if (TakeOption(args, "--length-balance", v)) settings.lengthBalance = v.toDouble();
  if (TakeOption(args, "--decoder", v)) settings.decoderArguments = v.split(u' ', Qt::SkipEmptyParts);
  return settings;
}

}  // namespace qv::cli
