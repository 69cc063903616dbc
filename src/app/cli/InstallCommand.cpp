// Setting up an installation in a simulator folder and taking it out again.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/SimulatorSetup.h"
#include "app/cli/CliSupport.h"
#include "core/checklists/AircraftScan.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/data/ChecklistStore.h"
#include "core/data/SettingsStore.h"
#include "core/data/SimulatorConfig.h"

namespace qv::cli {
namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

int Install(const QStringList& args) {
  QStringList rest = args;
  const bool upgrade = rest.removeAll(QStringLiteral("--upgrade")) > 0;
  if (rest.size() != 1 || rest[0].startsWith(u'-')) {
    PrintErr("Usage: quorvane-cli install [--upgrade] SIM_DIR\n");
    return 2;
  }
  const app::SetupReport report =
      app::SetUpSimulator(rest[0], app::InstalledSources(QCoreApplication::applicationDirPath()), upgrade);
  const QString text = app::DescribeSetup(report);
  report.ok ? PrintOut(text) : PrintErr(text);
  return report.ok ? 0 : 1;
}

// The installation is removed only once the simulator's aircraft folders are
// as they were: every original kneeboard page back in place.
int Uninstall(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli uninstall SIM_DIR\n");
    return 2;
  }
  if (const QString problem = app::SimulatorFolderProblem(args[0]); !problem.isEmpty()) {
    PrintErr(problem + "\n");
    return 1;
  }
  const QString installDir = app::InstallationFolderIn(args[0]);
  if (!QFileInfo(installDir).isDir()) {
    PrintOut("Quorvane is not installed in " + Native(args[0]) + "; nothing to remove.\n");
    return 0;
  }
  // The lock is held until the folder is gone.
  Session s(installDir);
  if (!LockInstallation(s)) return 1;
  if (data::LoadSettings(s.ctx) != 0 || data::LoadSimObjectPaths(s.ctx) != 0 || data::LoadAssignments(s.ctx) != 0) {
    PrintErr(
        "The kneeboard pages cannot be put back without the installation's settings and assignments; "
        "nothing has been removed.\n");
    return 1;
  }
  checklists::ScanSimulatorAircraft(s.ctx);
  checklists::RepairWrittenFlags(s.state);
  // What the aircraft folders hold decides, not the restore's status: a
  // settings file that could not be saved is about to go anyway.
  static_cast<void>(checklists::RestoreAllChecklists(s.ctx));
  const QStringList left = checklists::PagesLeftBehind(s.state);
  if (!left.isEmpty()) {
    PrintErr("Quorvane was not removed: these original kneeboard pages are not back yet.\n  " + left.join("\n  ") +
             "\nFix what is named and run uninstall again.\n");
    return 1;
  }
  if (!QDir(installDir).removeRecursively()) {
    PrintErr("Every kneeboard page is back, but " + Native(installDir) +
             " could not be removed completely; remove what is left by hand.\n");
    return 1;
  }
  // The maker's folder goes too when nothing else lives in it.
  QDir().rmdir(QFileInfo(installDir).path());
  PrintOut("Every original kneeboard page is back; removed " + Native(installDir) + "\n");
  return 0;
}

const Registrar install(
    {"install", "install [--upgrade] SIM_DIR",
     "set Quorvane up in the simulator folder (the one holding fsx.exe), copying the programs there; keeps "
     "your data; "
     "--upgrade replaces the programs, skin and help",
     Install});
const Registrar uninstall({"uninstall", "uninstall SIM_DIR",
                           "put every original kneeboard page back, then remove Quorvane from the simulator folder",
                           Uninstall});

}  // namespace
}  // namespace qv::cli
