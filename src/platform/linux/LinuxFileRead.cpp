#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/FileRead.h"
#include "platform/linux/LinuxAdapters.h"

namespace qv::platform {

namespace {

// Empties `out` keeping its storage when nothing else shares it, so that a
// buffer handed in file after file is allocated (and its pages touched) once.
void Empty(QByteArray& out) {
  if (out.isDetached())
    out.truncate(0);
  else
    out.clear();
}

}  // namespace

FileRead ReadFileUpTo(const QString& path, qint64 limit, QByteArray& out, QString& reason) {
  Empty(out);
  // Without O_NONBLOCK, opening a pipe would wait for a writer.
  return ReadOpenedFile(open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), limit, out,
                        reason);
}

FileRead ReadOpenedFile(int fd, qint64 limit, QByteArray& out, QString& reason, bool listedRegular) {
  Empty(out);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return FileRead::Missing;
    reason = QString::fromLocal8Bit(std::strerror(error));
    return FileRead::Failed;
  }
  const auto fail = [&](const QString& why) {
    reason = why;
    close(fd);
    Empty(out);
    return FileRead::Failed;
  };
  // The file's status: whether it is a regular file, and its size plus one
  // (that byte asks the end of the file to show itself, and notices a file
  // that grew beyond the limit since). False, the file closed, when the
  // status ends the read.
  FileRead refused = FileRead::Ok;
  const auto status = [&](qsizetype& size) {
    struct stat st;
    if (fstat(fd, &st) != 0) {
      refused = fail(QString::fromLocal8Bit(std::strerror(errno)));
    } else if (!S_ISREG(st.st_mode)) {
      refused = fail(S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
    } else if (st.st_size > limit) {
      close(fd);
      Empty(out);
      refused = FileRead::TooLarge;
    } else {
      size = qsizetype(st.st_size) + 1;
    }
    return refused == FileRead::Ok;
  };
  // A file the listing gave as regular is read straight into the room the
  // buffer has (a buffer kept from file to file has enough for nearly every
  // file); its status is asked for only when it fills that room.
  constexpr qsizetype kLeast = 16 * 1024;
  bool known = !listedRegular;
  qsizetype size = qsizetype(std::min<qint64>(std::max(out.capacity(), kLeast), limit + 1));
  if (known && !status(size)) return refused;
  out.resize(size);
  qsizetype got = 0;
  for (;;) {
    if (got == out.size()) {
      if (!known) {
        known = true;
        if (!status(size)) return refused;
        if (size > out.size()) out.resize(size);
        continue;
      }
      if (got > limit) break;
      out.resize(std::min<qsizetype>(out.size() * 2, limit + 1));
    }
    const ssize_t n = read(fd, out.data() + got, size_t(out.size() - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (n == 0) break;
    got += n;
  }
  close(fd);
  out.truncate(got);
  return got > limit ? FileRead::TooLarge : FileRead::Ok;
}

}  // namespace qv::platform
