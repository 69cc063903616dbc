#include "base/FileUtil.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

namespace qv::base {

bool DeleteFileIfPresent(const QString& path) {
  constexpr int kAttempts = 20;  // about a second in all
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return true;
    if (QFile::remove(path)) continue;
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    QThread::msleep(50);
  }
  return !QFileInfo::exists(path);
}

bool WriteFileAtomic(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  if (file.write(bytes) != bytes.size()) {
    if (error) *error = file.errorString();
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

bool KeepBackup(const QString& path, const QString& backupPath) {
  if (!QFileInfo::exists(path)) return true;
  if (!DeleteFileIfPresent(backupPath)) return false;
  return QFile::copy(path, backupPath);
}

}  // namespace qv::base
