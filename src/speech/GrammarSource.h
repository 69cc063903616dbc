#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace qv::speech {

enum class Severity { Error, Warning };

// One problem found in a grammar file, at its line and column (1-based,
// counted in characters of the file's text; 0 where no place can be told).
struct Diagnostic {
  QString file;  // file name without folder
  int line = 0;
  int column = 0;
  Severity severity = Severity::Error;
  QString message;
  // A second place the problem concerns (two rules that can be said alike).
  int relatedLine = 0;
  int relatedColumn = 0;
  bool IsError() const { return severity == Severity::Error; }
  // "file:line:column: error: message" (column and line left out when 0).
  QString ToString() const;
  // Reads a line written by ToString back; false when it is not one.
  static bool FromString(const QString& text, Diagnostic& out);
};

// How strictly a file's rule bodies are read.
//  Strict:  hand-written notation (the shared list file): anything that does
//           not fit the notation is an error.
//  Phrases: bodies are users' phrases translated by the writers: characters
//           the phrase language forbids are errors, the rest is read as well
//           as it can be (a stray "<" is not spoken, with a warning).
//  Lenient: bodies hold free text (navaid names, checklist responses, the
//           phrase under test): whatever does not fit is left unspoken with
//           a warning, never an error.
enum class ParseMode { Strict, Phrases, Lenient };

// A rule body. Sequences and alternatives hold children; words and rule
// references are leaves. `actions` are the texts of "!action" items of a
// sequence, handed to the runtime when the sequence is recognised.
struct GrammarNode {
  enum class Kind { Word, Ref, Sequence, Alternatives, Optional };
  Kind kind = Kind::Sequence;
  QString text;  // the word or the referenced rule name
  int line = 0;
  int column = 0;
  bool group = false;  // written in parentheses (its place is the "(")
  std::vector<GrammarNode> children;
  QStringList actions;
};

struct NameAt {
  QString name;
  int line = 0;
  int column = 0;
};

struct RuleDefinition {
  QString name;
  int line = 0;
  GrammarNode body;
};

struct GrammarFile {
  QString fileName;  // e.g. "Lights.bnf"
  QString grammarName;
  std::vector<NameAt> imports, exports, starts, activatable;
  std::vector<RuleDefinition> rules;
};

// Reads a grammar file: UTF-16LE after an FF FE mark (files without the mark
// are read as UTF-8). Returns false when the file cannot be read.
bool ReadGrammarText(const QString& path, QString& text);
bool DecodeGrammarBytes(const QByteArray& bytes, QString& text);

// Parses the notation the grammar writers produce. Problems are appended to
// `diagnostics`; parsing always goes on, so that one run reports everything.
// Statement lines the writers produce ("<NAME>:", "!start<NAME>;", ...) are
// read as whole lines, so that a name may hold any character.
// With `words`, the distinct texts of the rule bodies' words are added to it
// in the order they first appear.
GrammarFile ParseGrammar(const QString& text, const QString& fileName, std::vector<Diagnostic>& diagnostics,
                         ParseMode mode = ParseMode::Strict, QStringList* words = nullptr);

// Every word leaf of a node, in order.
void CollectWords(const GrammarNode& node, std::vector<const GrammarNode*>& out);
void CollectRefs(const GrammarNode& node, std::vector<const GrammarNode*>& out);
// True when the node holds no word and no reference: it can only be silence.
bool SaysNothing(const GrammarNode& node);

}  // namespace qv::speech
