#include "app/cli/CliSupport.h"
#include "app/cli/InstallationTables.h"
#include "core/grammar/CompileProblems.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli compile INSTALL_DIR\n");
    return 2;
  }
  Session session(args[0]);
  if (!LockInstallation(session) || LoadCommandTables(session) != 0) return 1;
  const int status = WriteAndCompileGrammars(session);
  if (status < 0) return 1;
  // The same list the configuration screen offers, one problem a line.
  for (const grammar::CompileProblem& p :
       grammar::LocateCompileProblems(session.state, session.speech.CompileDiagnostics()))
    PrintOut(p.Text(session.state) + "\n");
  session.speech.fnBinCompile_Call(2, 0, 0);
  PrintErr(status == 0 ? QString("Grammars compiled.\n")
                       : QString("Grammar compile failed (status %1).\n").arg(status));
  return status == 0 ? 0 : 1;
}

const Registrar reg({"compile", "compile INSTALL_DIR",
                     "write and compile the installation's grammar files, printing every problem", Run});

}  // namespace
}  // namespace qv::cli
