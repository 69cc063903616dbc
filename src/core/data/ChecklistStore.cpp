#include "core/data/ChecklistStore.h"

#include <QDir>

#include "base/FileUtil.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/BinaryIo.h"

namespace qv::data {

namespace {

void ShowWriteError(shell::Dialogs& dialogs, const QString& fileName) {
  dialogs.ShowMessage("Quorvane Error",
                      shell::JoinLines({"There was an error in writing out the " + fileName + " file.",
                                        "Please contact Veltrane Support", "Please press OK to continue..."}),
                      shell::kIconWarning, true, false, "");
}

}  // namespace

int ListChecklistNames(shell::Context& ctx) {
  ctx.status.SetStatus("Loading Checklist Files, standby...");
  QDir dir(ctx.state.installDir + "/" + kChecklistsFolder);
  dir.setNameFilters({"*.dat"});  // matched without regard to case
  QStringList names;
  for (const QString& file : dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
    names << ChecklistNameOf(file);
  ctx.state.checklistNames = names;
  return 0;
}

int LoadChecklistFile(shell::AppState& state, const QString& fileName) {
  QByteArray bytes;
  ChecklistFile file;
  if (!ReadWholeFile(state.installDir + "/" + kChecklistsFolder + "/" + fileName.trimmed(), bytes) ||
      !ParseChecklist(bytes, file))
    return 1;
  QString name = fileName.trimmed();
  if (name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive)) name.chop(4);
  file.name = name;
  state.openChecklist = std::move(file);
  return 0;
}

int SaveChecklistFile(const shell::AppState& state) {
  const QString name = state.openChecklist.name.trimmed();
  if (name.isEmpty()) return 1;
  QByteArray bytes;
  if (!SerializeChecklist(state.openChecklist, bytes)) return 1;
  QDir().mkpath(state.installDir + "/" + kChecklistsFolder);
  return base::WriteFileAtomic(state.installDir + "/" + kChecklistsFolder + "/" + name + ".dat", bytes) ? 0 : 1;
}

int LoadAssignments(shell::Context& ctx) {
  ctx.status.SetStatus("Loading Checklist Assignments, standby...");
  QByteArray bytes;
  std::vector<ChecklistAssignment> list;
  if (!ReadWholeFile(AssignmentsFilePath(ctx.state.installDir), bytes) || !ParseAssignments(bytes, list)) {
    // Without the assignments the scan would rebuild them empty and a later
    // save would throw away every assignment the user made.
    ctx.dialogs.ShowMessage("Quorvane Fatal Error",
                            shell::JoinLines({"There was an error in your " + kAssignmentsFileName + " file.",
                                              "Quorvane will not be able to load.", "Press OK to Exit."}),
                            shell::kIconError, true, false, "");
    ctx.shutdown.Shutdown();
    return 1;
  }
  ctx.state.assignments = std::move(list);
  return 0;
}

int SaveAssignments(const shell::AppState& state, shell::Dialogs& dialogs) {
  if (state.assignments.size() > 32768) {
    ShowWriteError(dialogs, kAssignmentsFileName);
    return 1;
  }
  const QString path = AssignmentsFilePath(state.installDir);
  if (!base::KeepBackup(path, state.installDir + "/Data/" + kAssignmentsBackupName) ||
      !base::WriteFileAtomic(path, SerializeAssignments(state.assignments))) {
    ShowWriteError(dialogs, kAssignmentsFileName);
    return 1;
  }
  return 0;
}

}  // namespace qv::data
