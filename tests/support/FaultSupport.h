#pragma once

// Helpers for tests that break saves on purpose: snapshots of a folder tree,
// a small full disk, the immutable attribute, and a sample installation that
// every save can run against.

#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "TestEnv.h"

namespace qv::test {

// Every regular file below `root`: relative path -> bytes.
using Snapshot = QMap<QString, QByteArray>;
Snapshot TakeSnapshot(const QString& root);
// Puts the regular files below `root` back as they were in `snapshot`:
// files rewritten, files that were not there removed.
void RestoreSnapshot(const QString& root, const Snapshot& snapshot);
// Temporary files the writer left behind below `root`.
QStringList LeftoverTemporaries(const QString& root);

bool RunningAsRoot();

// A small tmpfs of its own (only root may mount one); mounted() is false
// otherwise and the caller skips.
class SmallDisk {
 public:
  explicit SmallDisk(int kilobytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return m_mounted; }
  QString path() const { return m_dir.path(); }
  // Takes up every free byte, so that the next write meets a full disk.
  void Fill();

 private:
  QTemporaryDir m_dir;
  bool m_mounted = false;
};

// Sets or clears the immutable attribute; false where it cannot be set
// (not root, or a file system without it).
bool SetImmutable(const QString& path, bool on);

// An installation below `parent` (a temporary folder when empty) with the
// sample aircraft tree, a small command list, the demo's navaid lists and
// grammar list file, two checklists, and assignments for four aircraft.
struct SampleInstallation {
  explicit SampleInstallation(const QString& parent = QString());
  // A fresh environment loaded the way start-up loads it.
  std::unique_ptr<TestEnv> Load() const;
  QString aircraft(const QString& relative) const { return inst.simDir + "/SimObjects/Airplanes/" + relative; }

  TestInstallation inst;
};

}  // namespace qv::test
