#include "app/cli/CliSupport.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

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

Session::Session(const QString& installDir)
    : platform(platform::CreatePlatform(installDir)),
      engines(qv::speech::CreateEngines(QDir::cleanPath(QFileInfo(installDir).absoluteFilePath()))),
      speech(state.speechReady, *engines.compiler, *engines.recognizer, *engines.output),
      shutdown(state, dialogs, speech, exit),
      ctx{state, dialogs, shutdown, status, platform} {
  state.installDir = QDir::cleanPath(QFileInfo(installDir).absoluteFilePath());
}

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace qv::cli
