#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace qv::shell {
struct AppState;
struct Context;
}  // namespace qv::shell

namespace qv::checklists {

// The kneeboard checklist page of an aircraft is replaced by one built from
// its assigned checklist and the complete sentence script. The page that was
// there before is kept beside it as "<page in lower case>.qvb" until it is
// put back.
//
// Nothing the simulator had is ever lost: the backup is complete before the
// page is touched, a new page replaces the old one only once it is fully
// written, and a backup is removed only after the page has been put back.
// A step that fails leaves the aircraft folder as it was and is reported.
// Nothing is written outside the aircraft's folder: a page or backup that
// leads out of it (a "kb_checklists" value with "..", an absolute path, a
// link) is refused for that aircraft and the others go on.

// The backup of a page: in the page's own folder, the page's file name
// lower-cased with every ".htm" (any case) replaced by ".qvb". The folder is
// kept as it is: two aircraft folders may differ only in letter case.
QString BackupPathOf(const QString& pagePath);

// The backup file of a page on this machine: BackupPathOf, an existing
// backup in the page's folder found without regard to letter case.
QString BackupFileOf(const QString& pagePath);

// Each returns 0, or 1 after reporting what failed (the page on disk is then
// as it was). Neither changes the `written` flags; the callers do, with
// SetWrittenForSharedPage. Both store the recomputed "checklistBackups"
// setting as it stands once the caller has updated the flags.
int WriteAircraftChecklist(shell::Context& ctx, int m, int t, int v);
int RestoreAircraftChecklist(shell::Context& ctx, int m, int t, int v);

// Sets `written` of every variation of type t whose page is that of
// variation v (trimmed, compared without regard to case), v included.
void SetWrittenForSharedPage(shell::AppState& state, int m, int t, int v, int16_t value);

// Writes the page of every aircraft that has a checklist and no written page
// yet, flags the aircraft sharing each page, saves the settings value and the
// assignments and says so. Returns 1 when some page could not be written.
int UpdateAllChecklists(shell::Context& ctx);

// Puts every written page back, saves, says so and runs Shutdown. Returns 1
// when some page could not be restored (it stays flagged as written).
int RestoreAllChecklists(shell::Context& ctx);

// After a restore, what keeps the simulator's aircraft folders from being as
// they were before the first page was written: one line per aircraft whose
// original page still waits in its backup. A page this program generated where the aircraft had none (no
// backup beside it) is removed, as nothing of the simulator's is lost with it.
QStringList PagesLeftBehind(shell::AppState& state);

// The follow-up of the first-use prompt's OK (tag "checklist_backup").
void RunChecklistBackup(shell::Context& ctx);

// After the scan: sets the written flags to what the aircraft folders hold,
// so that a run ended in the middle of an update or a restore is put right.
// An aircraft's page counts as written when it is one this program generated
// or a backup waits beside it to be put back; a backup that equals the page
// (left by a run ended halfway) is removed as a spare copy.
void RepairWrittenFlags(shell::AppState& state);

// The page text from the open checklist and the kneeboard script, and the
// page file written from it (replacing the file at `pagePath` only once
// complete). WriteKneeboardPage returns 0, or 1 with `error` set.
QString KneeboardPageText(shell::Context& ctx, const QString& checklistName);
int WriteKneeboardPage(shell::Context& ctx, const QString& pagePath, const QString& checklistName,
                       QString* error = nullptr);

// Fills AppState::kneeboardScript, one block per command category, and sets
// kneeboardScriptBuilt. A phrase that fails the check stops it early (the
// expansion has reported it): the blocks completed so far stay and the flag
// keeps its value, so the next page builds the script again.
void BuildKneeboardScript(shell::Context& ctx);

}  // namespace qv::checklists
