#include <windows.h>

#include <shlobj.h>

#include <QDir>
#include <QFileInfo>

#include "platform/Platform.h"
#include "platform/win/WinAdapters.h"

namespace qv::platform {
namespace {

QString ShellFolder(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, buffer))) return QString();
  return QString::fromWCharArray(buffer);
}

class WinAppDataFolders final : public AppDataFolders {
 public:
  QString CommonAppData() const override { return ShellFolder(0x23); }  // CSIDL_COMMON_APPDATA
  QString UserAppData() const override { return ShellFolder(0x1A); }    // CSIDL_APPDATA
};

class WinOsVersion final : public OsVersion {
 public:
  bool IsLegacyPlatform() const override {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
    return info.dwPlatformId == 1;  // VER_PLATFORM_WIN32_WINDOWS
  }
};

// The mutex is named after the folder's identity (its volume and file
// index), so that every path to the same folder, through a junction, a
// mapped drive letter or another spelling, meets the same mutex.
QString FolderIdentity(const QString& installDir) {
  const HANDLE h =
      CreateFileW(QDir::toNativeSeparators(QFileInfo(installDir).absoluteFilePath()).toStdWString().c_str(), 0,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool known = h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (!known) {
    QString name = QFileInfo(installDir).absoluteFilePath().toLower();
    name.replace(u'\\', u'/');
    name.replace(u':', u'_');
    return name;
  }
  return QStringLiteral("%1-%2-%3")
      .arg(info.dwVolumeSerialNumber, 8, 16, QChar(u'0'))
      .arg(info.nFileIndexHigh, 8, 16, QChar(u'0'))
      .arg(info.nFileIndexLow, 8, 16, QChar(u'0'));
}

class WinSingleInstance final : public SingleInstance {
 public:
  explicit WinSingleInstance(const QString& installDir)
      : m_name(("Local\\Quorvane-" + FolderIdentity(installDir)).toStdWString()) {}
  ~WinSingleInstance() override {
    if (m_mutex) CloseHandle(m_mutex);
  }
  bool AnotherInstanceRunning() override {
    if (m_mutex) return false;
    m_mutex = CreateMutexW(nullptr, TRUE, m_name.c_str());
    return m_mutex && GetLastError() == ERROR_ALREADY_EXISTS;
  }

 private:
  std::wstring m_name;
  HANDLE m_mutex = nullptr;
};

class NoFileDialogs final : public FileDialogs {
 public:
  QString OpenFile(const QString&, const QString&, const QString&) override { return QString(); }
};

}  // namespace

Platform CreatePlatform(const QString& installDir) {
  Platform p;
  p.appData = std::make_unique<WinAppDataFolders>();
  p.fileDialogs = std::make_unique<NoFileDialogs>();
  p.osVersion = std::make_unique<WinOsVersion>();
  p.singleInstance = std::make_unique<WinSingleInstance>(installDir);
  p.windowProbe = CreateWinWindowProbe();
  p.processLauncher = CreateWinProcessLauncher();
  return p;
}

}  // namespace qv::platform
