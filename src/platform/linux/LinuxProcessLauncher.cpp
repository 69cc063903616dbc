#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/linux/LinuxAdapters.h"

namespace qv::platform {
namespace {

// Windows executables begin with the "MZ" signature.
bool IsWindowsExecutable(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) && f.read(2) == "MZ";
}

class LinuxProcessLauncher final : public ProcessLauncher {
 public:
  LaunchResult Start(const QString& program, const QString& workingDir) override {
    LaunchResult result;
    const QFileInfo info(program);
    if (!info.isFile()) {
      result.error = QStringLiteral("%1 does not exist").arg(program);
      return result;
    }
    QProcess process;
    process.setWorkingDirectory(workingDir);
    // A Windows program runs through Wine when it is installed; without it
    // the program is tried directly, which works where the system has been
    // taught to hand such files to an interpreter.
    const QString wine = IsWindowsExecutable(program) ? QStandardPaths::findExecutable("wine") : QString();
    if (!wine.isEmpty()) {
      process.setProgram(wine);
      process.setArguments({info.absoluteFilePath()});
    } else {
      process.setProgram(info.absoluteFilePath());
    }
    result.started = process.startDetached(&result.processId);
    if (!result.started) result.error = process.errorString();
    return result;
  }
};

}  // namespace

std::unique_ptr<ProcessLauncher> CreateLinuxProcessLauncher() { return std::make_unique<LinuxProcessLauncher>(); }

}  // namespace qv::platform
