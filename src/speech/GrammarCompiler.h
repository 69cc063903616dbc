#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <functional>
#include <vector>

#include "speech/GrammarSource.h"

namespace qv::speech {

class Pronouncer;

struct CompileOptions {
  QString grammarsDir;        // the folder whose *.bnf files are compiled
  QString fallbackListsFile;  // the shared list file to use when the folder has none
  QString onlyFile;           // when set: this file and what it imports, nothing else
  // Optional last check of each compiled grammar by the recogniser's own
  // loader; returns an error text, empty when the grammar loads.
  std::function<QString(const QByteArray& jsgf)> validate;
};

struct CompiledGrammar {
  QString fileName;  // source file, e.g. "Lights.bnf"
  QString baseName;  // "Lights"
  QByteArray jsgf;   // self-contained: imported rules are copied in
};

struct CompileResult {
  std::vector<Diagnostic> diagnostics;
  std::vector<CompiledGrammar> grammars;
  QMap<QString, QString> addedWords;  // word -> phones, for words the dictionary lacks
  int filesRead = 0;
  bool Ok() const { return diagnostics.empty() && filesRead > 0; }
};

// Reads, checks and translates the grammar files. Never writes anything.
CompileResult CompileGrammars(const CompileOptions& options, Pronouncer& pronouncer);

// File names of the compiled form, under the grammar folder.
QString CompiledDir(const QString& grammarsDir);     // grammarsDir + "/Compiled"
QString CompileLogPath(const QString& grammarsDir);  // grammarsDir + "/Compile.log"
inline constexpr const char* kAddedWordsFile = "Quorvane.dict";
inline constexpr const char* kTopRule = "qv_top";

// Writes the log (every problem, one "file:line: message" a line) and, when
// everything compiled, the compiled grammars and the added words. Old
// compiled files are removed only once the new ones are in place. Returns
// false, with the file and the reason in `error`, when a file cannot be
// written; the previous compiled grammars are then kept.
bool WriteCompileOutput(const QString& grammarsDir, const CompileResult& result, QString* error = nullptr);

}  // namespace qv::speech
