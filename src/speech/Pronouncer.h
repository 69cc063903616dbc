#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/grammar/Pronunciations.h"

namespace qv::speech {

// Pronunciations made ahead, on a thread of its own, for words a compile is
// about to meet (the words of a navaid list the dictionary lacks: making one
// takes eSpeak NG tens of microseconds, a list has thousands).
class DerivedAhead {
 public:
  // Starts making the pronunciations of `spellings`, in this order.
  explicit DerivedAhead(QStringList spellings);
  ~DerivedAhead();  // stops after the word in hand
  DerivedAhead(const DerivedAhead&) = delete;
  DerivedAhead& operator=(const DerivedAhead&) = delete;
  // False when the spelling is not among those made here; otherwise waits
  // until it is made, so that no word is made twice.
  bool Take(const QString& spelling, QString& phones);

 private:
  const QStringList m_spellings;
  QHash<QString, int> m_index;
  std::vector<QString> m_phones;
  std::mutex m_mutex;
  std::condition_variable m_made;
  size_t m_done = 0;
  bool m_stop = false;
  std::thread m_thread;
};

// Knows the recogniser's pronunciation dictionary and makes a pronunciation
// (in the model's phone set) for words it lacks.
class Pronouncer {
 public:
  // `dictionaryPath`: one word a line followed by its phones; alternative
  // pronunciations are listed as "word(2)". Loaded once per process and path.
  explicit Pronouncer(const QString& dictionaryPath);
  // The same, with the pilot's own pronunciations (PronunciationListPath)
  // taking precedence over the dictionary and the generated ones.
  Pronouncer(const QString& dictionaryPath, const QString& listPath);

  bool DictionaryLoaded() const;
  bool InDictionary(const QString& word) const;
  // The dictionary's pronunciations of a word, the first one first; empty
  // when the dictionary lacks it.
  QStringList Pronunciations(const QString& word) const;
  // Phones for a word that is not in the dictionary ("T EH N"), derived from
  // eSpeak NG's phonemes; empty when no pronunciation can be made. `spelling`
  // is the word as written (case kept: capitals read as letters).
  QString Derive(const QString& word, const QString& spelling);
  // What Derive makes of a spelling it has not seen; safe on any thread.
  static QString DerivePhones(const QString& spelling);
  // Pronunciations made ahead that Derive takes instead of making them;
  // nullptr for none. Not owned; must outlive its use here.
  void UseDerivedAhead(DerivedAhead* ahead) { m_ahead = ahead; }
  // How eSpeak NG says the word in each of `voices`, in the model's phones:
  // a speaker's accent as the dictionary does not list it. Empty entries and
  // repeats left out.
  QStringList SpokenVariants(const QString& spelling, const QStringList& voices);
  // Makes the variants of many words ahead, far faster than one word at a
  // time in several voices.
  void PrepareVariants(const QStringList& spellings, const QStringList& voices);
  // The list's pronunciations, else the dictionary's, else the derived one.
  QStringList PhonesOf(const QString& word, const QString& spelling);
  // The list's pronunciations of a word, else the dictionary's.
  QStringList Known(const QString& word) const;

  enum class Origin { List, Dictionary, Generated, None };
  struct Choice {
    QStringList phones;
    Origin origin = Origin::None;
  };
  // What PhonesOf gives, and where it comes from.
  Choice Choose(const QString& word, const QString& spelling);
  // The words the pilot's list holds, sorted, and a word's entries there.
  QStringList ListedWords() const;
  QStringList Listed(const QString& word) const { return m_list.value(Normalise(word)); }

  // Tells one dictionary file from another (path, size and time), for keys
  // of compiled forms that depend on it.
  QString Identity() const;

  // The form a word takes in the compiled grammar: lower case.
  static QString Normalise(const QString& word);

  struct Dictionary;  // shared by every pronouncer of the same file

 private:
  std::shared_ptr<const Dictionary> m_dict;
  QHash<QString, QString> m_derived;
  DerivedAhead* m_ahead = nullptr;
  const QString& VariantIn(const QString& voice, const QString& spelling);
  QHash<QString, QString> m_variants;  // voice and text -> phones
  QHash<QString, QStringList> m_list;
  QString m_listIdentity;
};

// The list's format and phone set are the core's (the screens use them).
using grammar::ModelPhones;
using grammar::ParsePronunciationList;
using grammar::PhonesFault;
using grammar::PronunciationListPath;
using grammar::PronunciationListText;
using grammar::PronunciationProblem;
using grammar::ReviewedWord;

// The model's phones as eSpeak NG's phoneme input ("[[k'ItS@n]]"), the
// first vowel stressed, so that a pronunciation can be heard.
QString ModelToEspeakPhonemes(const QString& modelPhones);

// The words of `phrases` (in the phrase language; list references left
// out) the dictionary lacks, and every word of the pilot's list; sorted.
std::vector<ReviewedWord> WordsToReview(const QStringList& phrases, Pronouncer& pronouncer);

// Maps eSpeak's ASCII phoneme names (space separated, stress marks allowed)
// to the model's phone set. Unknown phonemes are dropped (`complete`, when
// given, tells whether any was).
QString EspeakToModelPhones(const QString& espeakPhonemes, bool* complete = nullptr);

// How a written token becomes spoken words: letters are folded to plain
// lower-case ASCII (an accented letter keeps its base letter, "ß" becomes
// "ss"); apostrophes and hyphens stay inside a word ("o'hare", "x-ray"),
// every other mark breaks the token ("koln/bonn" is two words). Each word
// comes with its written form, for deriving a pronunciation. An empty result
// means the token has no sound.
struct SpokenWord {
  QString word;      // the dictionary key
  QString spelling;  // as written, accents removed
};
std::vector<SpokenWord> SpokenWords(const QString& token);

}  // namespace qv::speech
