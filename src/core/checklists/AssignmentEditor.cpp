#include "core/checklists/AssignmentEditor.h"

#include "base/FixedText.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/data/ChecklistStore.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Launch.h"
#include "data/ChecklistFiles.h"

namespace qv::checklists {

AssignmentEditor::AssignmentEditor(shell::Context& ctx, shell::Launcher& launcher) : m_ctx(ctx), m_launcher(launcher) {}

void AssignmentEditor::PickAircraft(const std::array<int16_t, 3>& node) {
  m_selected = node;
  ClearChecklistPick();
}

void AssignmentEditor::ClearChecklistPick() { m_canAssign = false; }

void AssignmentEditor::PickChecklist(int entry) {
  m_entry = entry;
  m_canAssign = isAircraft() && entry >= kRestoreDefault && entry < m_ctx.state.checklistNames.size();
}

bool AssignmentEditor::isAircraft() const {
  const auto& makers = m_ctx.state.catalogue.manufacturers;
  const auto [m, t, v] = m_selected;
  return m >= 0 && t >= 0 && v >= 0 && m < int(makers.size()) && t < int(makers[m].types.size()) &&
         v < int(makers[m].types[t].variations.size());
}

const AircraftVariation* AssignmentEditor::variation() const {
  if (!isAircraft()) return nullptr;
  const auto [m, t, v] = m_selected;
  return &m_ctx.state.catalogue.manufacturers[m].types[t].variations[v];
}

data::ChecklistAssignment* AssignmentEditor::assignment() const {
  const AircraftVariation* var = variation();
  auto& assignments = m_ctx.state.assignments;
  if (!var || var->assignmentIndex < 0 || var->assignmentIndex >= int(assignments.size())) return nullptr;
  return &assignments[var->assignmentIndex];
}

QString AssignmentEditor::assignedChecklist() const {
  const data::ChecklistAssignment* a = assignment();
  return a ? a->checklistName.trimmed() : QString();
}

int AssignmentEditor::assignedEntry() const {
  const QString assigned = assignedChecklist();
  const QStringList& names = m_ctx.state.checklistNames;
  for (int i = 0; i < names.size() && !assigned.isEmpty(); ++i)
    if (names[i].trimmed().compare(assigned, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

bool AssignmentEditor::Assign(bool writePage) {
  data::ChecklistAssignment* a = assignment();
  if (!m_canAssign || !a) return false;
  const auto [m, t, v] = m_selected;
  if (m_entry != kRestoreDefault) {
    a->checklistName = base::Fixed(m_ctx.state.checklistNames[m_entry].trimmed(), data::kAssignmentNameWidth);
    if (writePage && WriteAircraftChecklist(m_ctx, m, t, v) == 0) SetWrittenForSharedPage(m_ctx.state, m, t, v, 1);
  } else {
    a->checklistName = base::Fixed(QString(), data::kAssignmentNameWidth);
    // A page that could not be put back stays written, so that the restore
    // can find it later; the failure has been reported.
    if (RestoreAircraftChecklist(m_ctx, m, t, v) == 0) SetWrittenForSharedPage(m_ctx.state, m, t, v, 0);
  }
  return true;
}

int AssignmentEditor::Save() {
  // A failed write has been reported by the saver; the changes stay to save again.
  if (data::SaveAssignments(m_ctx.state, m_ctx.dialogs) != 0) return 1;
  const QString title = "Checklist Assignments Saved";
  if (m_launcher.BothRunning())
    m_ctx.dialogs.ShowMessage(
        title,
        shell::JoinLines({"The checklist assignments have been saved.  In order to use these changes in FSX, the "
                          "Speech Recognition engine needs to be restarted.",
                          "Press OK to restart, Cancel to continue without restarting."}),
        shell::kIconInformation, true, true, "cassign_restart");
  else
    m_ctx.dialogs.ShowMessage(
        title, shell::JoinLines({"The checklist assignments have been saved.", "Please press OK to continue..."}),
        shell::kIconInformation, true, false, "");
  return 0;
}

}  // namespace qv::checklists
