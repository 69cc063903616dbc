#include "base/NativeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qv::base::native {
namespace {

constexpr qint64 kChunk = 1 << 20;  // one write call at most

QString Reason(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

QByteArray Encoded(const QString& path) { return QFile::encodeName(path); }

// errno for an injected fault of the given step, 0 when none.
int Injected(int step) {
  switch (InjectedFault(step)) {
    case 1: return ENOSPC;
    case 2: return EIO;
    default: return 0;
  }
}

// Writes all of [data, data + size) at `offset`; 0 or the errno.
int WriteAllAt(int fd, const char* data, qint64 size, qint64 offset) {
  while (size > 0) {
    const qint64 chunk = std::min(size, kChunk);
    if (const int fault = Injected(1)) {
      // A device that fails midway has usually taken part of the bytes.
      if (chunk > 1) {
        [[maybe_unused]] const ssize_t half = pwrite(fd, data, static_cast<size_t>(chunk / 2), offset);
      }
      return fault;
    }
    const ssize_t n = pwrite(fd, data, static_cast<size_t>(chunk), offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return ENOSPC;
    data += n;
    size -= n;
    offset += n;
  }
  return 0;
}

int SyncFd(int fd) {
  if (const int fault = Injected(2)) return fault;
  if (fsync(fd) == 0) return 0;
  // Some file systems cannot sync; what was written stands.
  return errno == EINVAL || errno == ENOTSUP ? 0 : errno;
}

int CloseFd(int fd) {
  const int fault = Injected(3);
  if (close(fd) != 0 && errno != EINTR) return errno;
  return fault;
}

void SyncFolderOf(const QString& path) {
  const int fd = open(Encoded(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);  // the rename is done either way; this only makes it durable sooner
  close(fd);
}

}  // namespace

QString CreateWriteSync(const QString& path, const QByteArray& bytes, const QString& permissionsOf, bool* refused) {
  if (refused) *refused = false;
  if (const int fault = Injected(0)) return Reason(fault);
  const QByteArray name = Encoded(path);
  const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int code = errno;
    if (refused) *refused = code == EACCES || code == EPERM;
    return Reason(code);
  }
  struct stat like {};
  if (!permissionsOf.isEmpty() && stat(Encoded(permissionsOf).constData(), &like) == 0) {
    // Keep the replaced file's owner (when allowed) and permissions.
    [[maybe_unused]] const int owned = fchown(fd, like.st_uid, like.st_gid);
    fchmod(fd, like.st_mode & 07777);
  }
  int code = WriteAllAt(fd, bytes.constData(), bytes.size(), 0);
  if (code == 0) code = SyncFd(fd);
  const int closed = CloseFd(fd);
  if (code == 0) code = closed;
  if (code != 0) {
    unlink(name.constData());
    return Reason(code);
  }
  return {};
}

QString RenameOver(const QString& from, const QString& to) {
  if (const int fault = Injected(4)) return Reason(fault);
  if (rename(Encoded(from).constData(), Encoded(to).constData()) != 0) return Reason(errno);
  SyncFolderOf(to);
  return {};
}

QString Remove(const QString& path) {
  if (unlink(Encoded(path).constData()) == 0 || errno == ENOENT) return {};
  return Reason(errno);
}

QString ReadRegular(const QString& path, QByteArray& bytes, qint64 limit, bool* tooLarge) {
  *tooLarge = false;
  // Non-blocking, so that a pipe in the file's place cannot stall the program.
  const int fd = open(Encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Reason(errno);
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    const int code = errno;
    close(fd);
    return Reason(code);
  }
  if (!S_ISREG(st.st_mode)) {
    close(fd);
    return QStringLiteral("it is not a regular file");
  }
  if (st.st_size > limit) {
    close(fd);
    *tooLarge = true;
    return {};
  }
  QByteArray out(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
  qint64 done = 0;
  for (;;) {
    // One byte beyond the size seen tells whether the file has grown since.
    if (done == out.size()) {
      if (out.size() > limit) break;
      out.resize(std::min<qint64>(limit + 1, out.size() + 65536));
    }
    const ssize_t n = read(fd, out.data() + done, static_cast<size_t>(out.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      close(fd);
      return Reason(code);
    }
    if (n == 0) break;
    done += n;
  }
  close(fd);
  if (done > limit) {
    *tooLarge = true;
    return {};
  }
  out.truncate(done);
  bytes = std::move(out);
  return {};
}

}  // namespace qv::base::native
