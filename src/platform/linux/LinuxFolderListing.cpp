#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/FolderListing.h"
#include "platform/linux/LinuxAdapters.h"

namespace qv::platform {
namespace {

// One entry as the directory read gives it; `at` is the folder's handle, or
// AT_FDCWD with `path` naming the folder. False for "." and "..".
bool Entry(const char* name, unsigned char type, int at, const QByteArray& path, FolderEntry& entry) {
  if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) return false;
  if (type == DT_LNK || type == DT_UNKNOWN) {
    struct stat st;
    const int status = at == AT_FDCWD ? stat((path + '/' + name).constData(), &st) : fstatat(at, name, &st, 0);
    type = status != 0 ? DT_UNKNOWN : S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
  }
  entry.name = QFile::decodeName(name);
  entry.kind = type == DT_DIR ? FolderEntry::Folder : type == DT_REG ? FolderEntry::File : FolderEntry::Other;
  return true;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const QString& folder) {
  std::vector<FolderEntry> entries;
  const QByteArray path = QFile::encodeName(folder);
  DIR* dir = opendir(path.constData());
  if (!dir) return entries;
  FolderEntry entry;
  while (const dirent* e = readdir(dir))
    if (Entry(e->d_name, e->d_type, AT_FDCWD, path, entry)) entries.push_back(std::move(entry));
  closedir(dir);
  return entries;
}

OpenFolder::OpenFolder(const QString& path)
    : m_path(path), m_fd(open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::OpenFolder(const OpenFolder& parent, const QString& name)
    : m_path(parent.m_path + u'/' + name),
      m_fd(parent.m_fd < 0
               ? -1
               : openat(parent.m_fd, QFile::encodeName(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::~OpenFolder() {
  if (m_fd >= 0) close(m_fd);
}

bool OpenFolder::isOpen() const { return m_fd >= 0; }

std::vector<FolderEntry> OpenFolder::entries() const {
  std::vector<FolderEntry> entries;
  // The entries are read straight from the handle, without the directory
  // stream's own handle and status calls; each listing after the first
  // starts from the top again.
  if (m_fd < 0 || (m_listed && lseek(m_fd, 0, SEEK_SET) != 0)) return entries;
  m_listed = true;
  alignas(dirent64) char buffer[16384];
  FolderEntry entry;
  for (ssize_t got; (got = getdents64(m_fd, buffer, sizeof buffer)) > 0;) {
    for (ssize_t at = 0; at < got;) {
      const auto* e = reinterpret_cast<const dirent64*>(buffer + at);
      if (Entry(e->d_name, e->d_type, m_fd, QByteArray(), entry)) entries.push_back(std::move(entry));
      at += e->d_reclen;
    }
  }
  return entries;
}

FileRead OpenFolder::read(const QString& name, qint64 limit, QByteArray& out, QString& reason) const {
  if (m_fd < 0) return ReadFileUpTo(m_path + u'/' + name, limit, out, reason);
  // Without O_NONBLOCK, opening a pipe would wait for a writer.
  return ReadOpenedFile(openat(m_fd, QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), limit,
                        out, reason);
}

FileRead OpenFolder::readListedFile(const QString& name, qint64 limit, QByteArray& out, QString& reason) const {
  if (m_fd < 0) return ReadFileUpTo(m_path + u'/' + name, limit, out, reason);
  return ReadOpenedFile(openat(m_fd, QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), limit,
                        out, reason, true);
}

}  // namespace qv::platform
