// quorvane-cli: the headless companion. Each subcommand lives in its own file
// and registers itself; this file only dispatches.
#include <QCoreApplication>
#include <algorithm>

#include "app/cli/CliSupport.h"

using qv::cli::Commands;

namespace {

int Help() {
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  QString text = "Usage: quorvane-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
  for (const auto& c : commands) text += "  " + c.usage.leftJustified(44) + " " + c.summary + "\n";
  qv::cli::PrintOut(text);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("quorvane-cli");
  QCoreApplication::setApplicationVersion(QStringLiteral(QV_VERSION));
  QStringList args = QCoreApplication::arguments().mid(1);
  if (args.isEmpty() || args.first() == "--help" || args.first() == "-h" || args.first() == "help") return Help();
  const QString name = args.takeFirst();
  for (const auto& c : Commands())
    if (c.name == name) return c.run(args);
  qv::cli::PrintErr("Unknown command: " + name + "\nRun quorvane-cli --help for the list.\n");
  return 2;
}
