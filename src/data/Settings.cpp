#include "data/Settings.h"

#include <QFileInfo>
#include <limits>

#include "data/IniFile.h"
#include "data/SimulatorConfig.h"
#include "shell/AppState.h"
#include "shell/Context.h"
#include "shell/Dialogs.h"
#include "shell/Shutdown.h"
#include "shell/StatusSink.h"

namespace qv::data {
namespace {

const QString kNotFound = QStringLiteral("Your QV_Information.cfg file has not been found.");

// Values land in 16-bit fields; one that does not fit is an error in the file.
bool ToInt16(int value, int16_t& out) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
    return false;
  out = static_cast<int16_t>(value);
  return true;
}

void FailLoad(shell::Context& ctx, const QString& firstLine) {
  ctx.dialogs.ShowMessage("Quorvane Fatal Error",
                          shell::JoinLines({firstLine, "Quorvane will not be able to load.", "Press OK to Exit."}),
                          shell::kIconError, true, false, "");
  ctx.shutdown.Shutdown();
}

void WriteMainKey(const shell::AppState& state, shell::Dialogs& dialogs, const QString& key,
                  const QString& value, const QString& missingMessage) {
  const QString path = SettingsFilePath(state.installDir);
  if (!QFileInfo::exists(path))
    dialogs.ShowMessage("Quorvane Error", missingMessage, shell::kIconError, true, false, "");
  WriteIniString(kMainSection, key, value, path);
}

}  // namespace

QString SettingsFilePath(const QString& installDir) { return installDir + "/" + kSettingsFileName; }

int LoadSettings(shell::Context& ctx) {
  ctx.status.SetStatus("Loading Settings, standby...");
  const QString path = SettingsFilePath(ctx.state.installDir);
  if (!QFileInfo(path).isFile()) {
    FailLoad(ctx, kNotFound);
    return 1;
  }
  const IniFile ini = IniFile::Load(path);
  if (!ini.exists()) {
    FailLoad(ctx, "There was an error in your QV_Information.cfg file.");
    return 1;
  }

  SettingsState s;
  bool ok = ToInt16(ini.intValue(kMainSection, "copilotVoice"), s.copilotVoice);
  s.micSwitch = CleanIniValue(ini.value(kMainSection, "microphone"));
  ok = ok && ToInt16(ini.intValue(kMainSection, "numLists"), s.numLists);
  ok = ok && ToInt16(ini.intValue(kMainSection, "numChecklistResponse"), s.numChecklistResponse);
  ok = ok && ToInt16(ini.intValue(kMainSection, "compileNavaids"), s.compileNavaids);
  ok = ok && ToInt16(ini.intValue(kMainSection, "checklistBackups"), s.checklistBackups);
  if (!ok) {
    FailLoad(ctx, "There was an error in your QV_Information.cfg file.");
    return 1;
  }
  for (int n = 0; n <= s.numLists; ++n) {
    const QString section = "List." + QString::number(n);
    s.lists.push_back({CleanIniValue(ini.value(section, "name")), CleanIniValue(ini.value(section, "description")),
                       CleanIniValue(ini.value(section, "ttsExample"))});
  }
  for (int n = 0; n <= s.numChecklistResponse; ++n) {
    const QString section = "checklistResponse." + QString::number(n);
    s.checklistResponses.push_back(
        {CleanIniValue(ini.value(section, "response")), ini.intValue(section, "functionNumber")});
  }
  s.PathFSXConfig = CleanIniValue(ini.value(kMainSection, "PathFSXConfig"));
  ctx.state.settings = std::move(s);
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
