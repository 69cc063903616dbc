#include "core/checklists/ChecklistEditor.h"

#include <QFileInfo>
#include <algorithm>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/PathGuard.h"
#include "core/data/ChecklistStore.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Launch.h"
#include "platform/FileDialogs.h"
#include "platform/Platform.h"

namespace qv::checklists {
namespace {

using base::Fixed;

const QString kErrorTitle = QStringLiteral("Checklist Modification Error");
const QString kPressOk = QStringLiteral("Please press OK to continue...");

data::ChecklistItemResponse Response(const QString& text, int32_t number) {
  return {Fixed(text, data::kResponseTextWidth), number};
}

data::ChecklistItem NewStep() {
  data::ChecklistItem item;
  item.challenge = Fixed("New Item", data::kChallengeWidth);
  item.pronunciation = Fixed("New Item", data::kPronunciationWidth);
  item.response = Fixed("Set", data::kResponseWidth);
  item.responses = {Response("Ignore", data::kIgnoreFunction), Response("Skip", data::kSkipFunction),
                    Response("SET", 50002)};
  return item;
}

// The characters of `text` that a checklist file cannot hold go to `dropped`.
QString KeepCp1252(const QString& text, QString* dropped) {
  QString kept;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString ch = text.mid(i, n);
    if (base::FitsCp1252(ch))
      kept += ch;
    else if (!dropped->contains(ch))
      *dropped += ch;
    i += n;
  }
  return kept;
}

}  // namespace

const QStringList& SectionTitles() {
  static const QStringList titles{"Preflight", "Pushback",       "Start Engines and Before Taxi",
                                  "Runup",     "Before Takeoff", "After Takeoff Climb",
                                  "Cruise",    "Descent",        "Approach",
                                  "Landing",   "After Landing",  "Engine Shutdown Secure Aircraft"};
  return titles;
}

QString ChecklistFileNameProblem(const QString& name) {
  if (QString problem = base::FileNameProblem(name, "A checklist name"); !problem.isEmpty()) return problem;
  // The name with ".dat" must stay a valid file name.
  if (name.size() > 251) return "A checklist name can be at most 251 characters long.";
  return {};
}

ChecklistEditor::ChecklistEditor(shell::Context& ctx, shell::Launcher& launcher, grammar::SpeechFacade& speech)
    : m_ctx(ctx), m_launcher(launcher), m_speech(speech) {}

std::vector<data::ChecklistItem>& ChecklistEditor::Steps() { return m_ctx.state.openChecklist.sections[m_section]; }

const std::vector<data::ChecklistItem>& ChecklistEditor::Steps() const {
  return m_ctx.state.openChecklist.sections[m_section];
}

int ChecklistEditor::stepCount() const { return int(Steps().size()); }

bool ChecklistEditor::sectionEmpty() const { return Steps().empty(); }

int ChecklistEditor::lastPage() const { return stepCount() == 0 ? 0 : (stepCount() - 1) / kStepsPerPage; }

const data::ChecklistItem* ChecklistEditor::currentItem() const {
  return m_step >= 0 && m_step < stepCount() ? &Steps()[m_step] : nullptr;
}

QList<StepRow> ChecklistEditor::PageRows() const {
  QList<StepRow> rows;
  const auto& steps = Steps();
  for (int i = m_page * kStepsPerPage; i < stepCount() && i < (m_page + 1) * kStepsPerPage; ++i)
    rows.append({steps[i].challenge.trimmed().toUpper(), steps[i].response.trimmed().toUpper()});
  return rows;
}

int ChecklistEditor::currentRow() const {
  const int row = m_step - m_page * kStepsPerPage;
  return row >= 0 && row < kStepsPerPage && m_step < stepCount() ? row : -1;
}

QString ChecklistEditor::PageNumberText() const { return QString("Page %1 of %2").arg(m_page + 1).arg(lastPage() + 1); }

QStringList ChecklistEditor::ResponseChoices() const {
  QStringList choices;
  for (const data::ChecklistResponse& r : m_ctx.state.settings.checklistResponses) choices << r.response.trimmed();
  return choices;
}

void ChecklistEditor::SetModified(bool on) {
  if (m_modified == on) return;
  m_modified = on;
  emit modifiedChanged(on);
}

void ChecklistEditor::Reset() {
  m_openName.clear();
  m_section = m_page = m_step = 0;
  m_chosen.fill(false);
  SetModified(false);
}

void ChecklistEditor::ShowStep() {
  m_chosen = QList<bool>(ResponseChoices().size(), false);
  const data::ChecklistItem* step = currentItem();
  if (!step) return;
  const QStringList choices = ResponseChoices();
  for (const data::ChecklistItemResponse& r : step->responses) {
    const QString wanted = r.text.trimmed().toUpper();
    for (int i = 0; i < choices.size(); ++i)
      if (choices[i].toUpper() == wanted) m_chosen[i] = true;
  }
}

