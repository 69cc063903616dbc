#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/cli/CliSupport.h"
#include "core/data/SettingsStore.h"
#include "data/Settings.h"

namespace qv::cli {
namespace {

QJsonObject SettingsJson(const data::SettingsState& s) {
  QJsonArray lists;
  for (const auto& l : s.lists)
    lists.append(QJsonObject{{"name", l.name}, {"description", l.description}, {"ttsExample", l.ttsExample}});
  QJsonArray responses;
  for (const auto& r : s.checklistResponses)
    responses.append(QJsonObject{{"response", r.response}, {"functionNumber", r.functionNumber}});
  return QJsonObject{{"copilotVoice", s.copilotVoice},
                     {"microphone", s.micSwitch},
                     {"numLists", s.numLists},
                     {"numChecklistResponse", s.numChecklistResponse},
                     {"compileNavaids", s.compileNavaids},
                     {"checklistBackups", s.checklistBackups},
                     {"PathFSXConfig", s.PathFSXConfig},
                     {"lists", lists},
                     {"checklistResponses", responses}};
}

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli settings INSTALL_DIR\n");
    return 2;
  }
  Session session(args[0]);
  if (data::LoadSettings(session.ctx) != 0) return 1;
  PrintOut(QString::fromUtf8(QJsonDocument(SettingsJson(session.state.settings)).toJson(QJsonDocument::Indented)));
  return 0;
}

const Registrar reg({"settings", "settings INSTALL_DIR", "print the installation's settings as JSON", Run});

}  // namespace
}  // namespace qv::cli
