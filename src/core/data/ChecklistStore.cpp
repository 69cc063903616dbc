#include "core/data/ChecklistStore.h"

#include <QDir>

#include "base/FileIo.h"
#include "base/PathGuard.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/BinaryIo.h"

namespace qv::data {

namespace {

void ShowWriteError(shell::Dialogs& dialogs, const QString& fileName, const QString& reason) {
  dialogs.ShowMessage("Quorvane Error",
                      shell::JoinLines({"There was an error in writing out the " + fileName + " file.", reason,
                                        "Please contact Veltrane Support", "Please press OK to continue..."}),
                      shell::kIconWarning, true, false, "");
}

QString ChecklistsDir(const shell::AppState& state) { return state.installDir + "/" + kChecklistsFolder; }

// The file of a checklist, or why the name cannot be one: names come from
// the assignments file and from users, and must not lead out of the folder.
QString ChecklistPath(const shell::AppState& state, const QString& fileName, QString* problem) {
  const QString path = ChecklistsDir(state) + "/" + fileName;
  if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\') || fileName == u"." ||
      fileName == u".." || !base::StaysInside(ChecklistsDir(state), path)) {
    *problem = "the checklist name \"" + fileName + "\" does not name a file in the " + kChecklistsFolder + " folder";
    return {};
  }
  return path;
}

int Fail(QString* error, const QString& text) {
  if (error) *error = text;
  return 1;
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

int LoadChecklistFile(shell::AppState& state, const QString& fileName, QString* error) {
  QString problem;
  const QString path = ChecklistPath(state, fileName.trimmed(), &problem);
  if (path.isEmpty()) return Fail(error, problem);
  QByteArray bytes;
  ChecklistFile file;
  if (const base::FileResult read = ReadWholeFile(path, bytes, kMaxChecklistFileSize); !read)
    return Fail(error, read.error());
  if (!ParseChecklist(bytes, file))
    return Fail(error, QDir::toNativeSeparators(path) + ": the file is damaged or cut short");
  QString name = fileName.trimmed();
  if (name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive)) name.chop(4);
  file.name = name;
  state.openChecklist = std::move(file);
  return 0;
}

int SaveChecklistFile(const shell::AppState& state, QString* error) {
  const QString name = state.openChecklist.name.trimmed();
  if (const QString problem = base::FileNameProblem(name, "A checklist name"); name.isEmpty() || !problem.isEmpty())
    return Fail(error, problem.isEmpty() ? QStringLiteral("The checklist has no name.") : problem);
  QByteArray bytes;
  if (!SerializeChecklist(state.openChecklist, bytes))
    return Fail(error, "The checklist has more steps or responses than its file can hold.");
  QDir().mkpath(ChecklistsDir(state));
  QString problem;
  const QString path = ChecklistPath(state, name + ".dat", &problem);
  if (path.isEmpty()) return Fail(error, problem);
  if (const base::FileResult written = base::WriteFileAtomic(path, bytes); !written)
    return Fail(error, written.error());
  return 0;
}

int LoadAssignments(shell::Context& ctx) {
  ctx.status.SetStatus("Loading Checklist Assignments, standby...");
  QByteArray bytes;
  std::vector<ChecklistAssignment> list;
  const QString path = AssignmentsFilePath(ctx.state.installDir);
  base::FileResult read = ReadWholeFile(path, bytes, kMaxAssignmentsFileSize);
  if (read && !ParseAssignments(bytes, list)) read = base::FileResult::Failed(path, "the file is damaged or cut short");
  if (!read) {
    // Without the assignments the scan would rebuild them empty and a later
    // save would throw away every assignment the user made.
    ctx.dialogs.ShowMessage("Quorvane Fatal Error",
                            shell::JoinLines({"There was an error in your " + kAssignmentsFileName + " file.",
                                              read.error(), "Quorvane will not be able to load.", "Press OK to Exit."}),
                            shell::kIconError, true, false, "");
    ctx.shutdown.Shutdown();
    return 1;
  }
  ctx.state.assignments = std::move(list);
  return 0;
}

int SaveAssignments(const shell::AppState& state, shell::Dialogs& dialogs) {
  const QString path = AssignmentsFilePath(state.installDir);
  const base::FileResult written =
      state.assignments.size() > 32768
          ? base::FileResult::Failed(path, "there are more aircraft than the file can hold")
          : base::WriteFileWithBackup(path, state.installDir + "/Data/" + kAssignmentsBackupName,
                                      SerializeAssignments(state.assignments));
  if (!written) {
    ShowWriteError(dialogs, kAssignmentsFileName, written.error());
    return 1;
  }
  return 0;
}

}  // namespace qv::data
