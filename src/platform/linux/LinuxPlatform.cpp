#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <cerrno>

#include "platform/Platform.h"
#include "platform/SimInstallation.h"
#include "platform/linux/LinuxAdapters.h"

namespace qv::platform {
namespace {

// Inside a Wine prefix the simulator's application data lives in the prefix.
class LinuxAppDataFolders final : public AppDataFolders {
 public:
  explicit LinuxAppDataFolders(QString installDir) : m_driveC(WineDriveC(installDir)) {}

  QString CommonAppData() const override {
    if (!m_driveC.isEmpty()) return m_driveC + "/ProgramData";
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    const QStringList list = dirs.split(u':', Qt::SkipEmptyParts);
    return list.isEmpty() ? QStringLiteral("/etc/xdg") : list.first();
  }

  QString UserAppData() const override {
    if (!m_driveC.isEmpty()) {
      const QString users = m_driveC + "/users";
      QStringList candidates;
      const QString user = qEnvironmentVariable("USER");
      if (!user.isEmpty()) candidates << user;
      candidates << QDir(users).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
      for (const QString& name : candidates) {
        const QString roaming = users + "/" + name + "/AppData/Roaming";
        if (QFileInfo(roaming).isDir()) return roaming;
      }
      return QString();
    }
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!home.isEmpty()) return home;
    return QDir::homePath() + "/.config";
  }

 private:
  QString m_driveC;
};

class LinuxOsVersion final : public OsVersion {
 public:
  bool IsLegacyPlatform() const override { return false; }
};

// The lock is taken on the installation folder itself, so every spelling of
// the path (links, bind mounts, "..") meets the same lock, nothing is written
// for it (a full disk or a read-only folder does not matter), and it ends
// with the process however that ends.
class LinuxSingleInstance final : public SingleInstance {
 public:
  explicit LinuxSingleInstance(const QString& installDir) : m_dir(installDir) {}
  ~LinuxSingleInstance() override {
    if (m_fd >= 0) close(m_fd);
  }
  bool AnotherInstanceRunning() override {
    if (m_fd >= 0) return false;
    const int fd = open(QFile::encodeName(m_dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;  // no folder to guard; the installation check reports it
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool held = errno == EWOULDBLOCK;
      close(fd);
      return held;  // a file system without locks guards nothing
    }
    m_fd = fd;
    return false;
  }

 private:
  QString m_dir;
  int m_fd = -1;
};

// Without widgets there is no dialog to show; the GUI replaces this one.
class NoFileDialogs final : public FileDialogs {
 public:
  QString OpenFile(const QString&, const QString&, const QString&) override { return QString(); }
};

}  // namespace

Platform CreatePlatform(const QString& installDir) {
  Platform p;
  p.appData = std::make_unique<LinuxAppDataFolders>(installDir);
  p.fileDialogs = std::make_unique<NoFileDialogs>();
  p.osVersion = std::make_unique<LinuxOsVersion>();
  p.singleInstance = std::make_unique<LinuxSingleInstance>(installDir);
  p.windowProbe = CreateX11WindowProbe();
  p.processLauncher = CreateLinuxProcessLauncher();
  return p;
}

}  // namespace qv::platform
