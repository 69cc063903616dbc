#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace qv::shell {
struct Context;
class Dialogs;
struct AppState;
}  // namespace qv::shell

namespace qv::data {

// One value list of the grammar (a speed, an altitude ...), section "List.N".
struct SettingsList {
  QString name;         // as written in readback texts
  QString description;  // kept, shown nowhere
  QString ttsExample;   // spoken in place of the name when a readback is previewed
};

// One spoken answer to a checklist challenge, section "checklistResponse.N".
struct ChecklistResponse {
  QString response;
  int32_t functionNumber = 0;
};

// The settings file QV_Information.cfg, as start-up loads it.
struct SettingsState {
  int16_t copilotVoice = 0;
  QString micSwitch;
  int16_t numLists = 0;
  int16_t numChecklistResponse = 0;
  int16_t compileNavaids = 0;
  int16_t checklistBackups = 0;
  QString PathFSXConfig;
  std::vector<SettingsList> lists;
  std::vector<ChecklistResponse> checklistResponses;
};

inline const QString kSettingsFileName = QStringLiteral("QV_Information.cfg");
inline const QString kMainSection = QStringLiteral("Main");

QString SettingsFilePath(const QString& installDir);

// Reads the whole settings file, then finds the simulator's configuration
// file. On failure it has shown its dialog and run Shutdown; returns 1.
int LoadSettings(shell::Context& ctx);

// Each writes one key of section "Main"; a missing settings file is reported
// and the key written all the same (which creates the file).
void SaveCopilotVoice(const shell::AppState& state, shell::Dialogs& dialogs);
void SaveMicrophone(const shell::AppState& state, shell::Dialogs& dialogs);
void SavePathFSXConfig(const shell::AppState& state);
// `anyWritten` is whether any assignment has its kneeboard-written flag set;
// the value stored is 1 or 0, never -1. Also updates the state.
void SaveChecklistBackups(shell::AppState& state, shell::Dialogs& dialogs, bool anyWritten);

}  // namespace qv::data
