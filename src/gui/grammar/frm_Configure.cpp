#include "gui/grammar/frm_Configure.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QSignalBlocker>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "core/data/CommandListStore.h"
#include "core/data/SettingsStore.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "data/CommandList.h"
#include "data/Settings.h"
#include "gui/grammar/GrammarScreenHost.h"
#include "gui/grammar/frm_Script.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SmallFontFix.h"

namespace qv::grammar {
namespace {

const char* const kVoices[] = {"Samantha (US English)", "Tom (US English)", "Daniel (UK English)",
                               "Emily (UK English)"};
const QString kNoVoice = QStringLiteral("**NONE**");
const QString kSupportAddress = QStringLiteral("www.veltrane.com/support");
const QString kPressOk = QStringLiteral("Please press OK to continue...");

QLabel* Caption(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setGeometry(geometry);
  l->setTextFormat(Qt::PlainText);
  l->setStyleSheet("background: transparent; color: rgb(45, 45, 45);");
  return l;
}

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

}  // namespace

frm_Configure::frm_Configure(shell::Context& ctx, SpeechFacade& speech, GrammarScreenHost& host, ui::Router* router,
                             QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_speech(speech), m_host(host) {
  setObjectName("frm_Configure");
  setFixedSize(790, 447);
  const QString bg = ctx.state.installDir + "/Media/Forms/Sub_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);

  Caption(this, "lbl_CategoryCaption", "Command Category", {15, 8, 270, 18});
  comboCategory = new QComboBox(this);
  comboCategory->setObjectName("comboCategory");
  comboCategory->setGeometry(15, 26, 270, 24);
  Caption(this, "lbl_CommandCaption", "Command", {300, 8, 475, 18});
  comboCommand = new QComboBox(this);
  comboCommand->setObjectName("comboCommand");
  comboCommand->setGeometry(300, 26, 475, 24);

  lbl_HelpText = Caption(this, "lbl_HelpText", QString(), {15, 56, 760, 40});
  lbl_HelpText->setWordWrap(true);
  lbl_HelpText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbl_HelpText->setStyleSheet(
      "background: rgba(255, 255, 255, 150); color: rgb(45, 45, 45); border: 1px solid rgb(160, 172, 186);"
      " padding: 2px;");
  lbl_CategoryNumber = Caption(this, "lbl_CategoryNumber", QString(), {15, 100, 300, 18});
  lbl_CommandNumber = Caption(this, "lbl_CommandNumber", QString(), {15, 118, 300, 18});

  Caption(this, "lbl_CopilotCaption", "Copilot Voice", {330, 100, 180, 18});
  combo_Copilot = new QComboBox(this);
  combo_Copilot->setObjectName("combo_Copilot");
  combo_Copilot->setGeometry(330, 116, 220, 24);

  Caption(this, "lbl_GrammarCaption", "Grammar Phrases", {15, 146, 300, 18});
  listGrammar = new QListWidget(this);
  listGrammar->setObjectName("listGrammar");
  listGrammar->setGeometry(15, 164, 560, 120);
  Caption(this, "lbl_ReadbackCaption", "Copilot Readbacks", {15, 292, 300, 18});
  listReadback = new QListWidget(this);
  listReadback->setObjectName("listReadback");
  listReadback->setGeometry(15, 310, 560, 125);
  for (QListWidget* list : {listGrammar, listReadback}) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }

  connect(comboCategory, &QComboBox::currentIndexChanged, this, &frm_Configure::CategoryChosen);
  connect(comboCommand, &QComboBox::currentIndexChanged, this, &frm_Configure::CommandChosen);
  connect(listGrammar, &QListWidget::currentRowChanged, this, &frm_Configure::PhraseChosen);
  connect(listGrammar, &QListWidget::itemDoubleClicked, this, [this] { EditGrammar(); });
  connect(listReadback, &QListWidget::itemDoubleClicked, this, [this] { EditReadback(); });
  connect(combo_Copilot, &QComboBox::currentIndexChanged, this, &frm_Configure::VoiceChosen);

  using ui::ButtonSetup;
  const QString& dir = ctx.state.installDir;
  const auto small = [&](const char* name, int left, int top, const char* type, const char* picture, const char* tip) {
    return ui::MakeButton<ui::SmallButton>(this, dir, router,
                                           ButtonSetup{name, left, top, type, picture, "enabled", tip});
  };
  btn_MicrophoneSetup = ui::MakeButton<ui::MediumButton>(
      this, dir, router,
      ButtonSetup{"btn_MicrophoneSetup", 593, 105, "microphone_setup", "btn_Microphone", "enabled",
                  "Click to access the microphone setup options."});
  btn_AddGrammar =
      small("btn_AddGrammar", 585, 164, "add_grammar", "btn_Add", "Click to add a grammar rule for this command.");
  btn_EditGrammar =
      small("btn_EditGrammar", 682, 164, "edit_grammar", "btn_Edit", "Click to edit the selected grammar rule.");
  btn_DeleteGrammar = small("btn_DeleteGrammar", 585, 204, "delete_grammar", "btn_Delete",
                            "Click to delete the selected grammar rule.");
  btn_TestGrammar =
      small("btn_TestGrammar", 682, 204, "test_grammar", "btn_Test", "Click to test the selected grammar rule.");
  btn_Script =
      small("btn_Script", 585, 249, "script", "btn_Script", "Click to view complete grammar script for Quorvane");
  btn_AddReadback = small("btn_AddReadback", 585, 310, "add_readback", "btn_Add",
                          "Click to add a new copilot readback for this command.");
  btn_EditReadback = small("btn_EditReadback", 682, 310, "edit_readback", "btn_Edit",
                           "Click to edit the selected readback for this command.");
  btn_DeleteReadback = small("btn_DeleteReadback", 585, 350, "delete_readback", "btn_Delete",
                             "Click to delete the selected readback for this command.");
  btn_PlayReadback = small("btn_PlayReadback", 682, 350, "play_readback", "btn_Play",
                           "Click to play the selected readback for this command.");

  FillVoices();
  ui::ApplySmallFontFix(this);
}

void frm_Configure::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull())
    p.drawPixmap(0, 0, m_background);
  else
    p.fillRect(rect(), QColor(214, 222, 230));
}

