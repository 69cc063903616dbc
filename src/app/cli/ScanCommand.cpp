// scan INSTALL_DIR: the aircraft catalogue exactly as start-up builds it, one
// variation a line, so that an installation's scan can be checked and diffed
// without the GUI.
#include "app/cli/CliSupport.h"
#include "core/checklists/AircraftScan.h"
#include "core/data/ChecklistStore.h"
#include "core/data/SettingsStore.h"
#include "core/data/SimulatorConfig.h"
#include "data/ChecklistFiles.h"
#include "data/Settings.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli scan INSTALL_DIR\n");
    return 2;
  }
  Session session(args[0]);
  if (data::LoadSettings(session.ctx) != 0 || data::LoadSimObjectPaths(session.ctx) != 0 ||
      data::LoadAssignments(session.ctx) != 0)
    return 1;
  checklists::ScanSimulatorAircraft(session.ctx);

  const auto& manufacturers = session.state.catalogue.manufacturers;
  QString out;
  for (size_t m = 0; m < manufacturers.size(); ++m) {
    const auto& types = manufacturers[m].types;
    for (size_t t = 0; t < types.size(); ++t) {
      const auto& variations = types[t].variations;
      for (size_t v = 0; v < variations.size(); ++v) {
        const auto& a = variations[v];
        out += QStringList{QString::number(m),      QString::number(t),
                           QString::number(v),      manufacturers[m].name.trimmed(),
                           types[t].name.trimmed(), a.variation.trimmed(),
                           a.title.trimmed(),       QString::number(a.assignmentIndex),
                           a.textureFolder,         a.checklistPage}
                   .join(u'\t') +
               u'\n';
      }
    }
  }
  PrintOut(out);
  return 0;
}

const Registrar reg({"scan", "scan INSTALL_DIR", "print the simulator's aircraft as the program catalogues them", Run});

}  // namespace
}  // namespace qv::cli
