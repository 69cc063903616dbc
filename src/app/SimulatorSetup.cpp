#include "app/SimulatorSetup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "base/FileIo.h"
#include "core/data/SimulatorConfig.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "platform/Platform.h"
#include "platform/SimInstallation.h"

#ifndef QV_INSTALL_BINDIR
#define QV_INSTALL_BINDIR "/usr/bin"
#endif
#ifndef QV_INSTALL_DATADIR
#define QV_INSTALL_DATADIR "/usr/share/quorvane"
#endif

namespace qv::app {
namespace {

// Programs built with the sanitizers are large; nothing else comes near.
constexpr qint64 kCopyLimit = 1024 * base::kMiB;
const QStringList kPrograms{QStringLiteral("quorvane"), QStringLiteral("quorvane-cli")};

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

// Every file below `dir`, relative to it, in a stable order.
QStringList FilesBelow(const QString& dir) {
  QStringList files;
  QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) files << QDir(dir).relativeFilePath(it.next());
  files.sort();
  return files;
}

class Layout {
 public:
  Layout(const SetupSources& sources, const QString& installDir, SetupReport& report)
      : m_sources(sources), m_install(installDir), m_report(report) {}

  // Copies `relative` from `fromDir`; an existing target is replaced only
  // when `replace`. False (with the report's error set) on a failed copy.
  // Whatever is kept is noted in `kept`.
  bool Copy(const QString& fromDir, const QString& relative, bool replace) {
    const QString target = m_install + "/" + relative;
    if (QFileInfo::exists(target) && !replace) {
      kept << relative;
      return true;
    }
    QDir().mkpath(QFileInfo(target).path());
    if (const base::FileResult copied = base::CopyFileAtomic(fromDir + "/" + relative, target, kCopyLimit); !copied)
      return Fail(copied.error());
    m_report.written << relative;
    return true;
  }

  bool CopyTree(const QString& folder, bool replace) {
    for (const QString& file : FilesBelow(m_sources.defaultsDir + "/" + folder))
      if (!Copy(m_sources.defaultsDir, folder + "/" + file, replace)) return false;
    return true;
  }

