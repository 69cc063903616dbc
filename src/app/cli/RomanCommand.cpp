#include "app/cli/CliSupport.h"
#include "core/grammar/CheckExpandGrammar.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli roman TEXT\n");
    return 2;
  }
  const QString text = grammar::TrimSpaces(args[0]);
  bool digits = text.size() <= 7;
  for (QChar c : text) digits = digits && c >= u'0' && c <= u'9';
  if (!digits) {
    PrintErr("Not a decimal number of 1 to 7 digits: " + args[0] + "\n");
    return 1;
  }
  PrintOut(grammar::ToRoman(text) + "\n");
  return 0;
}

const Registrar reg({"roman", "roman TEXT", "print the Roman numeral of a decimal number", Run});

}  // namespace
}  // namespace qv::cli
