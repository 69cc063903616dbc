#include "app/cli/CliSupport.h"
#include "app/cli/InstallationTables.h"
#include "core/grammar/CompileProblems.h"

namespace qv::cli {
namespace {

// Commands listened for together that can be heard alike: the compile's
// warnings that name two phrases.
int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli overlaps INSTALL_DIR\n");
    return 2;
  }
  Session session(args[0]);
  if (!LockInstallation(session) || LoadCommandTables(session) != 0) return 1;
  const int status = WriteAndCompileGrammars(session);
  if (status < 0) return 1;
  int found = 0;
  for (const grammar::CompileProblem& p :
       grammar::LocateCompileProblems(session.state, session.speech.CompileDiagnostics())) {
    if (p.error && status != 0) PrintErr(p.Text(session.state) + "\n");
    if (!p.HasOther()) continue;
    ++found;
    PrintOut(p.Text(session.state) + "\n");
  }
  session.speech.fnBinCompile_Call(2, 0, 0);
  if (status != 0) {
    PrintErr(QString("Grammar compile failed (status %1).\n").arg(status));
    return 1;
  }
  PrintErr(found == 0 ? QString("No commands can be heard alike.\n")
                      : QString("%1 pair%2 of commands can be heard alike.\n").arg(found).arg(found == 1 ? "" : "s"));
  return found == 0 ? 0 : 1;
}

const Registrar reg({"overlaps", "overlaps INSTALL_DIR",
                     "list commands heard together that share a sentence or begin another's (exit 1 if any)", Run});

}  // namespace
}  // namespace qv::cli
