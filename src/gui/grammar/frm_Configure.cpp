#include "gui/grammar/frm_Configure.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

#include "base/Cp1252.h"
#include "core/data/CommandListStore.h"
#include "core/data/SettingsStore.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/CompileCommands.h"
#include "core/grammar/CompileProblems.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Launch.h"
#include "data/CommandList.h"
#include "data/Settings.h"
#include "gui/grammar/frm_CompileProblems.h"
#include "gui/grammar/frm_Pronounce.h"
#include "gui/grammar/frm_Rehearse.h"
#include "gui/grammar/frm_Script.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/Accessibility.h"
#include "gui/kit/DialogTags.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"
#include "gui/kit/SkinnedDialogs.h"

namespace qv::grammar {
namespace {

const char* const kVoices[] = {"Samantha (US English)", "Tom (US English)", "Daniel (UK English)",
                               "Emily (UK English)"};
const QString kNoVoice = QStringLiteral("**NONE**");

int ItemData(const QComboBox* box, int row) { return row >= 0 && row < box->count() ? box->itemData(row).toInt() : -1; }

int ItemData(const QListWidget* list, int row) {
  const QListWidgetItem* item = row >= 0 ? list->item(row) : nullptr;
  return item ? item->data(Qt::UserRole).toInt() : -1;
}

void FillList(QListWidget* list, const QStringList& entries) {
  const QSignalBlocker block(list);
  list->clear();
  for (int i = 0; i < entries.size(); ++i) {
    auto* item = new QListWidgetItem(TrimSpaces(entries[i]), list);
    item->setData(Qt::UserRole, i);
  }
}

QListWidget* MakeList(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setGeometry(geometry);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return list;
}

QComboBox* MakeCombo(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setGeometry(geometry);
  return box;
}

}  // namespace

int frm_Configure::TextList::Selected() const {
  const int index = ItemData(view, view->currentRow());
  return index < view->count() ? index : -1;
}

frm_Configure::frm_Configure(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Configure", services, host, "Sub_BG.bmp"),
      m_phrases{CommandTextEditor(services.ctx, CommandText::Phrases), nullptr},
      m_readbacks{CommandTextEditor(services.ctx, CommandText::Readbacks), nullptr} {
  ui::MakeLabel(this, "lbl_CategoryCaption", "Command Category", {15, 8, 270, 18});
  comboCategory = MakeCombo(this, "comboCategory", {15, 26, 270, 24});
  ui::MakeLabel(this, "lbl_CommandCaption", "Command", {300, 8, 475, 18});
  comboCommand = MakeCombo(this, "comboCommand", {300, 26, 475, 24});

  lbl_HelpText = ui::MakeLabel(this, "lbl_HelpText", QString(), {15, 56, 760, 40});
  lbl_HelpText->setWordWrap(true);
  lbl_HelpText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbl_HelpText->setStyleSheet(
      "background: rgba(255, 255, 255, 150); color: rgb(45, 45, 45); border: 1px solid rgb(160, 172, 186);"
      " padding: 2px;");
  lbl_CategoryNumber = ui::MakeLabel(this, "lbl_CategoryNumber", QString(), {15, 100, 300, 18});
  lbl_CommandNumber = ui::MakeLabel(this, "lbl_CommandNumber", QString(), {15, 118, 300, 18});

  ui::MakeLabel(this, "lbl_CopilotCaption", "Copilot Voice", {330, 100, 180, 18});
  combo_Copilot = MakeCombo(this, "combo_Copilot", {330, 116, 220, 24});

  ui::MakeLabel(this, "lbl_GrammarCaption", "Grammar Phrases", {15, 146, 300, 18});
  listGrammar = m_phrases.view = MakeList(this, "listGrammar", {15, 164, 560, 120});
  ui::MakeLabel(this, "lbl_ReadbackCaption", "Copilot Readbacks", {15, 292, 300, 18});
  listReadback = m_readbacks.view = MakeList(this, "listReadback", {15, 310, 560, 125});

  connect(comboCategory, &QComboBox::currentIndexChanged, this, &frm_Configure::CategoryChosen);
  connect(comboCommand, &QComboBox::currentIndexChanged, this, &frm_Configure::CommandChosen);
  connect(listGrammar, &QListWidget::currentRowChanged, this, &frm_Configure::PhraseChosen);
  connect(listGrammar, &QListWidget::itemDoubleClicked, this,
          [this] { Ask(m_phrases, CommandTextEditor::Action::Edit); });
  connect(listReadback, &QListWidget::itemDoubleClicked, this,
          [this] { Ask(m_readbacks, CommandTextEditor::Action::Edit); });
  connect(combo_Copilot, &QComboBox::currentIndexChanged, this, &frm_Configure::VoiceChosen);

  struct ButtonRow {
    const char* name;
    int left, top;
    const char* type;
    const char* picture;
    const char* tip;
  };
  static const ButtonRow kButtons[] = {
      {"btn_AddGrammar", 585, 164, "add_grammar", "btn_Add", "Click to add a grammar rule for this command."},
      {"btn_EditGrammar", 682, 164, "edit_grammar", "btn_Edit", "Click to edit the selected grammar rule."},
      {"btn_DeleteGrammar", 585, 204, "delete_grammar", "btn_Delete", "Click to delete the selected grammar rule."},
      {"btn_TestGrammar", 682, 204, "test_grammar", "btn_Test", "Click to test the selected grammar rule."},
      {"btn_Script", 585, 249, "script", "btn_Script", "Click to view complete grammar script for Quorvane"},
      {"btn_Rehearse", 682, 249, "rehearse", "btn_Rehearse",
       "Click to speak any command as in flight and see which one Quorvane hears."},
      {"btn_Pronounce", 585, 390, "pronunciations", "btn_Pronounce",
       "Click to hear and change how the recognition engine pronounces the words of your phrases."},
      {"btn_AddReadback", 585, 310, "add_readback", "btn_Add", "Click to add a new copilot readback for this command."},
      {"btn_EditReadback", 682, 310, "edit_readback", "btn_Edit",
       "Click to edit the selected readback for this command."},
      {"btn_DeleteReadback", 585, 350, "delete_readback", "btn_Delete",
       "Click to delete the selected readback for this command."},
      {"btn_PlayReadback", 682, 350, "play_readback", "btn_Play",
       "Click to play the selected readback for this command."},
  };
  Button<ui::MediumButton>({"btn_MicrophoneSetup", 593, 105, "microphone_setup", "btn_Microphone", "enabled",
                            "Click to access the microphone setup options."});
  for (const ButtonRow& b : kButtons)
    Button<ui::SmallButton>({b.name, b.left, b.top, b.type, b.picture, "enabled", b.tip});
  // Keyboard order as the screen reads: row by row, each list before the
  // buttons beside it.
  QList<QWidget*> chain{comboCategory, comboCommand, combo_Copilot, findChild<QWidget*>("btn_MicrophoneSetup"),
                        listGrammar};
  for (const ButtonRow& b : kButtons) {
    if (QLatin1String(b.name) == QLatin1String("btn_AddReadback")) chain << listReadback;
    chain << findChild<QWidget*>(b.name);
  }
  ui::SetTabChain(chain);

  using K = ui::ButtonKind;
  using A = CommandTextEditor::Action;
  for (TextList* list : {&m_phrases, &m_readbacks})
    for (A action : {A::Add, A::Edit, A::Delete})
      Route(K::Small, list->editor.tagOf(action), [this, list, action] { Ask(*list, action); });
  Route(K::Small, "test_grammar", [this] { TestGrammar(); });
  Route(K::Small, "script", [this] { Script(); });
  Route(K::Small, "rehearse", [this] { Rehearse(); });
  Route(K::Small, "pronunciations", [this] {
    RememberSelections();
    if (auto* words = dynamic_cast<frm_Pronounce*>(m_host.screen("frm_Pronounce"))) words->Begin();
  });
  Route(K::Small, "play_readback", [this] { PlayReadback(); });
  Route(K::Small, "save", [this] { Save(); });
  Route(K::Small, "compile", [this] { Compile(); });
  Route(K::Small, "cancel", [this] { m_host.ReturnHome(); });
  Route(K::Medium, "microphone_setup", [this] { m_services.dialogs.AskMicrophoneSwitch(); });
  connect(&services.dialogs, &ui::SkinnedDialogs::inputAccepted, this,
          [this](const QString& tag, const QString& text) { Answered(tag, &text); });
  connect(&services.dialogs, &ui::SkinnedDialogs::messageAccepted, this,
          [this](const QString& tag) { Answered(tag, nullptr); });

  FillVoices();
}

void frm_Configure::FillVoices() {
  const QSignalBlocker block(combo_Copilot);
  combo_Copilot->clear();
  combo_Copilot->addItem(kNoVoice, 0);
  for (int n = 1; n <= 4; ++n) {
    QByteArray zero("0");
    if (m_services.speech.fnTTSspeak_Call(5, n, 0, 0, zero) == 0) combo_Copilot->addItem(kVoices[n - 1], n);
  }
  // A saved voice that is not present here shows as none; the setting is
  // kept until the user chooses another.
  const int row = combo_Copilot->findData(static_cast<int>(m_ctx.state.settings.copilotVoice));
  combo_Copilot->setCurrentIndex(row >= 0 ? row : 0);
}

void frm_Configure::Fill() {
  shell::AppState& s = m_ctx.state;
  s.categories = data::BuildCommandCategories(s.commands);
  {
    const QSignalBlocker block(comboCategory);
    comboCategory->clear();
    for (int i = 0; i < s.categories.size(); ++i) comboCategory->addItem(TrimSpaces(s.categories[i]), i);
    comboCategory->setCurrentIndex(s.categories.isEmpty() ? -1 : 0);
  }
  CategoryChosen(comboCategory->currentIndex());
}

void frm_Configure::CategoryChosen(int row) {
  const shell::AppState& s = m_ctx.state;
  const int category = ItemData(comboCategory, row);
  const QString key =
      category >= 0 && category < s.categories.size() ? TrimSpaces(s.categories[category]).toUpper() : QString();
  int count = 0;
  {
    const QSignalBlocker block(comboCommand);
    comboCommand->clear();
    for (int i = 0; i < static_cast<int>(s.commands.size()); ++i) {
      if (key.isEmpty() || TrimSpaces(s.commands[i].category).toUpper() != key) continue;
      comboCommand->addItem(TrimSpaces(s.commands[i].name), i);
      ++count;
    }
    comboCommand->setCurrentIndex(count > 0 ? 0 : -1);
  }
  lbl_CommandNumber->setText("Total Number of Commands: " + QString::number(s.commands.size()));
  lbl_CategoryNumber->setText("Number of Commands in Category: " + QString::number(count));
  CommandChosen(comboCommand->currentIndex());
}

void frm_Configure::CommandChosen(int row) {
  m_currentCommand = ItemData(comboCommand, row);
  m_currentPhrase = -1;
  if (m_currentCommand >= static_cast<int>(m_ctx.state.commands.size())) m_currentCommand = -1;
  lbl_HelpText->setText(m_currentCommand < 0 ? QString()
                                             : TrimSpaces(m_ctx.state.commands[m_currentCommand].helpText) + ".");
  FillList(listGrammar, m_phrases.editor.Entries(m_currentCommand));
  FillList(listReadback, m_readbacks.editor.Entries(m_currentCommand));
}

void frm_Configure::PhraseChosen(int row) {
  const int index = ItemData(listGrammar, row);
  if (index >= 0) m_currentPhrase = index;
}

void frm_Configure::VoiceChosen(int row) {
  if (row < 0) return;
  m_ctx.state.settings.copilotVoice = static_cast<int16_t>(ItemData(combo_Copilot, row));
  data::SaveCopilotVoice(m_ctx.state, m_ctx.dialogs);
}

void frm_Configure::Changed() {
  m_unsaved = true;
  m_host.frameButton(ui::FrameButton::OK)->setState("enabled");
  m_host.frameButton(ui::FrameButton::Compile)->setState("enabled");
}

void frm_Configure::ShowEntries(TextList& list, int select) {
  FillList(list.view, list.editor.Entries(m_currentCommand));
  list.view->setCurrentRow(select);
}

void frm_Configure::Ask(TextList& list, CommandTextEditor::Action action) {
  using A = CommandTextEditor::Action;
  if (action == A::Add)
    list.editor.AskAdd(m_currentCommand);
  else if (action == A::Edit)
    list.editor.AskEdit(m_currentCommand, list.Selected());
  else
    list.editor.AskDelete(m_currentCommand, list.Selected());
}

// The OK of a dialog this screen asked: an entry for one of the lists, a
// confirmed delete, or the microphone switch.
void frm_Configure::Answered(const QString& tag, const QString* text) {
  if (tag == ui::kMicSwitchTag) return MicrophoneSwitchChanged();
  using A = CommandTextEditor::Action;
  for (TextList* list : {&m_phrases, &m_readbacks}) {
    CommandTextEditor& e = list->editor;
    int select = -1;
    if (text && tag == e.tagOf(A::Add))
      select = e.Add(m_currentCommand, *text);
    else if (text && tag == e.tagOf(A::Edit))
      select = e.Edit(m_currentCommand, list->Selected(), *text);
    else if (!text && tag == e.tagOf(A::Delete))
      select = e.Delete(m_currentCommand, list->Selected());
    else
      continue;
    if (select < 0) return;
    ShowEntries(*list, select);
    Changed();
    return;
  }
}

void frm_Configure::PlayReadback() {
  if (!m_ctx.state.speechReady) return;
  const int r = m_readbacks.Selected();
  const QStringList readbacks = m_readbacks.editor.Entries(m_currentCommand);
  if (r < 0 || r >= readbacks.size()) return;
  QByteArray bytes = base::ToCp1252(SpokenReadback(readbacks[r], m_ctx.state.settings.lists));
  m_services.speech.fnTTSspeak_Call(1, m_ctx.state.settings.copilotVoice, 100, 50, bytes);
}

void frm_Configure::MicrophoneSwitchChanged() {
  if (data::SaveMicrophone(m_ctx.state, m_ctx.dialogs) != 0) return;  // the failure has been reported
  const QString title = QStringLiteral("Microphone Setting Changed");
  if (m_services.launcher.BothRunning())
    m_ctx.dialogs.ShowMessage(title,
                              shell::JoinLines({"Microphone setting has been changed and saved.  In order to use this "
                                                "change in FSX, the Speech Recognition engine needs to be restarted.",
                                                "Press OK to restart, Cancel to continue without restarting."}),
                              shell::kIconInformation, true, true, "gcompile_restart");
  else
    m_ctx.dialogs.ShowMessage(
        title, shell::JoinLines({"Microphone setting has been changed and saved.", "Please press OK to continue..."}),
        shell::kIconInformation, true, false, "");
}

// --- the other screens ----------------------------------------------------------

void frm_Configure::RememberSelections() {
  m_remembered.category = comboCategory->currentIndex();
  m_remembered.command = comboCommand->currentIndex();
  m_remembered.grammar = listGrammar->currentRow();
  m_remembered.readback = listReadback->currentRow();
}

void frm_Configure::ReturnWithSelections() {
  m_host.Enter(objectName());
  const Selections r = m_remembered;
  if (r.category >= 0 && r.category < comboCategory->count()) {
    {
      const QSignalBlocker block(comboCategory);
      comboCategory->setCurrentIndex(r.category);
    }
    CategoryChosen(r.category);
  }
  if (r.command >= 0 && r.command < comboCommand->count()) {
    {
      const QSignalBlocker block(comboCommand);
      comboCommand->setCurrentIndex(r.command);
    }
    CommandChosen(r.command);
  }
  if (r.grammar >= 0 && r.grammar < listGrammar->count()) listGrammar->setCurrentRow(r.grammar);
  if (r.readback >= 0 && r.readback < listReadback->count()) listReadback->setCurrentRow(r.readback);
}

void frm_Configure::Rehearse() {
  RememberSelections();
  // The rehearsal hears the compiled grammars, as the flight will: a command
  // set never compiled, or changed since, is compiled first (a pilot could
  // not press Compile on a set that has no change to save).
  const bool compiled = !QDir(m_installDir + "/Grammars/Compiled").entryList({"*.fsg"}, QDir::Files).isEmpty();
  if ((m_unsaved || !compiled) && (!Compile() || !isVisible())) return;
  if (auto* rehearse = dynamic_cast<frm_Rehearse*>(m_host.screen("frm_Rehearse"))) rehearse->Begin();
}

void frm_Configure::ReturnToCommand(int commandIndex) {
  const shell::AppState& s = m_ctx.state;
  if (commandIndex >= 0 && commandIndex < static_cast<int>(s.commands.size())) {
    const QString key = TrimSpaces(s.commands[commandIndex].category).toUpper();
    m_remembered = {};
    for (int c = 0; c < s.categories.size(); ++c)
      if (TrimSpaces(s.categories[c]).toUpper() == key) m_remembered.category = c;
    int row = 0;
    for (int i = 0; i < commandIndex; ++i)
      if (TrimSpaces(s.commands[i].category).toUpper() == key) ++row;
    m_remembered.command = row;
  }
  ReturnWithSelections();
}

void frm_Configure::TestGrammar() {
  const int g = m_phrases.Selected();
  if (m_currentCommand < 0 || g < 0) return;
  RememberSelections();
  m_currentPhrase = g;
  if (auto* test = dynamic_cast<frm_Test*>(m_host.screen("frm_Test"))) test->Begin(m_currentCommand, g);
}

void frm_Configure::Script() {
  RememberSelections();
  if (auto* script = dynamic_cast<frm_Script*>(m_host.screen("frm_Script"))) script->Begin();
}

// --- frame buttons ------------------------------------------------------------

void frm_Configure::Save() {
  if (data::SaveCommandList(m_ctx.state, m_ctx.dialogs) != 0) return;
  m_unsaved = false;
  m_host.frameButton(ui::FrameButton::OK)->setState("disabled");
  ReportSaved(m_ctx.dialogs);
}

bool frm_Configure::Compile() {
  const CompileResult result = CompileCommandSet(m_ctx, m_services.speech);
  // After the compile's own message, the problems it found.
  if (result == CompileResult::CompileFailed) ListProblems(false);
  if (result != CompileResult::Compiled) return false;
  m_unsaved = false;
  m_host.frameButton(ui::FrameButton::OK)->setState("disabled");
  m_host.frameButton(ui::FrameButton::Compile)->setState("disabled");
  ReportCompiled(m_ctx.dialogs, m_services.launcher.BothRunning());
  // Warnings are offered too, unless the restart took the user away.
  if (m_ctx.state.speechReady && isVisible()) ListProblems(true);
  return true;
}

void frm_Configure::ListProblems(bool compiled) {
  const std::vector<CompileProblem> problems =
      LocateCompileProblems(m_ctx.state, m_services.speech.CompileDiagnostics());
  if (problems.empty()) {
    if (m_problems) m_problems->hide();
    return;
  }
  if (!m_problems) {
    m_problems = new frm_CompileProblems(this);
    m_problems->choose = [this](const CompileProblem& p) { ShowProblem(p); };
  }
  m_problems->Show(problems, m_ctx.state, compiled);
}

void frm_Configure::ShowProblem(const CompileProblem& problem) {
  const shell::AppState& s = m_ctx.state;
  if (problem.command < 0 || problem.command >= static_cast<int>(s.commands.size())) return;
  const QString key = TrimSpaces(s.commands[problem.command].category).toUpper();
  for (int row = 0; row < comboCategory->count(); ++row) {
    const int category = ItemData(comboCategory, row);
    if (category < 0 || category >= s.categories.size() || TrimSpaces(s.categories[category]).toUpper() != key)
      continue;
    if (comboCategory->currentIndex() != row) {
      const QSignalBlocker block(comboCategory);
      comboCategory->setCurrentIndex(row);
    }
    CategoryChosen(row);
    break;
  }
  const int commandRow = comboCommand->findData(problem.command);
  if (commandRow < 0) return;
  {
    const QSignalBlocker block(comboCommand);
    comboCommand->setCurrentIndex(commandRow);
  }
  CommandChosen(commandRow);
  for (int row = 0; row < listGrammar->count(); ++row)
    if (ItemData(listGrammar, row) == problem.phrase) listGrammar->setCurrentRow(row);
}

}  // namespace qv::grammar
