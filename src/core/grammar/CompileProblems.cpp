#include "core/grammar/CompileProblems.h"

#include <QHash>
#include <algorithm>

#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/NavaidGrammar.h"
#include "core/shell/AppState.h"
#include "data/NavaidLists.h"

namespace qv::grammar {

namespace {

bool IsLegalPhraseCharacter(QChar c) {
  const char16_t u = c.unicode();
  return u == ' ' || u == '\'' || u == '(' || u == ')' || u == ',' || u == '-' || u == '.' || (u >= '0' && u <= '9') ||
         u == '<' || u == '>' || (u >= 'A' && u <= 'Z') || u == '[' || u == ']' || u == '_' || (u >= 'a' && u <= 'z') ||
         u == '|';
}

int LeadingSpaces(const QString& s) {
  int n = 0;
  while (n < s.size() && s[n] == u' ') ++n;
  return n;
}

QString Where(const QString& file, int line, int column) {
  QString w = file;
  if (line > 0) w += " line " + QString::number(line);
  if (line > 0 && column > 0) w += ", column " + QString::number(column);
  return w;
}

}  // namespace

int PhraseFault(const QString& phrase, QString* what) {
  const QString t = TrimSpaces(phrase);
  for (int i = 0; i < t.size(); ++i) {
    if (IsLegalPhraseCharacter(t[i])) continue;
    if (what) *what = QString("the character \"%1\" is not allowed in a phrase").arg(t[i]);
    return i + 1;
  }
  std::vector<int> open;
  for (int i = 0; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c == u'[' || c == u'(') {
      open.push_back(i);
    } else if (c == u']' || c == u')') {
      const QChar wanted = c == u']' ? u'[' : u'(';
      if (open.empty() || t[open.back()] != wanted) {
        if (what)
          *what = open.empty() ? QString("\"%1\" closes nothing").arg(c)
                               : QString("\"%1\" does not close the \"%2\" before it").arg(c, t[open.back()]);
        return i + 1;
      }
      open.pop_back();
    }
  }
  if (!open.empty()) {
    if (what) *what = QString("\"%1\" is not closed").arg(t[open.back()]);
    return open.back() + 1;
  }
  return 0;
}

QString CompileProblem::Text(const shell::AppState& state) const {
  const QString kind = error ? QStringLiteral("Error: ") : QStringLiteral("Warning: ");
  const bool known = command >= 0 && command < static_cast<int>(state.commands.size());
  switch (place) {
    case Place::Phrase:
    case Place::Command:
      if (known) {
        QString where = category + " - " + TrimSpaces(state.commands[command].name);
        if (place == Place::Phrase) {
          where += " - phrase " + QString::number(phrase + 1);
          if (column > 0) where += ", column " + QString::number(column);
        }
        return kind + where + ": " + message;
      }
      break;
    case Place::Response:
      if (response >= 0 && response < static_cast<int>(state.settings.checklistResponses.size()))
        return kind + "checklist response \"" + TrimSpaces(state.settings.checklistResponses[response].response) +
               "\" (QV_Information.cfg, checklistResponse." + QString::number(response) + ")" +
               (column > 0 ? ", column " + QString::number(column) : QString()) + ": " + message;
      break;
    default: break;
  }
  return kind + Where(file, line, column) + ": " + message;
}

CompileProblem CompileProblem::AtOther() const {
  CompileProblem p = *this;
  p.category = otherCategory;
  p.command = otherCommand;
  p.phrase = otherPhrase;
  p.column = otherColumn;
  p.place = otherPhrase >= 0 ? Place::Phrase : Place::Command;
  p.otherCommand = command;
  p.otherPhrase = phrase;
  p.otherColumn = column;
  p.otherCategory = category;
  return p;
}

QString CompileProblem::OtherText(const shell::AppState& state) const {
  if (otherCommand < 0 || otherCommand >= static_cast<int>(state.commands.size())) return {};
  QString where = otherCategory + " - " + TrimSpaces(state.commands[otherCommand].name);
  if (otherPhrase >= 0) where += " - phrase " + QString::number(otherPhrase + 1);
  return where;
}

