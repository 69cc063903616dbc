#include <dirent.h>
#include <sys/stat.h>

#include <QFile>

#include "platform/FolderListing.h"

namespace qv::platform {

std::vector<FolderEntry> ListFolder(const QString& folder) {
  std::vector<FolderEntry> entries;
  const QByteArray path = QFile::encodeName(folder);
  DIR* dir = opendir(path.constData());
  if (!dir) return entries;
  while (const dirent* e = readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    FolderEntry entry{QFile::decodeName(name), FolderEntry::Other};
    unsigned char type = e->d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
      struct stat st;
      type = stat((path + '/' + name).constData(), &st) != 0 ? DT_UNKNOWN
             : S_ISDIR(st.st_mode)                           ? DT_DIR
             : S_ISREG(st.st_mode)                           ? DT_REG
                                                             : DT_UNKNOWN;
    }
    entry.kind = type == DT_DIR ? FolderEntry::Folder : type == DT_REG ? FolderEntry::File : FolderEntry::Other;
    entries.push_back(std::move(entry));
  }
  closedir(dir);
  return entries;
}

}  // namespace qv::platform
