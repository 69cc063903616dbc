#include "data/Settings.h"

#include <limits>

#include "data/IniFile.h"

namespace qv::data {
namespace {

// Values land in 16-bit fields; one that does not fit is an error in the file.
bool ToInt16(int value, int16_t& out) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) return false;
  out = static_cast<int16_t>(value);
  return true;
}

}  // namespace

QString SettingsFilePath(const QString& installDir) { return installDir + "/" + kSettingsFileName; }

bool ParseSettings(const IniFile& ini, SettingsState& out) {
  SettingsState s;
  bool ok = ToInt16(ini.intValue(kMainSection, "copilotVoice"), s.copilotVoice);
  s.micSwitch = CleanIniValue(ini.value(kMainSection, "microphone"));
  ok = ok && ToInt16(ini.intValue(kMainSection, "numLists"), s.numLists);
  ok = ok && ToInt16(ini.intValue(kMainSection, "numChecklistResponse"), s.numChecklistResponse);
  ok = ok && ToInt16(ini.intValue(kMainSection, "compileNavaids"), s.compileNavaids);
  ok = ok && ToInt16(ini.intValue(kMainSection, "checklistBackups"), s.checklistBackups);
  if (!ok) return false;
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
  out = std::move(s);
  return true;
}

}  // namespace qv::data
