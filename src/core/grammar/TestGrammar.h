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

// Writes the one-command test grammar into Grammars/Test (with the navaid
// grammars when the phrase uses them). 0 on success, 1 on failure.
int16_t WriteTestGrammar(shell::Context& ctx, int commandIndex, int grammarIndex);

}  // namespace qv::grammar
