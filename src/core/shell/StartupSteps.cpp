#include "core/checklists/AircraftScan.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/data/ChecklistStore.h"
#include "core/data/CommandListStore.h"
#include "core/data/NavaidStore.h"
#include "core/data/SettingsStore.h"
#include "core/data/SimulatorConfig.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/ScreenTips.h"
#include "core/shell/Startup.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/NavaidLists.h"
#include "data/Settings.h"

namespace qv::shell {

StartupSteps DefaultStartupSteps(Context& ctx) {
  StartupSteps s;
  s.loadSettings = [&ctx] { return data::LoadSettings(ctx); };
  s.loadSimObjectPaths = [&ctx] { return data::LoadSimObjectPaths(ctx); };
  s.loadAssignments = [&ctx] { return data::LoadAssignments(ctx); };
  s.scanAircraft = [&ctx] {
    checklists::ScanSimulatorAircraft(ctx);
    checklists::RepairWrittenFlags(ctx.state);
    return 0;
  };
  s.listChecklists = [&ctx] { return data::ListChecklistNames(ctx); };
  s.loadScreenTips = [&ctx] {
    LoadScreenTips(ctx.state);
    return 0;
  };
  s.loadCommandList = [&ctx] { return data::LoadCommandList(ctx); };
  s.loadIls = [&ctx] { return data::LoadIlsList(ctx); };
  s.loadNavaids = [&ctx] { return data::LoadNavaidList(ctx); };
  s.buildCategories = [&ctx] {
    ctx.state.categories = data::BuildCommandCategories(ctx.state.commands);
    return 0;
  };
  s.restoreAll = [&ctx] { checklists::RestoreAllChecklists(ctx); };
  return s;
}

}  // namespace qv::shell
