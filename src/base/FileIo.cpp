#include "base/FileIo.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <mutex>

#include "base/NativeFile.h"

namespace qv::base {
namespace {

constexpr int kMaxLinkDepth = 40;
// Our own data files are far below this; a copy for a backup reads no more.
constexpr qint64 kBackupReadLimit = 512 * kMiB;

// The file a write lands in: the target itself, or where its link points.
QString LinkedFile(const QString& path) {
  QString current = path;
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    const QFileInfo info(current);
    if (!info.isSymbolicLink()) return current;
    current = info.symLinkTarget();
  }
  return current;
}

enum class Kind { Missing, Regular, Folder, Other };

Kind KindOf(const QString& path) {
  const QFileInfo info(path);
  if (info.isFile()) return Kind::Regular;
  if (info.isDir()) return Kind::Folder;
  if (info.exists()) return Kind::Other;
  return Kind::Missing;
}

bool ReadOnly(const QString& path) {
  constexpr auto kWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return (QFileInfo(path).permissions() & kWrite) == 0;
}

// Why `path` cannot be replaced by a new file, empty when it can.
QString Unwritable(const QString& path) {
  switch (KindOf(path)) {
    case Kind::Folder: return QStringLiteral("it is a folder, not a file");
    case Kind::Other: return QStringLiteral("it is not a regular file (a pipe or a device)");
    case Kind::Regular: return ReadOnly(path) ? QStringLiteral("the file is read-only") : QString();
    case Kind::Missing: break;
  }
  return {};
}

QString TemporaryBeside(const QString& target) {
  const QFileInfo info(target);
  // Hidden, and short enough that the name stays legal beside a long one.
  return info.absolutePath() + "/." + info.fileName().left(200) + "." +
         QString::number(QRandomGenerator::global()->generate() % 2176782336u, 36) + ".qvtmp";
}

// A folder that takes no new file cannot have its files replaced safely; the
// user is told it is the folder.
QString Staging(const QString& why, bool refused) {
  return refused ? "the folder does not allow a new copy of the file to be made there (" + why + ")" : why;
}

QString SizeText(qint64 bytes) {
  if (bytes >= kMiB) return QString::number(double(bytes) / double(kMiB), 'g', 4) + " MB";
  if (bytes >= 1024) return QString::number(double(bytes) / 1024.0, 'g', 4) + " KB";
  return QString::number(bytes) + " bytes";
}

// --- fault injection ---------------------------------------------------------

struct FaultPlan {
  std::mutex mutex;
  bool active = false;
  int step = 0;
  int nth = 0;
  int kind = 0;
  int seen = 0;
  bool hit = false;
};

FaultPlan& Plan() {
  static FaultPlan plan;
  return plan;
}

}  // namespace

namespace native {

int InjectedFault(int step) {
  FaultPlan& plan = Plan();
  std::lock_guard lock(plan.mutex);
  if (!plan.active || step != plan.step || plan.hit) return 0;
  if (++plan.seen != plan.nth) return 0;
  plan.hit = true;
  return plan.kind + 1;
}

}  // namespace native

ScopedFileFault::ScopedFileFault(Step step, int nth, Kind kind) {
  FaultPlan& plan = Plan();
  std::lock_guard lock(plan.mutex);
  plan.active = true;
  plan.step = step;
  plan.nth = nth;
  plan.kind = kind;
  plan.seen = 0;
  plan.hit = false;
}

ScopedFileFault::~ScopedFileFault() {
  FaultPlan& plan = Plan();
  std::lock_guard lock(plan.mutex);
  plan.active = false;
}

bool ScopedFileFault::hit() const {
  FaultPlan& plan = Plan();
  std::lock_guard lock(plan.mutex);
  return plan.hit;
}

// --- results -------------------------------------------------------------------

FileResult FileResult::Failed(const QString& path, const QString& reason) {
  FileResult r;
  r.m_reason = reason.isEmpty() ? QStringLiteral("it failed") : reason;
  r.m_error = QDir::toNativeSeparators(path) + ": " + r.m_reason;
  return r;
}

// --- writing -------------------------------------------------------------------

