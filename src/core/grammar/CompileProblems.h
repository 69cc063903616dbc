#pragma once

#include <QString>
#include <vector>

#include "core/grammar/SpeechEngines.h"

namespace qv::shell {
struct AppState;
}

namespace qv::grammar {

// A problem of a compile, tied to what the user can change: a phrase of a
// command, a command, a checklist response of the settings file, a line of
// a navaid list or of the shared list file.
// Shared by the configuration screen and the command-line tool.
struct CompileProblem {
  enum class Place { Phrase, Command, Response, NavaidList, IlsList, GenericLists, GrammarFile };
  bool error = true;  // false: a warning
  QString message;
  Place place = Place::GrammarFile;
  QString category;   // the command's category (Phrase, Command)
  int command = -1;   // index in the command list (Phrase, Command)
  int phrase = -1;    // index in the command's phrases (Phrase)
  int response = -1;  // index in the checklist responses (Response)
  QString file;       // the file meant by `line`: "Nav_Info.txt", "Generic Lists.bnf", a grammar file
  int line = 0;       // in `file` (0: not known)
  int column = 0;     // in the phrase, or in `file`'s line (0: not known)
  // A second phrase the problem concerns (two commands that can be said
  // alike): its command (-1: none), phrase (-1: the command as a whole) and
  // column.
  int otherCommand = -1;
  int otherPhrase = -1;
  int otherColumn = 0;
  QString otherCategory;
  bool HasOther() const { return otherCommand >= 0; }
  // The same problem placed at the second phrase.
  CompileProblem AtOther() const;
  // "Lights - Landing Lights - phrase 2" for the second place.
  QString OtherText(const shell::AppState& state) const;

  // One line for lists and logs: "Error: Radios - Tune Nav 1 - phrase 2,
  // column 7: ...", "Warning: Nav_Info.txt line 12, column 9: ...".
  QString Text(const shell::AppState& state) const;
};

// Traces the compiler's problems (places in the generated grammar files)
// back to their sources, using the same writers that made the files, and
// adds a warning for every phrase that breaks the phrase rules in a way the
// compiler could not see. Errors come first, then warnings, each in the
// order found.
std::vector<CompileProblem> LocateCompileProblems(const shell::AppState& state,
                                                  const std::vector<CompileDiagnostic>& diagnostics);

// Where the phrase breaks the rules of the phrase language: the column
// (1-based) of the first illegal character or unmatched mark, and what is
// wrong there; 0 when the phrase is legal.
int PhraseFault(const QString& phrase, QString* what = nullptr);

}  // namespace qv::grammar
