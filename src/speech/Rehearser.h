#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "core/grammar/Rehearsal.h"
#include "speech/GrammarSource.h"
#include "speech/Recognizer.h"

namespace qv::speech {

// Tells which start rule of which grammar a recognised sentence went
// through, and the action texts on its way, by walking the grammar sources
// the compile read (the search graph keeps only the words).
class RuleFinder {
 public:
  // Reads `grammars` (base names) and the list files of the folder. Words
  // outside `vocabulary` were left out of the compiled graphs (they have no
  // pronunciation) and are skipped here too.
  bool Load(const QString& grammarsDir, const QStringList& grammars, QSet<QString> vocabulary, QString& error);
  // The first grammar (in load order) and start rule that accept `words`.
  // List files are read whole at load but parsed only when a sentence
  // reaches one of their rules: the navaid lists are long.
  bool Find(const QStringList& words, QString& grammar, QString& rule, QStringList& actions);

 private:
  struct File {
    QString name;
    QString fileName;
    QString text;  // until parsed
    bool parsed = false;
    GrammarFile source;
    QHash<QString, const RuleDefinition*> rules;  // by lower-case name
  };
  struct Walk;
  const RuleDefinition* Lookup(const File& file, const QString& name, const File** owner);
  static void Parse(File& f);
  const QStringList& Spoken(const QString& token) const;

  std::vector<std::unique_ptr<File>> m_grammars;
  std::vector<std::unique_ptr<File>> m_lists;
  QHash<QString, File*> m_listRules;  // rule name (lower case) -> the list file defining it
  QSet<QString> m_vocabulary;
  mutable QHash<QString, QStringList> m_spoken;
};

// The recogniser of rehearsals: every grammar in one search (with the
// competitor beside it), and the rule finder to tell what was said.
class Rehearser final : public grammar::RehearsalRecognizer {
 public:
  explicit Rehearser(QString installDir, RecognizerSettings settings = {});

  bool Load(const QStringList& grammars, QString& error) override;
  grammar::RuleMatch Listen() override;
  grammar::RuleMatch Recognise(const std::vector<int16_t>& samples) override;
  void FinishListening() override { m_recognizer.FinishListening(); }
  void StopListening() override {
    m_recognizer.StopListening();  // releases the grammar too
    m_loaded = false;
  }
  grammar::ListeningProgress Progress() const override { return m_recognizer.Progress(); }

  Recognizer& recognizer() { return m_recognizer; }
  const LoadStats& LastLoad() const { return m_recognizer.LastLoad(); }

 private:
  grammar::RuleMatch Outcome(int16_t status, const QByteArray& buffer);
  static constexpr double kConfidenceScale = 40.0;  // gap per frame at which confidence is 1/e

  QString m_installDir;
  Recognizer m_recognizer;
  RuleFinder m_finder;
  QStringList m_grammars;
  bool m_loaded = false;
};

}  // namespace qv::speech
