#include "app/cli/CliSupport.h"
#include "core/checklists/AircraftScan.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/data/ChecklistStore.h"
#include "core/data/CommandListStore.h"
#include "core/data/SettingsStore.h"
#include "core/data/SimulatorConfig.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/Settings.h"

namespace qv::cli {
namespace {

// What start-up loads before the kneeboard pages can be written or restored.
// The restore, like the program's own restore mode, needs no command list.
bool Load(Session& s, bool withCommands) {
  if (data::LoadSettings(s.ctx) != 0 || data::LoadSimObjectPaths(s.ctx) != 0 || data::LoadAssignments(s.ctx) != 0)
    return false;
  checklists::ScanSimulatorAircraft(s.ctx);
  checklists::RepairWrittenFlags(s.state);
  if (!withCommands) return true;
  if (data::LoadCommandList(s.ctx) != 0) return false;
  s.state.categories = data::BuildCommandCategories(s.state.commands);
  return true;
}

int Run(const QStringList& args) {
  const bool update = args.size() == 2 && args[0] == QLatin1String("update");
  const bool restore = args.size() == 2 && args[0] == QLatin1String("restore");
  if (!update && !restore) {
    PrintErr("Usage: quorvane-cli kneeboards update|restore INSTALL_DIR\n");
    return 2;
  }
  Session session(args[1]);
  if (!LockInstallation(session) || !Load(session, update)) return 1;
  const int status =
      update ? checklists::UpdateAllChecklists(session.ctx) : checklists::RestoreAllChecklists(session.ctx);
  return status == 0 ? 0 : 1;
}

const Registrar reg({"kneeboards", "kneeboards update|restore INSTALL_DIR",
                     "write the kneeboard checklist pages of every assigned aircraft, or put the originals back", Run});

}  // namespace
}  // namespace qv::cli
