#include "app/cli/CliSupport.h"
#include "app/cli/InstallationTables.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/TestGrammar.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 3) {
    PrintErr("Usage: quorvane-cli test-grammar INSTALL_DIR COMMAND_INDEX GRAMMAR_INDEX\n");
    return 2;
  }
  const int commandIndex = ParseIndex(args[1]);
  const int grammarIndex = ParseIndex(args[2]);
  if (commandIndex < 0 || grammarIndex < 0) {
    PrintErr("COMMAND_INDEX and GRAMMAR_INDEX are numbers from 0.\n");
    return 2;
  }
  Session session(args[0]);
  if (!LockInstallation(session) || LoadCommandTables(session) != 0) return 1;
  const auto& commands = session.state.commands;
  if (commandIndex >= static_cast<int>(commands.size()) || grammarIndex >= commands[commandIndex].grammars.size()) {
    PrintErr(
        QString("There is no phrase %1 of command %2 in this installation.\n").arg(grammarIndex).arg(commandIndex));
    return 2;
  }
  if (grammar::WriteTestGrammar(session.ctx, commandIndex, grammarIndex) != 0) {
    if (!session.shutdown.HasShutDown())
      session.dialogs.ShowMessage("Error Writing Test Grammar",
                                  shell::JoinLines({"There was an error writing out the test command.  Please check "
                                                    "the selected rule for errors.",
                                                    "Please press OK to continue..."}),
                                  shell::kIconError, true, false, QString());
    return 1;
  }
  PrintOut("Test grammar written to " + grammar::TestGrammarsDir(session.state.installDir) + "\n");
  return 0;
}

const Registrar reg({"test-grammar", "test-grammar INSTALL_DIR COMMAND_INDEX GRAMMAR_INDEX",
                     "write the test grammar of one phrase of one command", Run});

}  // namespace
}  // namespace qv::cli