void ChecklistEditor::Open(const QString& name) {
  m_openName = name;
  m_ctx.state.openChecklist.name = name;
  m_section = m_page = m_step = 0;
  ShowStep();
}

void ChecklistEditor::AskNewName() {
  m_ctx.dialogs.ShowInput("New Checklist",
                          "Enter the file name for your new checklist file in the space provided below", "File Name",
                          true, true, "", "new_checklist");
}

bool ChecklistEditor::NewChecklist(const QString& typed) {
  QString name = typed.trimmed();
  if (name.endsWith(".dat", Qt::CaseInsensitive)) name = name.chopped(4).trimmed();
  if (name.isEmpty()) return false;
  if (const QString problem = ChecklistFileNameProblem(name); !problem.isEmpty()) {
    m_ctx.dialogs.ShowMessage(
        "New Checklist", shell::JoinLines({problem + "  Please choose another name for the checklist file.", kPressOk}),
        shell::kIconWarning, true, false, "");
    return false;
  }
  m_ctx.state.openChecklist = data::ChecklistFile{};
  Open(name);
  return true;
}

bool ChecklistEditor::AskLoad() {
  if (!m_ctx.platform.fileDialogs) return false;
  const QString picked = m_ctx.platform.fileDialogs->OpenFile(
      "Select Checklist File to Modify", "Checklist Files (*.dat)|*.dat", m_ctx.state.installDir + "/Checklists");
  return !picked.isEmpty() && Load(QFileInfo(picked).fileName());
}

bool ChecklistEditor::Load(const QString& fileName) {
  if (QString why; data::LoadChecklistFile(m_ctx.state, fileName, &why) != 0) {
    m_ctx.dialogs.ShowMessage(
        kErrorTitle,
        shell::JoinLines({"The checklist file \"" + fileName +
                              "\" could not be read.  It must be a checklist file in the Checklists folder.",
                          why, kPressOk}),
        shell::kIconWarning, true, false, "");
    return false;
  }
  Open(data::ChecklistNameOf(fileName));
  return true;
}

void ChecklistEditor::CommitReported() {
  if (CommitCurrentStep() == 0) return;
  m_ctx.dialogs.ShowMessage(kErrorTitle,
                            shell::kCr + shell::JoinLines({"There was an error while updating the checklist "
                                                           "modifications.  Please be sure to press the SAVE button "
                                                           "to save all of your modifications.",
                                                           kPressOk}),
                            shell::kIconInformation, true, false, "");
}

void ChecklistEditor::LeaveStep() {
  if (m_modified && !sectionEmpty()) CommitReported();
}

void ChecklistEditor::ChooseStep(int row) {
  if (!isOpen() || sectionEmpty() || row < 0) return;
  LeaveStep();
  m_step = m_page * kStepsPerPage + row;
  ShowStep();
}

void ChecklistEditor::ChooseSection(int section) {
  if (!isOpen() || section < 0 || section >= data::kSectionCount) return;
  LeaveStep();
  m_section = section;
  m_step = m_page = 0;
  ShowStep();
}

bool ChecklistEditor::TurnPage(int delta) {
  LeaveStep();
  const int page = m_page + delta;
  if (page < 0 || page > lastPage()) return false;
  m_page = page;
  m_step = m_page * kStepsPerPage;
  ShowStep();
  return true;
}

void ChecklistEditor::Insert() {
  if (!isOpen()) return;
  auto& steps = Steps();
  if (steps.empty()) {
    steps.push_back(NewStep());
    m_step = 0;
    ShowStep();
    SetModified(true);
    return;
  }
  CommitReported();
  if (int(steps.size()) >= kMaxSteps) {
    m_ctx.dialogs.ShowMessage(
        kErrorTitle,
        shell::JoinLines({QString("A checklist section can hold at most %1 steps.").arg(kMaxSteps), kPressOk}),
        shell::kIconInformation, true, false, "");
    return;
  }
  // Below the current step; the page shown stays, even when the new step
  // lands on the next one.
  const int at = std::clamp(m_step + 1, 0, int(steps.size()));
  steps.insert(steps.begin() + at, NewStep());
  m_step = at;
  ShowStep();
  SetModified(true);
}

void ChecklistEditor::Delete() {
  if (!isOpen()) return;
  auto& steps = Steps();
  if (steps.empty()) return;
  SetModified(true);
  if (steps.size() == 1) {
    steps.clear();
    m_page = m_step = 0;
    ShowStep();
    return;
  }
  const int last = int(steps.size()) - 1;
  if (m_step >= last) {
    steps.pop_back();
    m_step = last - 1;
  } else {
    steps.erase(steps.begin() + std::max(0, m_step));
    if (m_step > 0) --m_step;
  }
  if (m_step < m_page * kStepsPerPage && m_page > 0) --m_page;
  ShowStep();
}

