#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The pilot's pronunciation list: its file, its format and the phone set it
// is written in. The compiler and the recogniser read it (before the
// dictionary and the generated pronunciations); the pronunciation screen
// edits it.
namespace qv::grammar {

// The pilot's pronunciation list of an installation.
QString PronunciationListPath(const QString& installDir);  // installDir/Data/Pronunciations.txt

// A word of the command set as the pronunciation screen shows it.
struct ReviewedWord {
  QString word;       // the dictionary key
  QString spelling;   // as written
  QString generated;  // the phones made for it (empty: none can be made)
  QStringList listed;  // the list's phones (empty: not listed)
};

// The model's phones ("AA" ... "ZH").
const QStringList& ModelPhones();
// Where a pronunciation breaks the phone set: the column (1-based) of the
// first unknown phone, and what is wrong; 0 when every phone is known and
// there is at least one.
int PhonesFault(const QString& phones, QString* what = nullptr);

// One line of a pronunciation list that cannot be used.
struct PronunciationProblem {
  int line = 0;
  int column = 0;
  QString message;
};
// Reads a pronunciation list: UTF-8, "word<TAB>phones" a line, "#" starts a
// comment. Words are lower-cased; a word listed twice gets both
// pronunciations, the first first. Lines that cannot be used are skipped
// and told in `problems`.
QHash<QString, QStringList> ParsePronunciationList(const QByteArray& bytes,
                                                   std::vector<PronunciationProblem>* problems = nullptr);
// The list's text after the pronunciation screen's changes: `entries`
// (word, phones; a word may come more than once) in place of the entries of
// their words and of the `managed` words in `previous`, each word's at its
// first line, new words at the end. Every other line stays as written:
// comments, lines that cannot be used, words the screen does not show.
QByteArray PronunciationListText(const std::vector<std::pair<QString, QString>>& entries,
                                 const QByteArray& previous = {}, const QSet<QString>& managed = {});

}  // namespace qv::grammar
