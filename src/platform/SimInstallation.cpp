#include "platform/SimInstallation.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace qv::platform {

QString SimulatorFolder(const QString& installDir) {
  return QDir::cleanPath(QFileInfo(installDir).absoluteFilePath() + "/../..");
}

QString SimulatorExecutable(const QString& installDir) {
  const QString path = FindNoCase(SimulatorFolder(installDir), "fsx.exe");
  return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

QString FromWindowsPath(const QString& value) {
  QString v = value;
  v.replace(u'\\', u'/');
  return v;
}

QString FindNoCase(const QString& folder, const QString& name) {
  if (name.isEmpty()) return QString();
  const QString exact = folder + "/" + name;
  if (QFileInfo::exists(exact)) return exact;
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  while (it.hasNext()) {
    it.next();
    if (it.fileName().compare(name, Qt::CaseInsensitive) == 0) return it.filePath();
  }
  return QString();
}

QString ResolveNoCase(const QString& base, const QString& windowsPath) {
  const QString path = FromWindowsPath(windowsPath.trimmed());
  QString current = QDir::isAbsolutePath(path) ? QStringLiteral("/") : base;
  for (const QString& part : path.split(u'/', Qt::SkipEmptyParts)) {
    if (part == QLatin1String(".")) continue;
    if (part == QLatin1String("..")) {
      current = QDir::cleanPath(current + "/..");
      continue;
    }
    const QString found = FindNoCase(current, part);
    if (found.isEmpty()) return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : base + "/" + path);
    current = found;
  }
  return QDir::cleanPath(current);
}

}  // namespace qv::platform
