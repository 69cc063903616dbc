#pragma once

#include "data/ChecklistFiles.h"

namespace qv::shell {
struct AppState;
struct Context;
class Dialogs;
}  // namespace qv::shell

namespace qv::data {

// Loading and saving checklists and the assignments for the running program.

// Start-up (normal mode): fills AppState::checklistNames from the ".dat"
// files of the Checklists folder, sorted by file name. Always returns 0.
int ListChecklistNames(shell::Context& ctx);

// Loads Checklists/<fileName> (trimmed, extension included) into
// AppState::openChecklist and names it after the file. Returns 1 and leaves
// the open checklist as it was when the file is missing or damaged, or when
// the name would lead out of the Checklists folder; `error` then says why,
// and the callers report it.
int LoadChecklistFile(shell::AppState& state, const QString& fileName, QString* error = nullptr);

// Writes the open checklist to Checklists/<name>.dat (no backup copy; the
// file is replaced only once the new one is complete). Returns 1 on failure,
// with the reason in `error`, which the callers report.
int SaveChecklistFile(const shell::AppState& state, QString* error = nullptr);

// Start-up: replaces the assignments with the file's contents. A missing or
// damaged file is fatal (dialog, Shutdown) and returns 1; the table is left
// as it was.
int LoadAssignments(shell::Context& ctx);

// Writes every assignment, keeping one ".bak" copy of the previous file.
// Returns 1 after the write-error dialog; the file on disk is then unchanged.
int SaveAssignments(const shell::AppState& state, shell::Dialogs& dialogs);

}  // namespace qv::data
