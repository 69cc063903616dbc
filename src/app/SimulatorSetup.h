#pragma once

#include <QString>
#include <QStringList>

namespace qv::app {

// Puts an installation into a simulator folder from what the package
// installed: SIM_DIR/Veltrane Software/Quorvane with the two programs, the
// skin, the help pages, the default data and a settings file pointing at the
// simulator's configuration.
//
// The programs are copied, not linked: the program takes the folder it runs
// from as its installation, and a link would run it from the package's
// folder; a copy also works on a Windows partition that holds no links, and
// keeps the installation whole when the simulator folder is moved.

// Where the package put its files, relative to the running program first
// (so that a package unpacked anywhere works), else where it was built for.
struct SetupSources {
  QString programsDir;  // holds quorvane and quorvane-cli
  QString defaultsDir;  // holds QV_Information.cfg, Data/, Checklists/, Media/, Help/
};
SetupSources InstalledSources(const QString& programDir);

// The installation folder below a simulator folder.
QString InstallationFolderIn(const QString& simDir);

// Whether `dir` is a simulator folder: it holds "fsx.exe" in any letter
// case. Empty when it is, else what is wrong, in words for the user.
QString SimulatorFolderProblem(const QString& simDir);

struct SetupReport {
  bool ok = false;
  QString installDir;
  QString simulatorConfig;  // the configuration file found, empty when none was
  QStringList written;      // what was laid out, relative to the installation
  QStringList kept;         // what was left as it was, in words
  QString error;            // why it stopped (files written before stay)
};

// Lays out (or completes) the installation. Nothing the pilot keeps there is
// replaced: the command list, the navaid lists, the checklists, the
// assignments and the settings stay when present; `upgrade` replaces the
// programs, the skin and the help pages, which a plain run keeps as well.
// Takes the installation's lock; refuses while the program or a command
// works on it.
SetupReport SetUpSimulator(const QString& simDir, const SetupSources& sources, bool upgrade);

// The report as lines for the user.
QString DescribeSetup(const SetupReport& report);

}  // namespace qv::app