FileResult WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  const QString target = LinkedFile(path);
  if (const QString why = Unwritable(target); !why.isEmpty()) return FileResult::Failed(path, why);
  const bool exists = KindOf(target) == Kind::Regular;
  const QString temporary = TemporaryBeside(target);
  bool refused = false;
  if (const QString why = native::CreateWriteSync(temporary, bytes, exists ? target : QString(), &refused);
      !why.isEmpty())
    return FileResult::Failed(path, Staging(why, refused));
  if (const QString why = native::RenameOver(temporary, target); !why.isEmpty()) {
    native::Remove(temporary);
    return FileResult::Failed(path, why);
  }
  return {};
}

FileResult WriteFileWithBackup(const QString& path, const QString& backupPath, const QByteArray& bytes) {
  const QString target = LinkedFile(path);
  if (KindOf(target) == Kind::Missing) return WriteFileAtomic(path, bytes);
  if (const QString why = Unwritable(target); !why.isEmpty()) return FileResult::Failed(path, why);
  const QString backup = LinkedFile(backupPath);
  if (const QString why = Unwritable(backup); !why.isEmpty()) return FileResult::Failed(backupPath, why);
  const bool backupExists = KindOf(backup) == Kind::Regular;

  QByteArray previous;
  if (FileResult read = ReadFileLimited(target, previous, kBackupReadLimit); !read) return read;

  // The new contents first: until they are safe on disk nothing changes.
  const QString staged = TemporaryBeside(target);
  bool refused = false;
  if (const QString why = native::CreateWriteSync(staged, bytes, target, &refused); !why.isEmpty())
    return FileResult::Failed(path, Staging(why, refused));
  const QString stagedBackup = TemporaryBeside(backup);
  QString why = native::CreateWriteSync(stagedBackup, previous, backupExists ? backup : target, &refused);
  if (!why.isEmpty()) why = Staging(why, refused);
  if (why.isEmpty()) why = native::RenameOver(stagedBackup, backup);
  if (!why.isEmpty()) {
    native::Remove(stagedBackup);
    native::Remove(staged);
    return FileResult::Failed(backupPath, why);
  }
  // Should this last step fail, the backup holds the file as it still is.
  if (const QString last = native::RenameOver(staged, target); !last.isEmpty()) {
    native::Remove(staged);
    return FileResult::Failed(path, last);
  }
  return {};
}

FileResult ReadFileLimited(const QString& path, QByteArray& bytes, qint64 limit) {
  bool tooLarge = false;
  const QString why = native::ReadRegular(path, bytes, limit, &tooLarge);
  if (!why.isEmpty()) return FileResult::Failed(path, why);
  if (tooLarge)
    return FileResult::Failed(path, "the file is larger than " + SizeText(limit) +
                                        ", more than any genuine file of its kind; it has not been read");
  return {};
}

FileResult CopyFileAtomic(const QString& from, const QString& to, qint64 limit) {
  QByteArray bytes;
  if (FileResult read = ReadFileLimited(from, bytes, limit); !read) return read;
  return WriteFileAtomic(to, bytes);
}

FileResult RemoveFile(const QString& path) {
  const QString why = native::Remove(path);
  return why.isEmpty() ? FileResult() : FileResult::Failed(path, why);
}

// --- several files at once ---------------------------------------------------------

void FileBatch::Add(const QString& path, const QByteArray& bytes) { m_files.emplace_back(path, bytes); }

FileResult FileBatch::Commit() {
  std::vector<std::pair<QString, QString>> staged;  // temporary, target
  const auto dropStaged = [&staged] {
    for (const auto& s : staged) native::Remove(s.first);
  };
  for (const auto& [path, bytes] : m_files) {
    const QString target = LinkedFile(path);
    QString why = Unwritable(target);
    const QString temporary = TemporaryBeside(target);
    if (why.isEmpty())
      why = native::CreateWriteSync(temporary, bytes, KindOf(target) == Kind::Regular ? target : QString());
    if (!why.isEmpty()) {
      dropStaged();
      return FileResult::Failed(path, why);
    }
    staged.emplace_back(temporary, target);
  }
  for (size_t i = 0; i < staged.size(); ++i) {
    if (const QString why = native::RenameOver(staged[i].first, staged[i].second); !why.isEmpty()) {
      for (size_t j = i; j < staged.size(); ++j) native::Remove(staged[j].first);
      return FileResult::Failed(m_files[i].first, why);
    }
  }
  m_files.clear();
  return {};
}

}  // namespace qv::base
