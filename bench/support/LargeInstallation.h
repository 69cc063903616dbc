#pragma once

#include <QString>
#include <QStringList>

namespace qv::bench {

// How big the synthetic installation is.
struct LargeInstallationSize {
  int aircraftFolders = 2000;  // flyable aircraft folders, split over two object folders
  int entriesPerFolder = 3;    // fltsim entries in each
  int vehicleFolders = 50;     // folders of an object folder whose entries have no flight model
  int navaids = 20000;         // lines of Nav_Info.txt
  int ilsApproaches = 20000;   // lines of ILS_Info.txt
  int commands = 500;          // commands of Data/CommandList.json
};

// Where things were written.
struct LargeInstallation {
  QString error;            // empty on success
  QString simDir;           // ROOT/FSX, with an fsx.exe stand-in
  QString installDir;       // ROOT/FSX/Veltrane Software/Quorvane
  QString fsxCfg;           // ROOT/AppData/Microsoft/FSX/fsx.cfg
  QStringList objectPaths;  // the SimObjectPaths values of fsx.cfg
  QStringList configFiles;  // every aircraft configuration file written
};

// Lays out a synthetic installation under `root`, shaped like the demo: the
// simulator folder with realistic aircraft configuration files (full-size
// flight-model sections, mixed letter case of file names, repaint packs that
// repeat an aircraft), the simulator configuration, and the installation
// folder with the demo settings, an empty assignments file, ILS_Info.txt and
// Nav_Info.txt, the delivered Generic Lists.bnf and the commands (the binary
// CommandList.dat and its readable Data/CommandList.json). The commands use
// the lists of Generic Lists.bnf, and "Radios" holds the navaid commands.
// Deterministic: the same sizes give the same bytes.
LargeInstallation MakeLargeInstallation(const QString& root, const LargeInstallationSize& size = {});

}  // namespace qv::bench
