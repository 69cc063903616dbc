#pragma once

#include <QString>
#include <cstdint>
#include <vector>

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

class IniFile;

// The values of a settings file. False when a number does not fit its 16-bit
// field: the file is then in error and `out` is left as it was.
bool ParseSettings(const IniFile& ini, SettingsState& out);

}  // namespace qv::data
