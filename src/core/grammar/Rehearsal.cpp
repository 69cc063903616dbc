#include "core/grammar/Rehearsal.h"

#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/CommandTextEditor.h"
#include "core/grammar/GrammarWriter.h"
#include "core/shell/AppState.h"

namespace qv::grammar {

QString RehearsalResult::Summary() const {
  switch (outcome) {
    case Outcome::Command: return category + " / " + commandName;
    case Outcome::NotCommand: return QStringLiteral("not a command");
    case Outcome::Stopped: return QStringLiteral("stopped");
    case Outcome::Failed: return QStringLiteral("failed: ") + error;
  }
  return {};
}

QStringList RehearsalGrammars(const QStringList& categories) {
  QStringList names;
  for (const QString& c : categories) {
    QString file = CategoryFileName(c);
    file.chop(4);  // ".bnf"
    if (!names.contains(file)) names << file;
  }
  return names;
}

RehearsalResult Resolve(const std::vector<data::CommandRecord>& commands, const RuleMatch& match) {
  RehearsalResult r;
  r.words = match.words;
  r.confidence = match.confidence;
  r.audioSeconds = match.audioSeconds;
  r.decodeSeconds = match.decodeSeconds;
  r.error = match.error;
  if (match.status == 1) r.outcome = RehearsalResult::Outcome::Stopped;
  if (match.status == -3) r.outcome = RehearsalResult::Outcome::Failed;
  if (match.status != 0) return r;
  const QString rule = match.rule.trimmed().toUpper();
  for (size_t i = 0; i < commands.size(); ++i) {
    const data::CommandRecord& c = commands[i];
    QString file = CategoryFileName(c.category);
    file.chop(4);
    if (file.compare(match.grammar, Qt::CaseInsensitive) != 0 || c.eventName.trimmed().toUpper() != rule) continue;
    r.outcome = RehearsalResult::Outcome::Command;
    r.commandIndex = static_cast<int>(i);
    // Named as the category list names it: the first command's spelling.
    const QString key = TrimSpaces(c.category).toUpper();
    for (const data::CommandRecord& first : commands)
      if (TrimSpaces(first.category).toUpper() == key) {
        r.category = TrimSpaces(first.category);
        break;
      }
    r.commandName = TrimSpaces(c.name);
    r.eventName = rule;
    r.actionText = match.actions.join(QString());
    return r;
  }
  // A grammar compiled from an older command list: the words were heard,
  // but no command of today's list answers to them.
  return r;
}

QString FirstReadback(const shell::AppState& state, int commandIndex) {
  if (commandIndex < 0 || commandIndex >= static_cast<int>(state.commands.size())) return {};
  for (const QString& readback : state.commands[commandIndex].readbacks)
    if (!TrimSpaces(readback).isEmpty()) return SpokenReadback(readback, state.settings.lists);
  return {};
}

QString ResultLine(const RehearsalResult& r) {
  if (!r.IsCommand()) return r.outcome == RehearsalResult::Outcome::Failed ? "error: " + r.error : "not a command";
  return QStringList{r.commandName, r.eventName, r.actionText, r.words}.join(u'\t');
}

}  // namespace qv::grammar
