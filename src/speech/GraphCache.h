#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "speech/GrammarSource.h"
#include "speech/WordGraph.h"

namespace qv::speech {

// The compiled form of one list grammar (a file that only exports rules: the
// navaid lists, the shared list file), kept on disk under the hash of its
// source so that a later compile, or a test of one phrase, reads it instead
// of compiling the list again.
struct CachedList {
  QByteArray key;                        // see ListCacheKey
  std::vector<QByteArray> dependencies;  // keys of the files whose rules it took in
  QStringList exports;                   // exported rule names, as written
  QStringList imports;
  struct Rule {
    QString name;     // as written
    WordGraph graph;  // labels index `words`; no calls
  };
  std::vector<Rule> rules;  // the exported ones
  std::vector<QString> words;
  std::vector<QStringList> phones;      // per word
  std::vector<Diagnostic> diagnostics;  // warnings found when it was compiled
};

// The key of a source file: its bytes, how it is read, the dictionary its
// pronunciations came from and the version of this compiler.
QByteArray ListCacheKey(const QByteArray& bytes, int mode, const QString& dictionaryIdentity);

bool SaveCachedList(const QString& dir, const CachedList& list);
// False when there is no entry for the key, or it cannot be read.
bool LoadCachedList(const QString& dir, const QByteArray& key, CachedList& out);
// Removes entries not among `keep`, except the `extra` most recent ones.
void PruneListCache(const QString& dir, const std::vector<QByteArray>& keep, int extra);

QByteArray SerializeGraph(const WordGraph& graph);
bool DeserializeGraph(const QByteArray& bytes, WordGraph& graph);

}  // namespace qv::speech
