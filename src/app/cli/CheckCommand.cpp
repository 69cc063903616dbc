#include "app/cli/CliSupport.h"
#include "core/grammar/CheckExpandGrammar.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli check PHRASE\n");
    return 2;
  }
  const bool legal = grammar::CheckGrammar(args[0]);
  PrintOut(legal ? "legal\n" : "illegal\n");
  return legal ? 0 : 1;
}

const Registrar reg({"check", "check PHRASE", "say whether a grammar phrase is legal (exit 0) or not (exit 1)", Run});

}  // namespace
}  // namespace qv::cli
