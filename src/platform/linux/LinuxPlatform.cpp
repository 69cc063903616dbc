#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>

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

class LinuxSingleInstance final : public SingleInstance {
 public:
  explicit LinuxSingleInstance(const QString& installDir) {
    const QByteArray key =
        QCryptographicHash::hash(QFileInfo(installDir).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    m_lock = std::make_unique<QLockFile>(QDir::tempPath() + "/quorvane-" + QString::fromLatin1(key) + ".lock");
    m_lock->setStaleLockTime(0);
  }
  bool AnotherInstanceRunning() override {
    if (m_lock->isLocked()) return false;
    return !m_lock->tryLock(0);
  }

 private:
  std::unique_ptr<QLockFile> m_lock;
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
