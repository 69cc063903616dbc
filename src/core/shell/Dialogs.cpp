#include "core/shell/Dialogs.h"

#include <QStringList>

namespace qv::shell {

QString JoinLines(std::initializer_list<QString> lines) { return QStringList(lines).join(kCr2); }
QString JoinLines(const QStringList& lines) { return lines.join(kCr2); }

}  // namespace qv::shell
