#include "app/cli/CliSupport.h"
#include "app/cli/InstallationTables.h"
#include "core/grammar/GrammarScript.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1 && args.size() != 2) {
    PrintErr("Usage: quorvane-cli script INSTALL_DIR [OUT_FILE]\n");
    return 2;
  }
  Session session(args[0]);
  if (!LockInstallation(session) || LoadCommandTables(session) != 0) return 1;
  QString document;
  if (!grammar::BuildGrammarScript(session.ctx, document)) return 1;
  const QString path = args.size() == 2 ? args[1] : grammar::GrammarScriptPath(session.state.installDir);
  QString error;
  if (!grammar::SaveGrammarScript(document, path, &error)) {
    PrintErr("Could not write " + path + ": " + error + "\n");
    return 1;
  }
  PrintOut("Grammar script written to " + path + "\n");
  return 0;
}

const Registrar reg({"script", "script INSTALL_DIR [OUT_FILE]",
                     "write the grammar script document (default QuorvaneScript.rtf in INSTALL_DIR)", Run});

}  // namespace
}  // namespace qv::cli
