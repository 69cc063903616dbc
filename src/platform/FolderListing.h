#pragma once

#include <QString>
#include <vector>

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

}  // namespace qv::platform
