#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "platform/FileRead.h"

namespace qv::platform {

struct FolderEntry {
  enum Kind { File, Folder, Other };
  QString name;
  Kind kind = Other;
};

// Every entry of `folder` but "." and "..", hidden ones included, in the
// order the file system lists them, each with its kind (links followed).
// Empty when the folder cannot be listed. One directory read, and no file
// status call for the usual entries: the scan lists thousands of aircraft
// folders, where QDirIterator's own set-up costs more than the listing.
std::vector<FolderEntry> ListFolder(const QString& folder);

// A folder held open: its entries listed and its subfolders and files opened
// by name, so that the system walks the folder's path once rather than once
// for every name in it (the scan opens thousands of folders and files below
// a few object folders).
class OpenFolder {
 public:
  explicit OpenFolder(const QString& path);
  // The subfolder `name` of an open folder.
  OpenFolder(const OpenFolder& parent, const QString& name);
  ~OpenFolder();
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  bool isOpen() const;
  // As ListFolder gives them.
  std::vector<FolderEntry> entries() const;
  // As ReadFileUpTo reads it, for the file `name` of this folder.
  FileRead read(const QString& name, qint64 limit, QByteArray& out, QString& reason) const;
  // read() of a name that entries() has just given as a File: its kind is
  // not asked for again, and the file is read to its end into the room `out`
  // has (a buffer handed in file after file is allocated once).
  FileRead readListedFile(const QString& name, qint64 limit, QByteArray& out, QString& reason) const;

 private:
  QString m_path;
  int m_fd = -1;                  // where the system names folders by handle
  mutable bool m_listed = false;  // a listing has moved the handle's position
};

}  // namespace qv::platform
