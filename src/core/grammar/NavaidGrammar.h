#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace qv::data {
struct IlsRecord;
struct NavaidRecord;
}  // namespace qv::data
namespace qv::shell {
struct Context;
class Dialogs;
}  // namespace qv::shell

namespace qv::grammar {

// The list rules <NAV_ID>, <NAV_NAME> and <RWY_APT_ID>, generated from the
// navaid lists into Grammars (test = false) or Grammars/Test (test = true).
// Each returns 0 on success; callers run them in this order and stop at the
// first failure.
int16_t WriteNavaidIdGrammar(shell::Context& ctx, bool test);
int16_t WriteNavaidNameGrammar(shell::Context& ctx, bool test);
int16_t WriteIlsGrammar(shell::Context& ctx, bool test);
// The three in that order, stopping at the first failure.
int16_t WriteNavaidGrammars(shell::Context& ctx, bool test);

// The file texts, reporting progress through `dialogs` as they walk the list.
QString BuildNavaidIdGrammar(const std::vector<data::NavaidRecord>& navaids, shell::Dialogs& dialogs, bool test);
QString BuildNavaidNameGrammar(const std::vector<data::NavaidRecord>& navaids, shell::Dialogs& dialogs, bool test);
QString BuildIlsGrammar(const std::vector<data::IlsRecord>& ils, shell::Dialogs& dialogs, bool test);

// The line (1-based) of the first entry in the file a navaid writer makes
// under that name ("Navaid_IDs.bnf", "Navaid_Names.bnf", "Navaid_ILSs.bnf"),
// 0 for any other file: entry n of the list is on that line + n.
int NavaidFirstEntryLine(const QString& fileName);

// "(<PHONETIC_S> <PHONETIC_E> <PHONETIC_A> | S E A)". Every character of the
// identifier is spelled; real identifiers have at most four.
QString SpellIdentifier(const data::NavaidRecord& navaid);
// Runway words, the ILS words and the spelled airport, as one alternative.
QString SpellIls(const data::IlsRecord& ils);

}  // namespace qv::grammar
