#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>

namespace qv::shell {
struct AppState;
struct Context;
class Dialogs;
}  // namespace qv::shell

namespace qv::grammar {

// The phrase language: plain words, "[a|b]" alternatives (exactly one is
// spoken), "(x)" optional parts and "<NAME>" list references passed through
// as text.
//
// Groups nested in a group of their own kind ("((please) now)", "[a|[b|c]]")
// are expanded as a user reads them: the outer group first, then the inner
// one inside each result, so "((please) now)" stands for "now" and
// "please now". Nothing is put back into the text as a placeholder, so any
// number of optional groups keeps its options apart, and text the user types
// is never mistaken for one.
//
// A phrase may stand for at most kMaxSentences sentences before duplicates
// are removed (the sentence list keeps a 16-bit last index); a larger one is
// refused, as soon as that shows, with the "Grammar Error" message saying so.
inline constexpr qint64 kMaxSentences = 32768;

// Only blanks are trimmed (a tab is an illegal character, not white space).
QString TrimSpaces(QStringView text);

// True when every character is legal and the brackets pair up.
bool CheckGrammar(QStringView phrase);

enum class Expansion { Ok, Illegal, TooLarge };

// Checks the phrase and, when it is legal and not too large, fills
// `sentences` with its sorted, de-duplicated expansion (entries untrimmed).
Expansion ExpandToSentences(const QString& phrase, QStringList& sentences);

// Expands one stored phrase of one command into state.phraseList and
// state.phraseCount; an illegal or oversized phrase sets phraseCount to -99,
// empties the list and shows "Grammar Error". Indices out of range leave an
// empty list (phraseCount -1).
void ExpandGrammar(shell::AppState& state, shell::Dialogs& dialogs, int commandIndex, int grammarIndex);
void ExpandGrammar(shell::Context& ctx, int commandIndex, int grammarIndex);

// The expansion steps, for a phrase that passed the check. ExpandPhrase
// appends every sentence, in generation order, to `out`; it returns false
// (leaving `out` partly filled) as soon as `out` would hold more than `limit`.
bool ExpandPhrase(const QString& s, QStringList& out, qint64 limit = kMaxSentences);
// All combinations of the outermost optional groups: trimmed, double blanks
// merged once; the first leaves every group out, option 0 is the most
// significant.
QStringList ExpandOptionals(const QString& s);
// The first (outermost) alternatives group, prefix + alternative + suffix,
// nothing trimmed.
QStringList ExpandAlternatives(const QString& s);
// Ascending by character code, then each entry whose upper-cased, trimmed
// text equals that of the entry kept before it is dropped (empty ones at the
// head included).
void SortAndRemoveDuplicates(QStringList& list);

// Roman numeral of a decimal number given as text; "0" and "" give
// "No Roman value For 0". Texts that are not 1 to 7 decimal digits give "".
QString ToRoman(const QString& decimalText);

}  // namespace qv::grammar
