#pragma once

#include <QHash>
#include <QString>
#include <memory>

namespace qv::speech {

// Knows which words the recogniser's dictionary holds and makes a
// pronunciation (in the model's phone set) for the others.
class Pronouncer {
 public:
  // `dictionaryPath`: the recogniser's pronunciation dictionary, one word a
  // line followed by its phones. Loaded once per process and path.
  explicit Pronouncer(const QString& dictionaryPath);

  bool DictionaryLoaded() const;
  bool InDictionary(const QString& word) const;
  // Phones for a word that is not in the dictionary ("T EH N"), derived from
  // eSpeak NG's phonemes; empty when no pronunciation can be made. `spelling`
  // is the word as written (case kept: capitals read as letters).
  QString Derive(const QString& word, const QString& spelling);

  // The form a word takes in the compiled grammar: lower case.
  static QString Normalise(const QString& word);

  struct Dictionary;  // shared by every pronouncer of the same file

 private:
  std::shared_ptr<const Dictionary> m_dict;
  QHash<QString, QString> m_derived;
};

// Maps eSpeak's ASCII phoneme names (space separated, stress marks allowed)
// to the model's phone set. Unknown phonemes are dropped.
QString EspeakToModelPhones(const QString& espeakPhonemes);

// Where the recogniser's model lives: the acoustic model folder and the
// dictionary. Empty when the model is not installed.
QString ModelAcousticDir();
QString ModelDictionaryPath();
QString ModelPhoneLmPath();

}  // namespace qv::speech
