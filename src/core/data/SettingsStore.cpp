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

// Writes one key; a failure is reported naming what was not saved and why.
int WriteMainKey(const shell::AppState& state, shell::Dialogs& dialogs, const QString& key, const QString& value,
                 const QString& missingMessage, const QString& what) {
  const QString path = SettingsFilePath(state.installDir);
  if (!QFileInfo::exists(path))
    dialogs.ShowMessage("Quorvane Error", missingMessage, shell::kIconError, true, false, "");
  const base::FileResult written = WriteIniString(kMainSection, key, value, path);
  if (written) return 0;
  dialogs.ShowMessage("Quorvane Error",
                      shell::JoinLines({"Quorvane could not save " + what + " in the " + kSettingsFileName + " file.",
                                        written.error(), "Please press OK to continue..."}),
                      shell::kIconError, true, false, "");
  return 1;
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

int SaveCopilotVoice(const shell::AppState& state, shell::Dialogs& dialogs) {
  return WriteMainKey(state, dialogs, "copilotVoice", QString::number(state.settings.copilotVoice),
                      shell::JoinLines({kNotFound, "Quorvane will not be able to save your copilot setting.",
                                        "Please press OK to continue..."}),
                      "your copilot setting");
}

int SaveMicrophone(const shell::AppState& state, shell::Dialogs& dialogs) {
  return WriteMainKey(state, dialogs, "microphone", state.settings.micSwitch,
                      shell::JoinLines({kNotFound, "Quorvane will not be able to save your microphone switch setting.",
                                        "Please press OK to continue..."}),
                      "your microphone switch setting");
}

int SavePathFSXConfig(const shell::AppState& state) {
  // Found again at the next start when it cannot be stored now.
  return WriteIniString(kMainSection, "PathFSXConfig", state.settings.PathFSXConfig, SettingsFilePath(state.installDir))
             ? 0
             : 1;
}

int SaveChecklistBackups(shell::AppState& state, shell::Dialogs& dialogs, bool anyWritten) {
  state.settings.checklistBackups = anyWritten ? 1 : 0;
  return WriteMainKey(state, dialogs, "checklistBackups", anyWritten ? "1" : "0",
                      shell::JoinLines({kNotFound, "Please press OK to continue..."}),
                      "the state of the kneeboard checklist backups");
}

}  // namespace qv::data
