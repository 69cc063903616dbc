#include "core/data/SettingsStore.h"

#include <QFileInfo>

#include "core/data/SimulatorConfig.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/IniFile.h"

namespace qv::data {
namespace {

const QString kNotFound = QStringLiteral("Your QV_Information.cfg file has not been found.");

// `reason` is the reader's own account (a file too large or unreadable), when it has one.
void FailLoad(shell::Context& ctx, const QString& firstLine, const QString& reason = {}) {
  QStringList lines{firstLine};
  if (!reason.isEmpty()) lines << reason;
  lines << "Quorvane will not be able to load."
        << "Press OK to Exit.";
  ctx.dialogs.ShowMessage("Quorvane Fatal Error", shell::JoinLines(lines), shell::kIconError, true, false, "");
  ctx.shutdown.Shutdown();
}

void WriteMainKey(const shell::AppState& state, shell::Dialogs& dialogs, const QString& key, const QString& value,
                  const QString& missingMessage) {
  const QString path = SettingsFilePath(state.installDir);
  if (!QFileInfo::exists(path))
    dialogs.ShowMessage("Quorvane Error", missingMessage, shell::kIconError, true, false, "");
  WriteIniString(kMainSection, key, value, path);
}

}  // namespace

int LoadSettings(shell::Context& ctx) {
  ctx.status.SetStatus("Loading Settings, standby...");
  const QString path = SettingsFilePath(ctx.state.installDir);
  if (!QFileInfo(path).isFile()) {
    FailLoad(ctx, kNotFound);
    return 1;
  }
  const IniFile ini = IniFile::Load(path);
  if (!ini.exists() || !ParseSettings(ini, ctx.state.settings)) {
    FailLoad(ctx, "There was an error in your QV_Information.cfg file.", ini.error());
    return 1;
  }
  ctx.state.settingsLoaded = true;
  return DiscoverSimulatorConfig(ctx);
}

void SaveCopilotVoice(const shell::AppState& state, shell::Dialogs& dialogs) {
  WriteMainKey(state, dialogs, "copilotVoice", QString::number(state.settings.copilotVoice),
               shell::JoinLines({kNotFound, "Quorvane will not be able to save your copilot setting.",
                                 "Please press OK to continue..."}));
}

void SaveMicrophone(const shell::AppState& state, shell::Dialogs& dialogs) {
  WriteMainKey(state, dialogs, "microphone", state.settings.micSwitch,
               shell::JoinLines({kNotFound, "Quorvane will not be able to save your microphone switch setting.",
                                 "Please press OK to continue..."}));
}

void SavePathFSXConfig(const shell::AppState& state) {
  WriteIniString(kMainSection, "PathFSXConfig", state.settings.PathFSXConfig, SettingsFilePath(state.installDir));
}

void SaveChecklistBackups(shell::AppState& state, shell::Dialogs& dialogs, bool anyWritten) {
  state.settings.checklistBackups = anyWritten ? 1 : 0;
  WriteMainKey(state, dialogs, "checklistBackups", anyWritten ? "1" : "0",
               shell::JoinLines({kNotFound, "Please press OK to continue..."}));
}

}  // namespace qv::data
