#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace qv::speech {

// One problem found in a grammar file, reported as "file:line: message".
struct Diagnostic {
  QString file;  // file name without folder
  int line = 0;
  QString message;
  QString ToString() const { return file + ":" + QString::number(line) + ": " + message; }
};

// A rule body. Sequences and alternatives hold children; words and rule
// references are leaves. `actions` are the texts of "!action" items of a
// sequence, handed to the runtime when the sequence is recognised.
struct GrammarNode {
  enum class Kind { Word, Ref, Sequence, Alternatives, Optional };
  Kind kind = Kind::Sequence;
  QString text;  // the word or the referenced rule name
  int line = 0;
  std::vector<GrammarNode> children;
  QStringList actions;
};

struct NameAt {
  QString name;
  int line = 0;
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

// Parses the notation the grammar writers produce. Syntax errors are appended
// to `diagnostics`; parsing resumes after the next ";" so that one run
// reports every broken statement.
GrammarFile ParseGrammar(const QString& text, const QString& fileName, std::vector<Diagnostic>& diagnostics);

// Every word leaf of a node, in order.
void CollectWords(const GrammarNode& node, std::vector<const GrammarNode*>& out);
void CollectRefs(const GrammarNode& node, std::vector<const GrammarNode*>& out);

}  // namespace qv::speech
