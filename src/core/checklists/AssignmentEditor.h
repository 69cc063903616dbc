#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace qv::data {
struct ChecklistAssignment;
}
namespace qv::shell {
struct Context;
class Launcher;
}  // namespace qv::shell

namespace qv::checklists {

struct AircraftVariation;

// The assignment screen without widgets: the aircraft picked in the
// catalogue tree, the entry picked in the checklist list, and what "assign"
// and "save" do with them (AppState::assignments, the kneeboard pages).
//
// A pick is the user's however it was made (a click, the arrows, Home/End,
// typing a name), and the assign button follows the picks: it is offered
// only once the user has picked a list entry since the last pick or click in
// the tree, and only while the tree's pick is an aircraft (a manufacturer or
// a type is not one). The entries of the list are "-- Restore Default --"
// (kRestoreDefault) and the checklist names, each by its index.
class AssignmentEditor {
 public:
  static constexpr int kRestoreDefault = -1;

  AssignmentEditor(shell::Context& ctx, shell::Launcher& launcher);

  // A node of the tree picked: its three indexes, -1 for the levels it lacks.
  void PickAircraft(const std::array<int16_t, 3>& node);
  // A click in the tree that picks nothing anew, or the list filled afresh:
  // a list entry must be picked (again) before the next assign.
  void ClearChecklistPick();
  void PickChecklist(int entry);
  bool canAssign() const { return m_canAssign; }

  std::array<int16_t, 3> selected() const { return m_selected; }
  bool isAircraft() const;
  const AircraftVariation* variation() const;  // nullptr unless an aircraft is picked
  // The picked aircraft's assigned checklist, trimmed, and the index of the
  // checklist name it matches (trimmed, without regard to case), or -1.
  QString assignedChecklist() const;
  int assignedEntry() const;

  // "assign": the picked entry to the picked aircraft, the kneeboard page
  // written (or, for "-- Restore Default --", put back) as asked. True when
  // the assignments changed and are to be saved.
  bool Assign(bool writePage);
  // "save": writes the assignments and says so, offering the runtime restart
  // ("cassign_restart") when the simulator and the runtime run. 0 on success.
  int Save();

 private:
  data::ChecklistAssignment* assignment() const;

  shell::Context& m_ctx;
  shell::Launcher& m_launcher;
  std::array<int16_t, 3> m_selected{-1, -1, -1};
  int m_entry = kRestoreDefault;
  bool m_canAssign = false;
};

}  // namespace qv::checklists
