#include "core/grammar/TestGrammar.h"

#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/NavaidGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"

namespace qv::grammar {
namespace {

bool ValidIndices(const shell::AppState& state, int commandIndex, int grammarIndex) {
  return commandIndex >= 0 && commandIndex < static_cast<int>(state.commands.size()) && grammarIndex >= 0 &&
         grammarIndex < state.commands[commandIndex].grammars.size();
}

}  // namespace

bool UsesNavaidRules(const QString& phrase) {
  for (const char* rule : {"<NAV_NAME>", "<NAV_ID>", "<RWY_APT_ID>"})
    if (phrase.contains(QLatin1String(rule), Qt::CaseInsensitive)) return true;
  return false;
}

QString BuildTestGrammar(const shell::AppState& state, int commandIndex, int grammarIndex) {
  const data::CommandRecord& command = state.commands[commandIndex];
  const QString& phrase = command.grammars[grammarIndex];
  const QString eventName = TrimSpaces(command.eventName).toUpper();

  QString translated = phrase;
  translated.replace(u'(', QStringLiteral("!optional("));
  translated.replace(u'[', u'(');
  translated.replace(u']', u')');

  GrammarText g;
  g.Line(QStringLiteral("!grammar \"Test\";"));
  g.Line();
  for (const QString& line : CategoryImports()) g.Line(line);
  if (UsesNavaidRules(phrase))
    for (const QString& line : NavaidImports()) g.Line(line);
  g.Line();
  g.Line("!start<" + eventName + ">;");
  g.Line();
  g.Line("<" + eventName + ">:");
  g.Line("\t(");
  g.Line("\t\t" + TrimSpaces(translated));
  g.Line("\t)");
  g.Line(";");
  g.Line();
  return g.Text();
}

QString BuildOtherPhrasesGrammar(const shell::AppState& state, int commandIndex, int grammarIndex) {
  const QString tested = TrimSpaces(state.commands[commandIndex].grammars[grammarIndex]);
  QStringList phrases;
  for (const data::CommandRecord& command : state.commands)
    for (const QString& phrase : command.grammars) {
      const QString trimmed = TrimSpaces(phrase);
      // Navaid phrases would bring the navaid lists along, far too large for
      // a rival heard on every test; the tested phrase itself is no rival.
      if (trimmed.isEmpty() || trimmed == tested || UsesNavaidRules(trimmed) || !CheckGrammar(trimmed)) continue;
      phrases << TranslatePhrase(phrase);
    }
  phrases.removeDuplicates();
  GrammarText g;
  g.Line(QStringLiteral("!grammar \"Others\";"));
  g.Line();
  for (const QString& line : CategoryImports()) g.Line(line);
  g.Line();
  if (phrases.isEmpty()) return g.Text();  // no start rule: nothing to compete
  g.Line(QStringLiteral("!start<OTHERS>;"));
  g.Line();
  g.Line(QStringLiteral("<OTHERS>:"));
  g.Line(QStringLiteral("\t("));
  for (qsizetype i = 0; i < phrases.size(); ++i) g.Line((i == 0 ? "\t\t" : "\t\t| ") + phrases[i]);
  g.Line(QStringLiteral("\t)"));
  g.Line(QStringLiteral(";"));
  return g.Text();
}

int16_t WriteTestGrammar(shell::Context& ctx, int commandIndex, int grammarIndex) {
  if (!ValidIndices(ctx.state, commandIndex, grammarIndex)) return 1;
  const bool navaids = UsesNavaidRules(ctx.state.commands[commandIndex].grammars[grammarIndex]);
  const QString dir = TestGrammarsDir(ctx.state.installDir);
  if (EnsureGenericLists(ctx, dir) != 0) return 1;
  const QString path = dir + QStringLiteral("/Test.bnf");
  if (WriteGrammarFile(ctx, BuildTestGrammar(ctx.state, commandIndex, grammarIndex), path) != 0) return 1;
  if (WriteGrammarFile(ctx, BuildOtherPhrasesGrammar(ctx.state, commandIndex, grammarIndex),
                       dir + QStringLiteral("/") + kOtherPhrasesFile) != 0)
    return 1;
  if (navaids && WriteNavaidGrammars(ctx, true) != 0) return 1;
  return 0;
}

}  // namespace qv::grammar
