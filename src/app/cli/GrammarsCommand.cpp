#include "app/cli/CliSupport.h"
#include "app/cli/InstallationTables.h"
#include "core/grammar/GrammarWriter.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli grammars INSTALL_DIR\n");
    return 2;
  }
  Session session(args[0]);
  if (!LockInstallation(session) || LoadCommandTables(session) != 0) return 1;
  const int16_t status = grammar::WriteAllGrammars(session.ctx);
  if (status != 0) {
    if (!session.shutdown.HasShutDown())
      PrintErr("Grammar Export Error: the grammar files could not all be written (is Data/Generic Lists.bnf there?)\n");
    return status;
  }
  PrintOut("Grammar files written to " + grammar::GrammarsDir(session.state.installDir) + "\n");
  return 0;
}

const Registrar reg({"grammars", "grammars INSTALL_DIR", "write every grammar file of an installation", Run});

}  // namespace
}  // namespace qv::cli
