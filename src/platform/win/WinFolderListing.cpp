#include <windows.h>

#include <QDir>
#include <QFileInfo>

#include "platform/FolderListing.h"

namespace qv::platform {

std::vector<FolderEntry> ListFolder(const QString& folder) {
  std::vector<FolderEntry> entries;
  const std::wstring pattern = QDir::toNativeSeparators(folder + "/*").toStdWString();
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const QString name = QString::fromWCharArray(data.cFileName);
    if (name == QLatin1String(".") || name == QLatin1String("..")) continue;
    const bool isFolder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    const bool isDevice = data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE;
    entries.push_back({name, isFolder ? FolderEntry::Folder : isDevice ? FolderEntry::Other : FolderEntry::File});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return entries;
}

// Windows names folders by path here; the file system caches the look-ups.
OpenFolder::OpenFolder(const QString& path) : m_path(path) {}
OpenFolder::OpenFolder(const OpenFolder& parent, const QString& name) : m_path(parent.m_path + u'/' + name) {}
OpenFolder::~OpenFolder() = default;
bool OpenFolder::isOpen() const { return QFileInfo(m_path).isDir(); }
std::vector<FolderEntry> OpenFolder::entries() const { return ListFolder(m_path); }
FileRead OpenFolder::read(const QString& name, qint64 limit, QByteArray& out, QString& reason) const {
  return ReadFileUpTo(m_path + u'/' + name, limit, out, reason);
}

FileRead OpenFolder::readListedFile(const QString& name, qint64 limit, QByteArray& out, QString& reason) const {
  return read(name, limit, out, reason);
}

}  // namespace qv::platform
