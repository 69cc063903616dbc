#include "checklists/AircraftScan.h"
#include "data/Settings.h"
#include "data/SimulatorConfig.h"
#include "shell/Context.h"
#include "shell/ScreenTips.h"
#include "shell/Startup.h"

namespace qv::shell {

StartupSteps DefaultStartupSteps(Context& ctx) {
  StartupSteps s;
  s.loadSettings = [&ctx] { return data::LoadSettings(ctx); };
  s.loadSimObjectPaths = [&ctx] { return data::LoadSimObjectPaths(ctx); };
  s.scanAircraft = [&ctx] {
    checklists::ScanSimulatorAircraft(ctx);
    return 0;
  };
  s.loadScreenTips = [&ctx] {
    LoadScreenTips(ctx.state);
    return 0;
  };
  return s;
}

}  // namespace qv::shell
