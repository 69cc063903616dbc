#include "app/cli/InstallationTables.h"

#include "core/shell/Startup.h"

namespace qv::cli {

int LoadCommandTables(Session& session) {
  shell::StartupSteps steps = shell::DefaultStartupSteps(session.ctx);
  for (const auto* loader :
       {&steps.loadSettings, &steps.loadCommandList, &steps.loadIls, &steps.loadNavaids, &steps.buildCategories}) {
    if (!*loader) {
      PrintErr("This build cannot load the installation's command tables yet.\n");
      return 1;
    }
    if ((*loader)() != 0 || session.shutdown.HasShutDown()) return 1;
  }
  return 0;
}

int ParseIndex(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  return ok && value >= 0 ? value : -1;
}

}  // namespace qv::cli
