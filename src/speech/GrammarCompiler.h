#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "speech/GrammarSource.h"
#include "speech/WordGraph.h"

namespace qv::speech {

class Pronouncer;

struct CompileOptions {
  QString grammarsDir;        // the folder whose *.bnf files are compiled
  QString fallbackListsFile;  // the shared list file to use when the folder has none
  QString onlyFile;           // when set: this file and what it uses, nothing else
  QString cacheDir;           // compiled list grammars kept by their bytes; empty: none kept
  bool checkOverlaps = true;  // warn of start rules of a category file that can be said alike
};

// One grammar file's source, for compiling text that is not on disk.
struct SourceText {
  QString fileName;  // e.g. "Lights.bnf"
  QByteArray bytes;  // as on disk (FF FE + UTF-16LE, or UTF-8)
};

// A grammar that can be recognised: the search graph of all its start rules.
struct CompiledGrammar {
  QString fileName;  // source file, e.g. "Lights.bnf"
  QString baseName;  // "Lights"
  WordGraph graph;   // word labels index CompileResult::words; no calls left
};

struct CompileResult {
  std::vector<Diagnostic> diagnostics;  // errors and warnings, in the order found
  std::vector<CompiledGrammar> grammars;
  std::vector<QString> words;          // the vocabulary the graphs' labels index
  QHash<QString, QStringList> phones;  // pronunciations of every word of the graphs
  int filesRead = 0;
  int filesFromCache = 0;
  int ErrorCount() const;
  int WarningCount() const;
  bool Ok() const { return filesRead > 0 && ErrorCount() == 0; }
};

// Reads, checks and builds the word graph of every grammar in the folder.
// Writes nothing but the cache of compiled list grammars.
CompileResult CompileGrammars(const CompileOptions& options, Pronouncer& pronouncer);
// The same for files held in memory (options.grammarsDir and fallback unused).
CompileResult CompileSources(const std::vector<SourceText>& sources, const CompileOptions& options,
                             Pronouncer& pronouncer);

// How strictly a file is read, by its name: the shared list file is
// hand-written; the navaid lists, the checklist responses and the phrase
// under test hold free text; the category files hold users' phrases.
ParseMode ModeForFile(const QString& fileName);

// File names of the compiled form, under the grammar folder.
QString CompiledDir(const QString& grammarsDir);     // grammarsDir + "/Compiled"
QString CompileLogPath(const QString& grammarsDir);  // grammarsDir + "/Compile.log"
inline constexpr const char* kAddedWordsFile = "Quorvane.dict";

// The recogniser's graphs have one final state: the graph's own when it is
// the only one and leads nowhere, else a new state every final one steps
// into (over an empty step).
struct FsgShape {
  int states = 0;
  int final = 0;
  bool ownFinal = false;
};
FsgShape ShapeForFsg(const WordGraph& graph);

// The recogniser's graph format ("FSG_BEGIN ... FSG_END"): one final state,
// arcs unweighted as the library's own grammar reader makes them.
QByteArray FsgText(const WordGraph& graph, const std::vector<QString>& words, const QString& name);
// A pronunciation dictionary of `words` ("word  PH ONES", "word(2) ..." for
// further pronunciations). Words without a pronunciation are left out.
QByteArray DictionaryText(const QHash<QString, QStringList>& phones, const QStringList& words);

// Writes the log (every problem, one a line) and, when everything compiled
// and `graphs` is set, one graph per grammar and the dictionary of their
// words. Old compiled files are removed only once the new ones are in place.
// Returns false, with the file and the reason in `error`, when a file cannot
// be written; the previous compiled grammars are then kept.
bool WriteCompileOutput(const QString& grammarsDir, const CompileResult& result, bool graphs = true,
                        QString* error = nullptr);

}  // namespace qv::speech
