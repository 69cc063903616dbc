#pragma once

#include <QByteArray>
#include <QString>

namespace qv::platform {

enum class FileRead { Ok, Missing, TooLarge, Failed };

// Reads the whole of a regular file holding at most `limit` bytes, with the
// fewest system calls (open, one status, the reads, close): the scan reads
// thousands of files, where QFile's extra status calls cost as much as the
// reading. Anything but a regular file (a folder, a pipe) is Failed and is
// never waited on. `reason` gets the system's words on Failed.
FileRead ReadFileUpTo(const QString& path, qint64 limit, QByteArray& out, QString& reason);

}  // namespace qv::platform