std::optional<QString> ChecklistEditor::Edit(StepField field, const QString& typed) {
  if (!isOpen() || sectionEmpty()) return std::nullopt;
  QString text = typed;
  if (!base::FitsCp1252(text)) {
    // A checklist file holds Western characters only: leave the others out
    // and say so, rather than store question marks.
    QString dropped;
    text = KeepCp1252(text, &dropped);
    m_ctx.dialogs.ShowMessage(
        kErrorTitle,
        shell::JoinLines({"A checklist can only hold characters of the Western (Windows-1252) character set.  These "
                          "characters were left out: " +
                              dropped,
                          kPressOk}),
        shell::kIconWarning, true, false, "");
  }
  if (m_step < 0 || m_step >= stepCount()) return text;
  data::ChecklistItem& step = Steps()[m_step];
  const QString trimmed = text.trimmed();
  switch (field) {
    case StepField::Challenge: step.challenge = Fixed(trimmed, data::kChallengeWidth); break;
    case StepField::Pronunciation: step.pronunciation = Fixed(trimmed, data::kPronunciationWidth); break;
    case StepField::Response: step.response = Fixed(trimmed, data::kResponseWidth); break;
  }
  SetModified(true);
  return text;
}

void ChecklistEditor::ChooseResponses(const QList<bool>& chosen) {
  QList<bool> next = chosen;
  next.resize(ResponseChoices().size(), false);
  if (next == m_chosen) return;
  m_chosen = next;
  if (isOpen() && !sectionEmpty()) SetModified(true);
}

int ChecklistEditor::CommitCurrentStep() {
  if (m_step < 0 || m_step >= stepCount()) return 1;
  data::ChecklistItem& step = Steps()[m_step];
  step.challenge = Fixed(step.challenge.trimmed(), data::kChallengeWidth);
  step.pronunciation = Fixed(step.pronunciation.trimmed(), data::kPronunciationWidth);
  step.response = Fixed(step.response.trimmed(), data::kResponseWidth);
  step.responses = {Response("Ignore", data::kIgnoreFunction), Response("Skip", data::kSkipFunction)};
  const auto& choices = m_ctx.state.settings.checklistResponses;
  for (int i = 0; i < int(choices.size()) && i < m_chosen.size(); ++i)
    if (m_chosen[i]) step.responses.push_back(Response(choices[i].response.trimmed(), choices[i].functionNumber));
  return 0;
}

void ChecklistEditor::Play() {
  if (!m_ctx.state.speechReady) {
    m_ctx.dialogs.ShowMessage(
        "Quorvane",
        shell::JoinLines({"Speech output is not available, so the pronunciation cannot be played.", kPressOk}),
        shell::kIconInformation, true, false, "");
    return;
  }
  const data::ChecklistItem* step = currentItem();
  QByteArray text = base::ToCp1252(step ? step->pronunciation.trimmed() : QString());
  m_speech.fnTTSspeak_Call(1, m_ctx.state.settings.copilotVoice, 100, 50, text);
}

int ChecklistEditor::Write() {
  if (!isOpen()) return 1;
  if (!sectionEmpty() && CommitCurrentStep() != 0) return 1;
  m_ctx.state.openChecklist.name = m_openName;
  return data::SaveChecklistFile(m_ctx.state, &m_saveError);
}

int ChecklistEditor::Save() {
  m_saveError.clear();
  if (Write() != 0) {
    QStringList lines{
        "There was an error while saving the checklist modifications.  Please contact Veltrane support at "
        "www.veltrane.com/support."};
    if (!m_saveError.isEmpty()) lines << m_saveError;
    m_ctx.dialogs.ShowMessage(kErrorTitle, (lines << kPressOk).join(shell::kCr2), shell::kIconInformation, true, false,
                              "");
    return 1;
  }
  QStringList& names = m_ctx.state.checklistNames;
  if (!names.contains(m_openName, Qt::CaseInsensitive))
    names.insert(std::lower_bound(names.begin(), names.end(), m_openName), m_openName);
  const QString title = "Checklist Modifications Saved";
  if (m_launcher.BothRunning())
    m_ctx.dialogs.ShowMessage(title,
                              shell::JoinLines({"The checklist modifications have been saved.  In order to use these "
                                                "changes in FSX, the Speech Recognition engine needs to be restarted.",
                                                "Press OK to restart, Cancel to continue without restarting."}),
                              shell::kIconInformation, true, true, "cmod_restart");
  else
    m_ctx.dialogs.ShowMessage(title, shell::JoinLines({"The checklist modifications have been saved.", kPressOk}),
                              shell::kIconInformation, true, false, "");
  SetModified(false);
  return 0;
}

}  // namespace qv::checklists
