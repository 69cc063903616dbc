#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "data/ChecklistFiles.h"

namespace qv::grammar {
class SpeechFacade;
}
namespace qv::shell {
struct Context;
class Launcher;
}  // namespace qv::shell

namespace qv::checklists {

inline constexpr int kStepsPerPage = 20;
inline constexpr int kMaxSteps = 100;  // five pages

// The 12 section titles as the editor shows them, in file order.
const QStringList& SectionTitles();

// The reason a checklist name cannot be a file in the Checklists folder, or
// empty when it can (on Windows as well as here).
QString ChecklistFileNameProblem(const QString& name);

enum class StepField { Challenge, Pronunciation, Response };

// A row of the step list: challenge and response trimmed and upper-cased.
struct StepRow {
  QString challenge;
  QString response;
};

// The editor for spoken checklists, without widgets: the open checklist
// (AppState::openChecklist), the shown section, its pages of 20 steps, the
// current step and the responses chosen for it, and whether anything was
// edited since the last save.
//
// The screen is a view of this state: after each operation it draws the
// page, the current step and the responses from the getters below, and the
// row it highlights is always the current step, however the user moved
// there (mouse, arrows, Home/End, typing a name). Text edits are stored into
// the current step at once; the chosen responses only when the step is
// committed, which happens on leaving a modified step, on inserting below it
// and on saving. Every change of the checklist counts as an edit (inserts
// and deletes too), so that the save button offers it. The editor talks to
// the user only through the dialogs of the context (refusals, failures, the
// save confirmation).
class ChecklistEditor final : public QObject {
  Q_OBJECT

 public:
  ChecklistEditor(shell::Context& ctx, shell::Launcher& launcher, grammar::SpeechFacade& speech);

  // --- what the screen shows ---
  bool isOpen() const { return !m_openName.isEmpty(); }
  const QString& openName() const { return m_openName; }
  int section() const { return m_section; }
  int currentStep() const { return m_step; }
  int page() const { return m_page; }
  int lastPage() const;
  bool modified() const { return m_modified; }
  bool sectionEmpty() const;
  int stepCount() const;
  // The current step, or nullptr when the section has none at that index.
  const data::ChecklistItem* currentItem() const;
  // The rows of the shown page, and the row of the current step on it (-1
  // when it lies on another page).
  QList<StepRow> PageRows() const;
  int currentRow() const;
  bool hasNextPage() const { return m_page < lastPage(); }
  bool hasPreviousPage() const { return m_page >= 1; }
  QString PageNumberText() const;  // "Page 1 of 2"
  // The accepted spoken responses to choose from (the settings' checklist
  // responses, trimmed) and which of them the current step has chosen.
  QStringList ResponseChoices() const;
  const QList<bool>& chosenResponses() const { return m_chosen; }

  // --- operations ---
  // The empty state of entering from the home screen: nothing open.
  void Reset();
  // "new": asks for the name (input tag "new_checklist"). NewChecklist is
  // that input's OK: a usable name opens an empty checklist (nothing is
  // written until the save); a name that cannot be a file is refused with a
  // message. True when a checklist was opened.
  void AskNewName();
  bool NewChecklist(const QString& typed);
  // "load": the file-open dialog on the Checklists folder, then the file
  // read from that folder. True when a checklist was opened.
  bool AskLoad();
  bool Load(const QString& fileName);

  // Leaving a step: to another row of the page (the row highlighted), section or page.
  void ChooseStep(int row);
  void ChooseSection(int section);
  bool TurnPage(int delta);  // false when there is no such page
  void Insert();
  void Delete();

  // A text box of the current step changed. Returns nothing when there is
  // no step to edit (the box is to stay empty); else the text as kept: only
  // characters a checklist file can hold (the others are left out, with a
  // message). The trimmed text is stored, cut to its field.
  std::optional<QString> Edit(StepField field, const QString& text);
  // The user changed the choice in the responses list (by mouse or by the
  // space bar): the choice of every entry. A change counts as an edit.
  void ChooseResponses(const QList<bool>& chosen);

  // Stores the chosen responses (after the fixed "Ignore" and "Skip") and
  // the trimmed texts into the current step. 0, or 1 when there is none.
  int CommitCurrentStep();
  // "play": the pronunciation in the copilot voice, when speech is ready.
  void Play();
  // "save": commits and writes the open checklist, says how it went (with
  // the restart question "cmod_restart" when the simulator and the runtime
  // run). 0 on success, which also clears the modified flag and lists a new
  // checklist among the checklist names (the assignment screen offers it).
  int Save();

 signals:
  // The modified flag was switched; the screen's save button follows it.
  void modifiedChanged(bool modified);

 private:
  std::vector<data::ChecklistItem>& Steps();
  const std::vector<data::ChecklistItem>& Steps() const;
  void Open(const QString& name);
  void LeaveStep();
  void CommitReported();
  int Write();
  void ShowStep();  // the chosen responses of the new current step
  void SetModified(bool on);

  shell::Context& m_ctx;
  shell::Launcher& m_launcher;
  grammar::SpeechFacade& m_speech;
  QString m_openName;
  QString m_saveError;  // why the last save failed, for its message
  int m_section = 0;
  int m_step = 0;
  int m_page = 0;
  bool m_modified = false;
  QList<bool> m_chosen;
};

}  // namespace qv::checklists
