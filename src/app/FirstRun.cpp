#include "app/FirstRun.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "app/SimulatorSetup.h"
#include "base/FileIo.h"
#include "data/Settings.h"
#include "platform/SimInstallation.h"

namespace qv::app {
namespace {

const QString kTitle = QStringLiteral("Quorvane Setup");

// The installation set up from here, remembered for the next start.
QString RememberedFile() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/installation";
}

QString Remembered() {
  QByteArray bytes;
  if (!base::ReadFileLimited(RememberedFile(), bytes, 64 * 1024)) return {};
  const QString dir = QString::fromUtf8(bytes).trimmed();
  return QFileInfo(dir + "/quorvane").isExecutable() && QFileInfo(data::SettingsFilePath(dir)).isFile() ? dir
                                                                                                        : QString();
}

bool StartInstalled(const QString& installDir) {
  return QProcess::startDetached(installDir + "/quorvane", {}, installDir);
}

}  // namespace

bool OutsideInstallation(const QString& programDir) {
  return !QFileInfo(data::SettingsFilePath(programDir)).exists() && platform::SimulatorExecutable(programDir).isEmpty();
}

int RunFirstRun(const QString& programDir) {
  if (const QString known = Remembered(); !known.isEmpty()) return StartInstalled(known) ? 0 : 1;

  const SetupSources sources = InstalledSources(programDir);
  QMessageBox box(QMessageBox::Information, kTitle, QStringLiteral("Quorvane is not set up in a simulator yet."));
  if (const QPixmap icon(sources.defaultsDir + "/Media/Icons/icon_Quorvane.bmp"); !icon.isNull()) {
    box.setIconPixmap(icon);
    box.setWindowIcon(icon);
  }
  box.setInformativeText(
      "Choose the simulator's folder (the one that holds fsx.exe). Quorvane puts its programs, its skin, help and "
      "sample data in the folder \"Veltrane Software/Quorvane\" there and starts from it; nothing of the "
      "simulator's is changed.\n\nTo take it out again later: quorvane-cli uninstall SIM_DIR");
  QPushButton* choose = box.addButton(QStringLiteral("Choose Simulator Folder..."), QMessageBox::AcceptRole);
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(choose);
  for (;;) {
    box.exec();
    if (box.clickedButton() != choose) return 0;
    const QString simDir = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("Select the Simulator Folder (holding fsx.exe)"), QDir::homePath());
    if (simDir.isEmpty()) continue;
    if (const QString problem = SimulatorFolderProblem(simDir); !problem.isEmpty()) {
      QMessageBox::warning(nullptr, kTitle, problem);
      continue;
    }
    const SetupReport report = SetUpSimulator(simDir, sources, false);
    if (!report.ok) {
      QMessageBox::critical(nullptr, kTitle, DescribeSetup(report));
      continue;
    }
    QDir().mkpath(QFileInfo(RememberedFile()).path());
    // Not remembering only means being asked again next time.
    static_cast<void>(base::WriteFileAtomic(RememberedFile(), report.installDir.toUtf8() + "\n"));
    QMessageBox::information(nullptr, kTitle, DescribeSetup(report) + "\nQuorvane starts now.");
    return StartInstalled(report.installDir) ? 0 : 1;
  }
}

}  // namespace qv::app
