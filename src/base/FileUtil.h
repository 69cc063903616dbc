#pragma once

#include <QByteArray>
#include <QString>

namespace qv::base {

// Deletes one file if it exists. A file that cannot be deleted (read-only,
// locked) is retried a bounded number of times, letting pending events run in
// between; returns false when the file is still there afterwards.
bool DeleteFileIfPresent(const QString& path);

// Writes `bytes` to a temporary file beside `path` and renames it into place,
// so that a failed write leaves the previous file untouched.
bool WriteFileAtomic(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Keeps one ".bak" copy of `path` (old copy removed first) before a rewrite.
bool KeepBackup(const QString& path, const QString& backupPath);

}  // namespace qv::base
