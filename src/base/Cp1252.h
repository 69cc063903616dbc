#pragma once

#include <QByteArray>
#include <QString>

namespace qv::base {

// The data files, settings and kneeboard pages are single-byte Windows-1252
// text. These helpers convert between that code page and QString.
QString FromCp1252(const QByteArray& bytes);
QString FromCp1252(const char* data, qsizetype size);

// Characters outside the code page become '?'. When `ok` is given it is set
// to false if any character had to be replaced.
QByteArray ToCp1252(const QString& text, bool* ok = nullptr);

// True when every character of `text` exists in the code page.
bool FitsCp1252(const QString& text);

}  // namespace qv::base
