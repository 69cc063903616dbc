#include "data/ChecklistFiles.h"

#include <QByteArray>

#include "data/BinaryIo.h"
#include "data/FixedText.h"
#include "shell/AppState.h"
#include "shell/Context.h"
#include "shell/Dialogs.h"
#include "shell/FileUtil.h"
#include "shell/Shutdown.h"
#include "shell/StatusSink.h"

namespace qv::data {
namespace {

constexpr int kAssignmentRecordSize = kAssignmentTitleWidth + kAssignmentNameWidth + 2;

void ShowWriteError(shell::Dialogs& dialogs, const QString& fileName) {
  dialogs.ShowMessage("Quorvane Error",
                      shell::JoinLines({"There was an error in writing out the " + fileName + " file.",
                                        "Please contact Veltrane Support", "Please press OK to continue..."}),
                      shell::kIconWarning, true, false, "");
}

}  // namespace

QString AssignmentsFilePath(const QString& installDir) { return installDir + "/Data/" + kAssignmentsFileName; }

bool ParseAssignments(const QByteArray& bytes, std::vector<ChecklistAssignment>& out) {
  BinaryReader in(bytes);
  const int last = in.ReadInt16();
  if (in.failed() || last < -1) return false;
  const qint64 count = last + 1;
  if (in.remaining() != count * kAssignmentRecordSize) return false;
  std::vector<ChecklistAssignment> list(static_cast<size_t>(count));
  for (auto& a : list) {
    a.aircraftTitle = in.ReadFixed(kAssignmentTitleWidth);
    a.checklistName = in.ReadFixed(kAssignmentNameWidth);
    a.written = in.ReadInt16();
  }
  if (in.failed() || !in.atEnd()) return false;
  out = std::move(list);
  return true;
}

QByteArray SerializeAssignments(const std::vector<ChecklistAssignment>& list, bool* lossy) {
  BinaryWriter w;
  w.WriteInt16(static_cast<int16_t>(static_cast<int>(list.size()) - 1));
  for (const auto& a : list) {
    w.WriteFixed(a.aircraftTitle, kAssignmentTitleWidth);
    w.WriteFixed(a.checklistName, kAssignmentNameWidth);
    w.WriteInt16(a.written);
  }
  if (lossy) *lossy = w.lossy();
  return w.bytes();
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
  if (!shell::KeepBackup(path, state.installDir + "/Data/" + kAssignmentsBackupName) ||
      !shell::WriteFileAtomic(path, SerializeAssignments(state.assignments))) {
    ShowWriteError(dialogs, kAssignmentsFileName);
    return 1;
  }
  return 0;
}

}  // namespace qv::data