  bool Programs(bool replace) {
    for (const QString& program : kPrograms) {
      if (!Copy(m_sources.programsDir, program, replace)) return false;
      const QString target = m_install + "/" + program;
      QFile::setPermissions(
          target, QFile::permissions(target) | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    }
    return true;
  }

  bool Fail(const QString& error) {
    m_report.error = error;
    return false;
  }

  QStringList kept;

 private:
  const SetupSources& m_sources;
  QString m_install;
  SetupReport& m_report;
};

bool Complete(const SetupSources& s) {
  for (const QString& program : kPrograms)
    if (!QFileInfo(s.programsDir + "/" + program).isFile()) return false;
  return QFileInfo(s.defaultsDir + "/" + data::kSettingsFileName).isFile() &&
         QFileInfo(s.defaultsDir + "/Data/" + data::kCommandListFileName).isFile();
}

// The simulator's configuration as start-up finds it: the common folder
// first, then the user's; inside a Wine prefix both are the prefix's.
QString DiscoverConfig(const platform::AppDataFolders& folders) {
  for (bool user : {false, true}) {
    const QString found = data::FindSimulatorConfig(folders, user);
    if (found != data::kConfigNotFound) return found;
  }
  return {};
}

bool LayOut(Layout& layout, const QString& installDir, bool upgrade, SetupReport& report) {
  for (const char* sub : {"Data", "Checklists", "Grammars", "Grammars/Test", "Media", "Help"})
    QDir().mkpath(installDir + "/" + sub);

  if (!layout.Programs(upgrade) || !layout.CopyTree("Media", upgrade) || !layout.CopyTree("Help", upgrade))
    return false;
  if (!layout.kept.isEmpty())
    report.kept << "the programs, the skin and the help pages already there (--upgrade replaces them)";

  // The pilot's data: only what is missing is laid out.
  layout.kept.clear();
  if (!layout.CopyTree("Data", false)) return false;
  if (!layout.kept.isEmpty()) report.kept << "your data files: " + layout.kept.join(", ");
  const QString checklists = installDir + "/" + data::kChecklistsFolder;
  if (QDir(checklists).entryList({"*.dat"}, QDir::Files).isEmpty()) {
    if (!layout.CopyTree(data::kChecklistsFolder, false)) return false;
  } else {
    // A sample checklist the pilot deleted stays deleted.
    report.kept << "your checklists (" + data::kChecklistsFolder + ")";
  }
  const QString assignments = data::AssignmentsFilePath(installDir);
  if (QFileInfo::exists(assignments)) {
    report.kept << "your checklist assignments (Data/" + data::kAssignmentsFileName + ")";
  } else {
    if (const base::FileResult written = base::WriteFileAtomic(assignments, data::SerializeAssignments({})); !written)
      return layout.Fail(written.error());
    report.written << "Data/" + data::kAssignmentsFileName;
  }
  return true;
}

bool WriteSettings(const QString& installDir, const SetupSources& sources, const platform::AppDataFolders& appData,
                   SetupReport& report) {
  const QString settings = data::SettingsFilePath(installDir);
  if (QFileInfo::exists(settings)) {
    report.kept << "your settings (" + data::kSettingsFileName + ")";
    return true;
  }
  if (const base::FileResult copied = base::CopyFileAtomic(sources.defaultsDir + "/" + data::kSettingsFileName,
                                                           settings, data::IniFile::kMaxFileSize);
      !copied) {
    report.error = copied.error();
    return false;
  }
  report.written << data::kSettingsFileName;
  // An empty path is looked for again at every start, so a configuration
  // that appears later (the simulator's first run) is still found.
  report.simulatorConfig = DiscoverConfig(appData);
  if (const base::FileResult written =
          data::WriteIniString(data::kMainSection, "PathFSXConfig", report.simulatorConfig, settings);
      !written) {
    report.error = written.error();
    return false;
  }
  return true;
}

}  // namespace

SetupSources InstalledSources(const QString& programDir) {
  const QString beside = QDir::cleanPath(programDir + "/../share/quorvane");
  if (QFileInfo(beside + "/" + data::kSettingsFileName).isFile()) return {QDir::cleanPath(programDir), beside};
  return {QStringLiteral(QV_INSTALL_BINDIR), QStringLiteral(QV_INSTALL_DATADIR)};
}

QString InstallationFolderIn(const QString& simDir) {
  return QDir::cleanPath(QFileInfo(simDir).absoluteFilePath()) + "/Veltrane Software/Quorvane";
}

QString SimulatorFolderProblem(const QString& simDir) {
  const QFileInfo info(simDir);
  if (!info.isDir()) return Native(simDir) + " is not a folder.";
  const QString exe = platform::FindNoCase(info.absoluteFilePath(), QStringLiteral("fsx.exe"));
  if (exe.isEmpty() || !QFileInfo(exe).isFile())
    return Native(simDir) +
           " holds no fsx.exe, so it is not the simulator's folder. Choose the folder the simulator is "
           "installed in (the one that holds fsx.exe).";
  return {};
}

SetupReport SetUpSimulator(const QString& simDir, const SetupSources& sources, bool upgrade) {
  SetupReport report;
  report.installDir = InstallationFolderIn(simDir);
  if (const QString problem = SimulatorFolderProblem(simDir); !problem.isEmpty()) {
    report.error = problem;
    return report;
  }
  if (!Complete(sources)) {
    report.error = "The package's files are not complete in " + Native(sources.programsDir) + " and " +
                   Native(sources.defaultsDir) + "; reinstall the package.";
    return report;
  }
  if (!QDir().mkpath(report.installDir)) {
    report.error = Native(report.installDir) + ": the folder cannot be created (check that you may write there).";
    return report;
  }
  // The same lock the program and the writing commands take.
  platform::Platform platform = platform::CreatePlatform(report.installDir);
  if (platform.singleInstance->AnotherInstanceRunning()) {
    report.error = "Quorvane is working on the installation " + Native(report.installDir) +
                   " (the program or another command is running); close it and try again.";
    return report;
  }
  Layout layout(sources, report.installDir, report);
  report.ok = LayOut(layout, report.installDir, upgrade, report) &&
              WriteSettings(report.installDir, sources, *platform.appData, report);
  return report;
}

QString DescribeSetup(const SetupReport& report) {
  QString text;
  if (!report.ok) {
    text += "Quorvane was not set up: " + report.error + "\n";
    if (!report.written.isEmpty())
      text += "Written before it stopped (run it again once the cause is fixed): " + report.written.join(", ") + "\n";
    return text;
  }
  text += "Quorvane is set up in " + Native(report.installDir) + "\n";
  text += report.written.isEmpty() ? QStringLiteral("Nothing needed to be written.\n")
                                   : QString("Laid out %1 files.\n").arg(report.written.size());
  for (const QString& kept : report.kept) text += "Kept " + kept + ".\n";
  if (report.written.contains(data::kSettingsFileName)) {
    text += report.simulatorConfig.isEmpty()
                ? QStringLiteral(
                      "The simulator's configuration (fsx.cfg) was not found; Quorvane asks for it at its "
                      "first start.\n")
                : "The simulator's configuration: " + Native(report.simulatorConfig) + "\n";
  }
  text += "Start it with: " + Native(report.installDir + "/quorvane") + "\n";
  return text;
}

}  // namespace qv::app
