#pragma once

#include <QString>
#include <cstdint>

namespace qv::shell {
struct AppState;
struct Context;
}  // namespace qv::shell

namespace qv::grammar {

// True when the phrase uses one of the navaid list rules (any letter case).
bool UsesNavaidRules(const QString& phrase);

// The text of Grammars/Test/Test.bnf for one phrase of one command: the
// phrase alone, without action, ignore wrapper or "<WORD_ON>" substitution.
QString BuildTestGrammar(const shell::AppState& state, int commandIndex, int grammarIndex);

// Beside the test grammar, every other phrase of the command set in one rule
// (phrases of the navaid lists left out): what the recogniser weighs the
// tested phrase against, so that another command's sentence is heard as
// such and not forced onto the tested phrase.
inline constexpr const char* kOtherPhrasesFile = "Others.bnf";
QString BuildOtherPhrasesGrammar(const shell::AppState& state, int commandIndex, int grammarIndex);

// Writes the one-command test grammar into Grammars/Test (with the navaid
// grammars when the phrase uses them) and the other phrases beside it. 0 on
// success, 1 on failure.
int16_t WriteTestGrammar(shell::Context& ctx, int commandIndex, int grammarIndex);

}  // namespace qv::grammar
