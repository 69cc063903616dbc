#include "app/cli/CliSupport.h"
#include "base/FixedText.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "data/CommandList.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli expand PHRASE\n");
    return 2;
  }
  if (args[0].size() > data::kGrammarWidth) {
    PrintErr(QString("A grammar phrase holds at most %1 characters.\n").arg(data::kGrammarWidth));
    return 2;
  }
  // The phrase as the command list would hold it, in a command of its own.
  shell::AppState state;
  data::CommandRecord command;
  command.category = base::Fixed("Command Line", data::kCategoryWidth);
  command.name = base::Fixed("expand", data::kNameWidth);
  command.grammars << base::Fixed(args[0], data::kGrammarWidth);
  state.commands.push_back(command);
  CliDialogs dialogs;
  grammar::ExpandGrammar(state, dialogs, 0, 0);
  if (state.phraseCount == -99) return 1;
  QString out;
  for (const QString& sentence : state.phraseList) out += grammar::TrimSpaces(sentence) + "\n";
  PrintOut(out);
  return 0;
}

const Registrar reg({"expand", "expand PHRASE", "print every sentence a grammar phrase stands for", Run});

}  // namespace
}  // namespace qv::cli