void frm_Configure::FillVoices() {
  const QSignalBlocker block(combo_Copilot);
  combo_Copilot->clear();
  combo_Copilot->addItem(kNoVoice, 0);
  for (int n = 1; n <= 4; ++n) {
    QByteArray zero("0");
    if (m_speech.fnTTSspeak_Call(5, n, 0, 0, zero) == 0) combo_Copilot->addItem(kVoices[n - 1], n);
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
  if (!HasCommand()) {
    m_currentCommand = -1;
    lbl_HelpText->clear();
    FillList(listGrammar, {});
    FillList(listReadback, {});
    return;
  }
  const data::CommandRecord& c = m_ctx.state.commands[m_currentCommand];
  lbl_HelpText->setText(TrimSpaces(c.helpText) + ".");
  FillList(listGrammar, c.grammars);
  FillList(listReadback, c.readbacks);
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

bool frm_Configure::HasCommand() const {
  return m_currentCommand >= 0 && m_currentCommand < static_cast<int>(m_ctx.state.commands.size());
}

QString frm_Configure::CommandName() const {
  return HasCommand() ? TrimSpaces(m_ctx.state.commands[m_currentCommand].name) : QString();
}

int frm_Configure::selectedGrammar() const {
  if (!HasCommand()) return -1;
  const int index = ItemData(listGrammar, listGrammar->currentRow());
  return index < m_ctx.state.commands[m_currentCommand].grammars.size() ? index : -1;
}

int frm_Configure::selectedReadback() const {
  if (!HasCommand()) return -1;
  const int index = ItemData(listReadback, listReadback->currentRow());
  return index < m_ctx.state.commands[m_currentCommand].readbacks.size() ? index : -1;
}

void frm_Configure::Changed() {
  m_unsaved = true;
  m_host.SetFrameButtonState(FrameButton::OK, "enabled");
  m_host.SetFrameButtonState(FrameButton::Compile, "enabled");
}

QString frm_Configure::Accept(const QString& text, int width) {
  const QString entry = TrimSpaces(text);
  if (entry.isEmpty()) return {};
  if (!base::FitsCp1252(entry)) {
    QString foreign;
    for (QChar c : entry) {
      const QString one(c);
      if (!base::FitsCp1252(one) && !foreign.contains(one) && foreign.size() < 40) foreign += one + u' ';
    }
    m_ctx.dialogs.ShowMessage(
        "Entry Not Accepted",
        shell::JoinLines({"The entry contains characters that Quorvane cannot store: " + foreign.trimmed(),
                          "Please use letters, digits and signs of the Western European character set only.",
                          kPressOk}),
        shell::kIconWarning, true, false, QString());
    return {};
  }
  return base::Fixed(entry, width);
}

// --- phrases ------------------------------------------------------------------

void frm_Configure::AddGrammar() {
  if (!HasCommand()) return;
  m_ctx.dialogs.ShowInput("Add New Grammar", shell::kCr + "Enter a new grammar for the command: " + CommandName(),
                          "Enter Grammar:", true, true, QString(), "add_grammar");
}

void frm_Configure::AddGrammarOk(const QString& text) {
  if (!HasCommand()) return;
  const QString entry = Accept(text, data::kGrammarWidth);
  if (entry.isEmpty()) return;
  QStringList& grammars = m_ctx.state.commands[m_currentCommand].grammars;
  grammars << entry;
  FillList(listGrammar, grammars);
  listGrammar->setCurrentRow(grammars.size() - 1);
  Changed();
}

void frm_Configure::EditGrammar() {
  const int g = selectedGrammar();
  if (g < 0) return;
  m_ctx.dialogs.ShowInput(
      "Edit Existing Grammar", shell::kCr + "Edit the existing grammar for the command: " + CommandName(),
      "Edit Grammar:", true, true, TrimSpaces(m_ctx.state.commands[m_currentCommand].grammars[g]), "edit_grammar");
}

void frm_Configure::EditGrammarOk(const QString& text) {
  const int g = selectedGrammar();
  if (g < 0) return;
  const QString entry = Accept(text, data::kGrammarWidth);
  if (entry.isEmpty()) return;
  QStringList& grammars = m_ctx.state.commands[m_currentCommand].grammars;
  grammars[g] = entry;
  FillList(listGrammar, grammars);
  listGrammar->setCurrentRow(g);
  Changed();
}

void frm_Configure::DeleteGrammar() {
  const int g = selectedGrammar();
  if (g < 0) return;
  if (m_ctx.state.commands[m_currentCommand].grammars.size() <= 1) {
    m_ctx.dialogs.ShowMessage("Can Not Delete",
                              shell::JoinLines({"You may not delete the last available grammar for a command.",
                                                "Please press OK to continue."}),
                              shell::kIconWarning, true, false, QString());
    return;
  }
  m_ctx.dialogs.ShowMessage(
      "Delete Selected Grammar?",
      shell::JoinLines({"You are about to delete the selected grammar.", "Do you wish to continue?"}),
      shell::kIconWarning, true, true, "delete_grammar");
}

void frm_Configure::DeleteGrammarOk() {
  const int g = selectedGrammar();
  if (g < 0) return;
  QStringList& grammars = m_ctx.state.commands[m_currentCommand].grammars;
  if (grammars.size() <= 1) return;
  grammars.removeAt(g);
  FillList(listGrammar, grammars);
  listGrammar->setCurrentRow(std::min(g, static_cast<int>(grammars.size()) - 1));
  Changed();
}

// --- readbacks ----------------------------------------------------------------

void frm_Configure::AddReadback() {
  if (!HasCommand()) return;
  if (m_ctx.state.commands[m_currentCommand].readbacks.size() >= kMaxReadbacks) {
    m_ctx.dialogs.ShowMessage("Limit Exceeded",
                              "You have reached the maximum allowable number of readbacks for a given command.",
                              shell::kIconWarning, true, false, QString());
    return;
  }
  m_ctx.dialogs.ShowInput("Add New Readback", shell::kCr + "Enter a new readback for the command: " + CommandName(),
                          "Enter Readback:", true, true, QString(), "add_readback");
}

void frm_Configure::AddReadbackOk(const QString& text) {
  if (!HasCommand()) return;
  QStringList& readbacks = m_ctx.state.commands[m_currentCommand].readbacks;
  if (readbacks.size() >= kMaxReadbacks) return;
  const QString entry = Accept(text, data::kReadbackWidth);
  if (entry.isEmpty()) return;
  readbacks << entry;
  FillList(listReadback, readbacks);
  listReadback->setCurrentRow(readbacks.size() - 1);
  Changed();
}

void frm_Configure::EditReadback() {
  const int r = selectedReadback();
  if (r < 0) return;
  m_ctx.dialogs.ShowInput(
      "Edit Existing Readback", shell::kCr + "Edit the existing readback for the command: " + CommandName(),
      "Edit Readback:", true, true, TrimSpaces(m_ctx.state.commands[m_currentCommand].readbacks[r]), "edit_readback");
}

void frm_Configure::EditReadbackOk(const QString& text) {
  const int r = selectedReadback();
  if (r < 0) return;
  const QString entry = Accept(text, data::kReadbackWidth);
  if (entry.isEmpty()) return;
  QStringList& readbacks = m_ctx.state.commands[m_currentCommand].readbacks;
  readbacks[r] = entry;
  FillList(listReadback, readbacks);
  listReadback->setCurrentRow(r);
  Changed();
}

void frm_Configure::DeleteReadback() {
  const int r = selectedReadback();
  if (r < 0) return;
  if (m_ctx.state.commands[m_currentCommand].readbacks.size() <= 1) {
    m_ctx.dialogs.ShowMessage("Can Not Delete",
                              shell::JoinLines({"You may not delete the last available readback for a grammar.",
                                                "Please press OK to continue."}),
                              shell::kIconWarning, true, false, QString());
    return;
  }
  m_ctx.dialogs.ShowMessage(
      "Delete Selected Readback?",
      shell::JoinLines({"You are about to delete the selected readback.", "Do you wish to continue?"}),
      shell::kIconWarning, true, true, "delete_readback");
}

void frm_Configure::DeleteReadbackOk() {
  const int r = selectedReadback();
  if (r < 0) return;
  QStringList& readbacks = m_ctx.state.commands[m_currentCommand].readbacks;
  if (readbacks.size() <= 1) return;
  readbacks.removeAt(r);
  FillList(listReadback, readbacks);
  listReadback->setCurrentRow(std::min(r, static_cast<int>(readbacks.size()) - 1));
  Changed();
}

void frm_Configure::PlayReadback() {
  if (!m_ctx.state.speechReady) return;
  const int r = selectedReadback();
  if (r < 0) return;
  QString text = TrimSpaces(m_ctx.state.commands[m_currentCommand].readbacks[r]);
  // A list name stands for any value of its list; an example value is spoken
  // in its place so that the preview sounds like the real readback.
  for (const data::SettingsList& list : m_ctx.state.settings.lists) {
    const QString name = TrimSpaces(list.name);
    if (name.isEmpty() || !text.contains(name, Qt::CaseInsensitive)) continue;
    text.replace(name, TrimSpaces(list.ttsExample), Qt::CaseInsensitive);
  }
  QByteArray bytes = base::ToCp1252(text);
  m_speech.fnTTSspeak_Call(1, m_ctx.state.settings.copilotVoice, 100, 50, bytes);
}

// --- the other screens ----------------------------------------------------------

void frm_Configure::RememberSelections() {
  m_remembered.category = comboCategory->currentIndex();
  m_remembered.command = comboCommand->currentIndex();
  m_remembered.grammar = listGrammar->currentRow();
  m_remembered.readback = listReadback->currentRow();
}

void frm_Configure::ReturnWithSelections() {
  m_host.EnterConfigure();
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

void frm_Configure::TestGrammar() {
  const int g = selectedGrammar();
  if (g < 0) return;
  RememberSelections();
  m_currentPhrase = g;
  if (auto* test = dynamic_cast<frm_Test*>(m_host.Screen("frm_Test"))) test->Begin(m_currentCommand, g);
}

void frm_Configure::Script() {
  RememberSelections();
  if (auto* script = dynamic_cast<frm_Script*>(m_host.Screen("frm_Script"))) script->Begin();
}

void frm_Configure::MicrophoneSetup() { m_host.AskMicrophoneSwitch(); }

// --- frame buttons ------------------------------------------------------------

void frm_Configure::Save() {
  if (data::SaveCommandList(m_ctx.state, m_ctx.dialogs) != 0) return;
  m_unsaved = false;
  m_host.SetFrameButtonState(FrameButton::OK, "disabled");
  m_ctx.dialogs.ShowMessage("Changes Saved",
                            shell::JoinLines({"All changes to the readbacks have been saved.  You still need to "
                                              "compile the grammar files to be able to use the changes.",
                                              kPressOk}),
                            shell::kIconInformation, true, false, QString());
}

void frm_Configure::Compile() {
  shell::Dialogs& d = m_ctx.dialogs;
  const QString progress = shell::JoinLines(
      {"Saving and compiling your grammar files.  This process will take a few minutes", "Please standby..."});
  d.ProgressOpen("Compiling Grammar Files", progress);
  if (data::SaveCommandList(m_ctx.state, d) != 0) {
    d.ProgressHide();
    return;
  }
  d.ProgressUpdate(progress, 10);
  if (WriteAllGrammars(m_ctx) != 0) {
    d.ProgressHide();
    d.ShowMessage("Grammar Export Error",
                  shell::JoinLines({"There was an error while exporting your grammar files.  Please contact Veltrane "
                                    "support at " +
                                        kSupportAddress + ".",
                                    kPressOk}),
                  shell::kIconError, true, false, QString());
    return;
  }
  if (m_ctx.state.speechReady) {
    d.ProgressUpdate(progress, 80);
    if (m_speech.fnBinCompile_Call(1, 0, 1) != 0) {
      d.ProgressHide();
      d.ShowMessage("Grammar Compile Error",
                    shell::JoinLines({"There was an error while compiling your grammar files.  Please contact "
                                      "Veltrane support at " +
                                          kSupportAddress + ".",
                                      kPressOk}),
                    shell::kIconError, true, false, QString());
      return;
    }
  }
  d.ProgressUpdate(progress, 100);
  d.ProgressHide();
  m_unsaved = false;
  m_host.SetFrameButtonState(FrameButton::OK, "disabled");
  m_host.SetFrameButtonState(FrameButton::Compile, "disabled");
  const QString saved = QStringLiteral("All changes to the grammars and readbacks have been saved.");
  if (m_host.SimAndRuntimeRunning()) {
    d.ShowMessage("Grammars and Readbacks Saved",
                  shell::JoinLines({saved + "  In order to use these changes in FSX, the Speech Recognition engine "
                                            "needs to be restarted.",
                                    "Press OK to restart, Cancel to continue without restarting."}),
                  shell::kIconInformation, true, true, "gcompile_restart");
  } else {
    d.ShowMessage("Grammars and Readbacks Saved", shell::JoinLines({saved, kPressOk}), shell::kIconInformation, true,
                  false, QString());
  }
}

void frm_Configure::Cancel() { m_host.ReturnHome(); }

}  // namespace qv::grammar
