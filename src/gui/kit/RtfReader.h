#pragma once

#include <QString>

class QTextDocument;

namespace qv::ui {

// Qt reads no rich text format, so the documents we write ourselves (the
// grammar script) are turned into a QTextDocument here. Understood: groups,
// the font table, ignorable destinations, \b \i \fs \f \plain, \pard \par
// \li \fi \ri \ql \qc \qr \qj, \tab \line, \' and \u escapes, \\ \{ \} and
// the bullet text group \pntext. A Symbol-font bullet becomes U+2022.
// Anything else is skipped, so an unknown document still shows its text.
void ReadRtf(const QString& rtf, QTextDocument& document);

}  // namespace qv::ui
