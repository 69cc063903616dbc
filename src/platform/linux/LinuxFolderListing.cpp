#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <QFile>

#include "platform/FolderListing.h"
#include "platform/linux/LinuxAdapters.h"

namespace qv::platform {

namespace {

// The entries of an open directory stream, which this closes; `at` is the
// folder's handle, or AT_FDCWD with `path` naming it.
std::vector<FolderEntry> ReadEntries(DIR* dir, int at, const QByteArray& path) {
  std::vector<FolderEntry> entries;
  if (!dir) return entries;
  while (const dirent* e = readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    FolderEntry entry{QFile::decodeName(name), FolderEntry::Other};
    unsigned char type = e->d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
      struct stat st;
      const int status = at == AT_FDCWD ? stat((path + '/' + name).constData(), &st) : fstatat(at, name, &st, 0);
      type = status != 0 ? DT_UNKNOWN : S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
    }
    entry.kind = type == DT_DIR ? FolderEntry::Folder : type == DT_REG ? FolderEntry::File : FolderEntry::Other;
    entries.push_back(std::move(entry));
  }
  closedir(dir);
  return entries;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const QString& folder) {
  const QByteArray path = QFile::encodeName(folder);
  return ReadEntries(opendir(path.constData()), AT_FDCWD, path);
}

OpenFolder::OpenFolder(const QString& path)
    : m_path(path), m_fd(open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::OpenFolder(const OpenFolder& parent, const QString& name)
    : m_path(parent.m_path + u'/' + name),
      m_fd(parent.m_fd < 0 ? -1
                           : openat(parent.m_fd, QFile::encodeName(name).constData(),
                                    O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::~OpenFolder() {
  if (m_fd >= 0) close(m_fd);
}

bool OpenFolder::isOpen() const { return m_fd >= 0; }

std::vector<FolderEntry> OpenFolder::entries() const {
  if (m_fd < 0) return {};
  // The stream takes a handle of its own: this one stays for the reads. The
  // two share one position, so each listing starts from the top.
  const int fd = dup(m_fd);
  DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
  if (!dir && fd >= 0) close(fd);
  if (dir) rewinddir(dir);
  return ReadEntries(dir, m_fd, QByteArray());
}

FileRead OpenFolder::read(const QString& name, qint64 limit, QByteArray& out, QString& reason) const {
  if (m_fd < 0) return ReadFileUpTo(m_path + u'/' + name, limit, out, reason);
  // Without O_NONBLOCK, opening a pipe would wait for a writer.
  return ReadOpenedFile(openat(m_fd, QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), limit,
                        out, reason);
}

}  // namespace qv::platform
