#include "FixtureTree.h"

#include <QDir>
#include <QDirIterator>

#include "TestEnv.h"

namespace qv::test {

void CopyTree(const QString& from, const QString& to) {
  QDir().mkpath(to);
  QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QString target = to + "/" + QDir(from).relativeFilePath(it.filePath());
    if (it.fileInfo().isDir())
      QDir().mkpath(target);
    else
      WriteBytes(target, ReadBytes(it.filePath()));
  }
}

}  // namespace qv::test
