#include "FaultSupport.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "FixtureTree.h"
#include "checklists/KneeboardFixture.h"
#include "core/checklists/AircraftScan.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/data/ChecklistStore.h"
#include "core/data/CommandListStore.h"
#include "core/data/NavaidStore.h"
#include "core/data/SettingsStore.h"
#include "core/data/SimulatorConfig.h"

namespace qv::test {

Snapshot TakeSnapshot(const QString& root) {
  Snapshot s;
  QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    if (it.fileInfo().isFile() && !it.fileInfo().isSymLink())
      s.insert(QDir(root).relativeFilePath(it.filePath()), ReadBytes(it.filePath()));
  }
  return s;
}

void RestoreSnapshot(const QString& root, const Snapshot& snapshot) {
  for (const QString& now : TakeSnapshot(root).keys())
    if (!snapshot.contains(now)) QFile::remove(root + "/" + now);
  for (auto it = snapshot.cbegin(); it != snapshot.cend(); ++it)
    if (ReadBytes(root + "/" + it.key()) != it.value()) WriteBytes(root + "/" + it.key(), it.value());
}

QStringList LeftoverTemporaries(const QString& root) {
  QStringList found;
  QDirIterator it(root, {"*.qvtmp"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) found << it.next();
  return found;
}

bool RunningAsRoot() { return geteuid() == 0; }

SmallDisk::SmallDisk(int kilobytes) {
  if (!RunningAsRoot() || !m_dir.isValid()) return;
  const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
  m_mounted = mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
  if (m_mounted) umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

void SmallDisk::Fill() {
  const int fd = open(QFile::encodeName(path() + "/filler").constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd < 0) return;
  const QByteArray block(4096, 'x');
  while (write(fd, block.constData(), block.size()) > 0) {
  }
  while (write(fd, block.constData(), 1) > 0) {
  }
  close(fd);
}

bool SetImmutable(const QString& path, bool on) {
  const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return ok;
}

SampleInstallation::SampleInstallation(const QString& parent) : inst(parent) {
  CopyTree(FixturesDir() + "/KneeboardTree", inst.simDir);
  const QString data = inst.installDir + "/Data/";
  QByteArray bytes;
  data::SerializeCommandList(SmallCommands(), bytes);
  WriteBytes(data + "CommandList.dat", bytes);
  WriteBytes(data + "Checklist_Assignments.dat",
             data::SerializeAssignments({KneeboardTree::Assign("Alpha Trainer Green", "Trainer Checks"),
                                         KneeboardTree::Assign("Alpha Trainer Red", "Jet Checks"),
                                         KneeboardTree::Assign("Bravo Jet Standard", "Jet Checks"),
                                         KneeboardTree::Assign("Charlie Glider", "Jet Checks")}));
  for (const char* f : {"ILS_Info.txt", "Nav_Info.txt"})
    WriteBytes(data + f, ReadBytes(DemoSourceDir() + "/Data/" + f).replace("\n", "\r\n"));
  WriteBytes(data + "Generic Lists.bnf", ReadBytes(DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
  for (const data::ChecklistFile& c : {TrainerChecklist(), JetChecklist()}) {
    data::SerializeChecklist(c, bytes);
    WriteBytes(inst.installDir + "/Checklists/" + c.name + ".dat", bytes);
  }
}

std::unique_ptr<TestEnv> SampleInstallation::Load() const {
  auto env = std::make_unique<TestEnv>(inst.installDir);
  env->appData->common = inst.appDataDir;
  shell::Context& ctx = env->ctx;
  const bool loaded = data::LoadSettings(ctx) == 0 && data::LoadSimObjectPaths(ctx) == 0 &&
                      data::LoadAssignments(ctx) == 0 && (checklists::ScanSimulatorAircraft(ctx), true) &&
                      data::LoadCommandList(ctx) == 0 && data::LoadIlsList(ctx) == 0 && data::LoadNavaidList(ctx) == 0;
  EXPECT_TRUE(loaded) << qPrintable(env->dialogs.titles().join(", "));
  checklists::RepairWrittenFlags(env->state);
  data::ListChecklistNames(ctx);
  env->state.categories = data::BuildCommandCategories(env->state.commands);
  return env;
}

}  // namespace qv::test
