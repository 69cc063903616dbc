#include "core/data/SimulatorConfig.h"

#include <QFileInfo>
#include <algorithm>

#include "core/data/SettingsStore.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "platform/Platform.h"
#include "platform/SimInstallation.h"

namespace qv::data {
namespace {

bool Usable(const QString& path) {
  const QString p = path.trimmed();
  return !p.isEmpty() && p.toUpper() != kConfigNotFound && QFileInfo(p).isFile();
}

}  // namespace

QString FindSimulatorConfig(const platform::AppDataFolders& folders, bool useUserFolder) {
  const QString base = useUserFolder ? folders.UserAppData() : folders.CommonAppData();
  if (base.isEmpty()) return kConfigNotFound;
  // The folders may come from a case-sensitive file system (a Wine prefix).
  const QString path = platform::ResolveNoCase(base, "Microsoft\\FSX\\fsx.cfg");
  return QFileInfo(path).isFile() ? path : kConfigNotFound;
}

int DiscoverSimulatorConfig(shell::Context& ctx) {
  QString& path = ctx.state.settings.PathFSXConfig;
  if (!ctx.platform.osVersion->IsLegacyPlatform() && path.trimmed().isEmpty()) {
    for (bool user : {false, true}) {
      const QString found = FindSimulatorConfig(*ctx.platform.appData, user);
      if (found.trimmed().toUpper() != kConfigNotFound) {
        path = found;
        SavePathFSXConfig(ctx.state);
        return 0;
      }
    }
    path = kConfigNotFound;
  }
  if (Usable(path)) {
    SavePathFSXConfig(ctx.state);
    return 0;
  }
  ctx.dialogs.ShowMessage("FSX CFG File Not Found",
                          shell::JoinLines({"Quorvane is unable to find your FSX.cfg file.  This file should be in "
                                            "C:\\Documents and Settings\\*User Name*\\Application Data\\Microsoft\\FSX",
                                            "Please use the Dialog box to Browse to and select your FSX.cfg file"}),
                          shell::kIconWarning, true, false, "");
  const QString chosen =
      ctx.platform.fileDialogs->OpenFile("Select Your FSX.cfg File", "Configuration File |*.cfg", ctx.state.installDir);
  // The name after the last separator of either kind: a dialog may hand back
  // a Windows path.
  const QString chosenName = chosen.mid(std::max(chosen.lastIndexOf(u'/'), chosen.lastIndexOf(u'\\')) + 1);
  if (!chosen.trimmed().isEmpty() && chosenName.trimmed().toLower() == "fsx.cfg") {
    path = chosen;
    SavePathFSXConfig(ctx.state);
    return 0;
  }
  ctx.dialogs.ShowMessage("FSX CFG File Not Recognized",
                          shell::JoinLines({"Quorvane did not recognize the path to the FSX.cfg file and you "
                                            "will be unable to access Quorvane.",
                                            "Please press OK to EXIT..."}),
                          shell::kIconError, true, false, "");
  ctx.shutdown.Shutdown();
  return 1;
}

int LoadSimObjectPaths(shell::Context& ctx) {
  ctx.status.SetStatus("Loading FSX Configuration, standby...");
  const IniFile ini = IniFile::Load(ctx.state.settings.PathFSXConfig);
  if (!ini.exists()) {
    QStringList lines{"Quorvane encountered an error while attempting to read your FSX.cfg file."};
    if (!ini.error().isEmpty()) lines << ini.error();
    lines << "Quorvane must now shut down."
          << "Please press OK to continue...";
    ctx.dialogs.ShowMessage("FSX.cfg Read Error", shell::JoinLines(lines), shell::kIconError, true, false, "");
    ctx.shutdown.Shutdown();
    return 1;
  }
  QStringList paths;
  for (int i = 0; i < kMaxSimObjectPaths; ++i) {
    const QString v = CleanIniValue(ini.value("MAIN", "SimObjectPaths." + QString::number(i)));
    if (v.isEmpty()) break;
    paths << v;
  }
  ctx.state.simObjectPaths = paths;
  return 0;
}

}  // namespace qv::data
