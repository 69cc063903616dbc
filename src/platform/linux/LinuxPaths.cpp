#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/SimInstallation.h"

// On a Linux desktop the simulator runs under Wine and its files come from a
// case-insensitive file system; these are the rules for finding them here.

namespace qv::platform {

QString WineDriveC(const QString& path) {
  QString dir = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  while (!dir.isEmpty() && dir != QLatin1String("/")) {
    if (QFileInfo(dir).fileName().compare(QLatin1String("drive_c"), Qt::CaseInsensitive) == 0) return dir;
    dir = QFileInfo(dir).path();
  }
  return QString();
}

QString DrivePath(const QString& near, const QString& path) {
  static const QRegularExpression drive(QStringLiteral("^([A-Za-z]):(/|$)"));
  const auto m = drive.match(path);
  if (!m.hasMatch()) return path;
  const QString driveC = WineDriveC(near);
  if (driveC.isEmpty()) return path;
  const QString letter = m.captured(1).toLower();
  QString root = QFileInfo(driveC).path() + "/dosdevices/" + letter + ":";
  if (!QFileInfo(root).isDir() && letter == QLatin1String("c")) root = driveC;
  return root + path.mid(2);
}

QString OnDiskPath(const QString& path) {
  const int slash = path.lastIndexOf(u'/');
  if (slash < 0) return path;
  const QString folder = slash == 0 ? QStringLiteral("/") : ResolveNoCase(QStringLiteral("."), path.left(slash));
  const QString name = path.mid(slash + 1);
  const QString found = FindNoCase(folder, name);
  return found.isEmpty() ? QDir(folder).filePath(name) : found;
}

}  // namespace qv::platform
