#pragma once

#include <QString>
#include <QStringList>

namespace qv::base {

// Paths built from data (a kneeboard page named by an aircraft's
// configuration, a checklist or category name typed by a user) must stay in
// their folder, whatever links lie on the way.

// The absolute path with every link on it resolved, a last component that is
// a link pointing nowhere included; components that do not exist are kept as
// written. Empty when the links loop.
QString ResolvedPath(const QString& path);

// Whether `path` lies inside `folder` (below it, not the folder itself), both
// with their links resolved.
bool StaysInside(const QString& folder, const QString& path);

// Why `name` cannot serve as a file name of its own on Windows and here
// (folder separators, characters Windows refuses, device names, a trailing
// full stop or blank, characters outside Windows-1252); empty when it can.
// `what` starts the sentences ("A checklist name").
QString FileNameProblem(const QString& name, const QString& what);

// A reversible mapping of any text to a file name, for names that come from
// data files and must keep working whatever they hold:
//  - "%" and every character Windows refuses in a file name (\ / : * ? " < >
//    | and the control characters) become "%" and two hexadecimal digits;
//  - so does a full stop or blank at either end, and the first character of
//    a device name (CON, NUL, COM1 ...) or of a name in `reserved` (compared
//    without regard to case), so that no name can stand for a file the
//    program keeps beside them;
//  - everything else is kept, so ordinary names map to themselves.
// DecodeFileName turns every "%" and two hexadecimal digits back.
QString EncodeFileName(const QString& text, const QStringList& reserved = {});
QString DecodeFileName(const QString& fileName);

}  // namespace qv::base
