#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace qv::base {

// Every file the program writes goes through here, so that a write that
// fails (full disk, read-only file, lost device) never leaves a short file
// behind and never reports success:
//  - the new bytes go to a temporary file beside the target; every write,
//    the sync to disk and the close are checked; only then is the temporary
//    renamed over the target (and the folder synced);
//  - a ".bak" is replaced only once the new copy is complete;
//  - a failure leaves every previous file as it was and tells which file and
//    why, in words a user can act on.
// So a folder that refuses new files refuses the save, even when the file
// itself could be changed in place: a file changed in place can be left half
// written.

// The outcome of a file operation; on failure, the file and the reason.
class [[nodiscard]] FileResult {
 public:
  FileResult() = default;
  static FileResult Failed(const QString& path, const QString& reason);

  bool ok() const { return m_error.isEmpty(); }
  explicit operator bool() const { return ok(); }
  // "<file in native spelling>: <reason>", empty on success.
  const QString& error() const { return m_error; }
  const QString& reason() const { return m_reason; }

 private:
  QString m_error;
  QString m_reason;
};

// Sizes above which a file is refused as not one of ours.
inline constexpr qint64 kMiB = 1024 * 1024;

// Replaces `path` with `bytes` (see above). A target that is a link is
// written where the link points; a target that is not a regular file
// (folder, pipe, device) or carries the read-only attribute is refused.
FileResult WriteFileAtomic(const QString& path, const QByteArray& bytes);

// As WriteFileAtomic, keeping the file's previous contents in `backupPath`.
// The backup is replaced only once the new contents are safely staged; a
// missing file simply gets no backup.
FileResult WriteFileWithBackup(const QString& path, const QString& backupPath, const QByteArray& bytes);

// Reads a whole regular file of at most `limit` bytes. Pipes and devices are
// refused without waiting on them; a larger file is refused naming the limit.
FileResult ReadFileLimited(const QString& path, QByteArray& bytes, qint64 limit);

// A byte-for-byte copy of a regular file; the target appears only complete.
FileResult CopyFileAtomic(const QString& from, const QString& to, qint64 limit);

// Removes one file (or link); a file that is not there counts as removed.
FileResult RemoveFile(const QString& path);

// Files that belong together (the compiled grammars): each is written to its
// temporary first, and only once all are complete are they put in place.
class FileBatch {
 public:
  void Add(const QString& path, const QByteArray& bytes);
  // Stages every file, then renames each into place. A failure while staging
  // leaves every target as it was.
  FileResult Commit();

 private:
  std::vector<std::pair<QString, QByteArray>> m_files;
};

// Test seam: while one is alive, the n-th step of the given kind (counted
// from 1 over every file operation of the process) fails as a full disk or a
// failing device would. A failing write has written half its bytes.
class ScopedFileFault {
 public:
  enum Step { Create, Write, Sync, Close, Rename };
  enum Kind { NoSpace, IoError };
  ScopedFileFault(Step step, int nth, Kind kind = NoSpace);
  ~ScopedFileFault();
  ScopedFileFault(const ScopedFileFault&) = delete;
  ScopedFileFault& operator=(const ScopedFileFault&) = delete;

  // Whether the fault has been met.
  bool hit() const;
};

}  // namespace qv::base
