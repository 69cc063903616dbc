#pragma once

// The operating system's file calls behind FileIo: one implementation per
// system (posix/, win/). Every call returns an empty text on success, else the
// system's reason.

#include <QByteArray>
#include <QString>

namespace qv::base::native {

// Creates `path`, which must not exist, writes all of `bytes`, syncs and
// closes it. With `permissionsOf` set, the new file gets that file's
// permissions. `refused` is set when the folder does not allow new files.
QString CreateWriteSync(const QString& path, const QByteArray& bytes, const QString& permissionsOf,
                        bool* refused = nullptr);

// Renames `from` over `to` and syncs the folder.
QString RenameOver(const QString& from, const QString& to);

// Removes a file or link; a missing one is no error.
QString Remove(const QString& path);

// Reads a regular file without blocking on pipes or devices; `tooLarge` is
// set (and nothing read) when it holds more than `limit` bytes.
QString ReadRegular(const QString& path, QByteArray& bytes, qint64 limit, bool* tooLarge);

// Fault injection (see ScopedFileFault): 0 when the step may run, else the
// kind of failure to fake (1 no space, 2 device error). Steps: 0 create,
// 1 write, 2 sync, 3 close, 4 rename.
int InjectedFault(int step);

}  // namespace qv::base::native
