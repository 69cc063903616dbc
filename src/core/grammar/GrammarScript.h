#pragma once

#include <QString>

namespace qv::shell {
struct Context;
}

namespace qv::grammar {

// <install>/QuorvaneScript.rtf, where the script screen saves the document.
QString GrammarScriptPath(const QString& installDir);

// Builds the printable script of every sentence the user may speak, category
// by category (RTF, one piece per LF-ended line), reporting progress before
// each category. Stops at the first phrase that fails the check (its
// "Grammar Error" has been shown) and returns false, leaving `document`
// untouched.
bool BuildGrammarScript(shell::Context& ctx, QString& document);

// Writes the document in the code page it declares (Windows-1252); a file
// already there is replaced. False with `error` set when it cannot be written.
bool SaveGrammarScript(const QString& document, const QString& path, QString* error = nullptr);

}  // namespace qv::grammar
