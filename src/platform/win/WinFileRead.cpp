#include <QFile>
#include <QFileInfo>

#include "platform/FileRead.h"

namespace qv::platform {

FileRead ReadFileUpTo(const QString& path, qint64 limit, QByteArray& out, QString& reason) {
  out.clear();
  const QFileInfo info(path);
  if (!info.exists()) return FileRead::Missing;
  if (!info.isFile()) {
    reason = info.isDir() ? "it is a folder" : "it is not a regular file";
    return FileRead::Failed;
  }
  if (info.size() > limit) return FileRead::TooLarge;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
    return FileRead::Failed;
  }
  out = file.read(limit + 1);
  if (file.error() != QFileDevice::NoError) {
    reason = file.errorString();
    return FileRead::Failed;
  }
  return out.size() > limit ? FileRead::TooLarge : FileRead::Ok;
}

}  // namespace qv::platform