std::vector<CompileProblem> LocateCompileProblems(const shell::AppState& state,
                                                  const std::vector<CompileDiagnostic>& diagnostics) {
  QHash<QString, QString> categoryOfFile;  // lower-case file name -> category
  for (const QString& category : state.categories)
    categoryOfFile.insert((TrimSpaces(category) + ".bnf").toLower(), TrimSpaces(category));
  QHash<QString, std::vector<LineOrigin>> origins;
  std::vector<LineOrigin> responseLines;
  const int idLine = NavaidFirstEntryLine("Navaid_IDs.bnf"), nameLine = NavaidFirstEntryLine("Navaid_Names.bnf"),
            ilsLine = NavaidFirstEntryLine("Navaid_ILSs.bnf");

  std::vector<CompileProblem> out;
  for (const CompileDiagnostic& d : diagnostics) {
    CompileProblem p;
    p.error = d.error;
    p.message = d.message;
    p.file = d.file;
    p.line = d.line;
    p.column = d.column;
    const QString lower = d.file.toLower();
    if (lower == u"generic lists.bnf") {
      p.place = CompileProblem::Place::GenericLists;
    } else if (lower == u"navaid_ids.bnf" || lower == u"navaid_names.bnf") {
      const int entry = d.line - (lower == u"navaid_ids.bnf" ? idLine : nameLine);
      if (entry < 0) {  // the rule itself: the list as a whole
        p.place = CompileProblem::Place::NavaidList;
        p.file = data::kNavaidFileName;
        p.line = p.column = 0;
      } else if (entry < static_cast<int>(state.navaidList.size())) {
        const data::NavaidRecord& n = state.navaidList[entry];
        p.place = CompileProblem::Place::NavaidList;
        p.file = data::kNavaidFileName;
        p.line = entry + 1;
        p.column = 0;
        // A name's place: after the line's lead ("\t" or "\t| ") and "!ignore(".
        if (lower == u"navaid_names.bnf") {
          const int lead = entry == 0 ? 1 : 3;
          const int offset = d.column - lead - 9;
          if (offset >= 0 && offset < TrimSpaces(n.name).size())
            p.column = static_cast<int>(n.ident.size()) + 2 + LeadingSpaces(n.name) + offset;
        }
      }
    } else if (lower == u"navaid_ilss.bnf") {
      const int entry = d.line - ilsLine;
      if (entry < 0) {
        p.place = CompileProblem::Place::IlsList;
        p.file = data::kIlsFileName;
        p.line = p.column = 0;
      } else if (entry < static_cast<int>(state.ilsList.size())) {
        p.place = CompileProblem::Place::IlsList;
        p.file = data::kIlsFileName;
        p.line = entry + 1;
        p.column = 0;
      }
    } else if (lower == u"checklistresponses.bnf") {
      if (responseLines.empty()) BuildChecklistResponseGrammar(state.settings, &responseLines);
      if (d.line >= 1 && d.line <= static_cast<int>(responseLines.size()) && responseLines[d.line - 1].response >= 0) {
        const LineOrigin& o = responseLines[d.line - 1];
        p.place = CompileProblem::Place::Response;
        p.response = o.response;
        p.column = 0;
        const QString& text = state.settings.checklistResponses[o.response].response;
        const int at = d.column - o.prefix - 1;
        if (o.prefix > 0 && at >= 0 && at < TrimSpaces(text).size()) p.column = at + 1 + LeadingSpaces(text);
      }
    } else if (auto cat = categoryOfFile.find(lower); cat != categoryOfFile.end()) {
      auto it = origins.find(lower);
      if (it == origins.end()) {
        std::vector<LineOrigin> lines;
        BuildCategoryGrammar(state, *cat, &lines);
        it = origins.insert(lower, std::move(lines));
      }
      const std::vector<LineOrigin>& lines = *it;
      // Two commands said alike: the second one's phrase, and the message
      // in the commands' names rather than the rules'.
      if (d.relatedLine >= 1 && d.relatedLine <= static_cast<int>(lines.size()) &&
          lines[d.relatedLine - 1].command >= 0) {
        const LineOrigin& o = lines[d.relatedLine - 1];
        p.otherCategory = *cat;
        p.otherCommand = o.command;
        p.otherPhrase = o.phrase;
        if (o.phrase >= 0) {
          const QString& stored = state.commands[o.command].grammars[o.phrase];
          std::vector<int> columns;
          TranslatePhrase(stored, &columns);
          const int at = d.relatedColumn - o.prefix - 1;
          if (at >= 0 && at < static_cast<int>(columns.size()))
            p.otherColumn = columns[static_cast<size_t>(at)] - LeadingSpaces(stored);
        }
        const int a = d.line >= 1 && d.line <= static_cast<int>(lines.size()) ? lines[d.line - 1].command : -1;
        if (a >= 0) {
          p.message.replace("<" + TrimSpaces(state.commands[a].eventName).toUpper() + "> ", QString());
          p.message.replace("<" + TrimSpaces(state.commands[o.command].eventName).toUpper() + ">", p.OtherText(state));
        }
      }
      if (d.line >= 1 && d.line <= static_cast<int>(lines.size()) && lines[d.line - 1].command >= 0) {
        const LineOrigin& o = lines[d.line - 1];
        p.category = *cat;
        p.command = o.command;
        p.place = CompileProblem::Place::Command;
        if (o.phrase >= 0) {
          p.place = CompileProblem::Place::Phrase;
          p.phrase = o.phrase;
          p.column = 0;
          const QString& stored = state.commands[o.command].grammars[o.phrase];
          std::vector<int> columns;
          TranslatePhrase(stored, &columns);
          const int at = d.column - o.prefix - 1;
          if (at >= 0 && at < static_cast<int>(columns.size()))
            p.column = columns[static_cast<size_t>(at)] - LeadingSpaces(stored);
        }
      }
    }
    out.push_back(std::move(p));
  }

  // Phrases the compiler read without complaint that still break the phrase
  // rules (crossed brackets): they cannot be tested or printed.
  const int16_t navaids = state.settings.compileNavaids;
  for (int c = 0; c < static_cast<int>(state.commands.size()); ++c) {
    const data::CommandRecord& command = state.commands[c];
    if (navaids == 0 && IsNavaidEvent(command.eventName)) continue;
    for (int g = 0; g < command.grammars.size(); ++g) {
      QString what;
      const int column = PhraseFault(command.grammars[g], &what);
      if (column == 0) continue;
      const bool reported = std::any_of(out.begin(), out.end(), [&](const CompileProblem& p) {
        return p.error && p.place == CompileProblem::Place::Phrase && p.command == c && p.phrase == g;
      });
      if (reported) continue;
      CompileProblem p;
      p.error = false;
      p.place = CompileProblem::Place::Phrase;
      p.category = TrimSpaces(command.category);
      p.command = c;
      p.phrase = g;
      p.column = column;
      p.message = what + "; the phrase was compiled as it could be read, but it cannot be tested or printed";
      out.push_back(std::move(p));
    }
  }
  std::stable_partition(out.begin(), out.end(), [](const CompileProblem& p) { return p.error; });
  return out;
}

}  // namespace qv::grammar
