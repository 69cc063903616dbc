#include "gui/grammar/frm_Pronounce.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "base/FileIo.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"
#include "gui/kit/SkinnedDialogs.h"
#include "core/grammar/Pronunciations.h"

namespace qv::grammar {
namespace {

const QString kDiscardTag = QStringLiteral("pronounce_discard");

}  // namespace

frm_Pronounce::frm_Pronounce(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Pronounce", services, host, "Sub_BG.bmp") {
  ui::MakeLabel(this, "lbl_WordsCaption",
                "Words the dictionary does not know, and your own pronunciations (used first once compiled)",
                {15, 8, 760, 18});
  listWords = new QTreeWidget(this);
  listWords->setObjectName("listWords");
  listWords->setGeometry(15, 28, 760, 300);
  listWords->setColumnCount(3);
  listWords->setHeaderLabels({"Word", "Phones", "From"});
  listWords->setRootIsDecorated(false);
  listWords->setSelectionMode(QAbstractItemView::SingleSelection);
  listWords->header()->resizeSection(0, 200);
  listWords->header()->resizeSection(1, 420);
  lbl_Word = ui::MakeLabel(this, "lbl_Word", QString(), {15, 338, 560, 18});
  txt_Phones = new QLineEdit(this);
  txt_Phones->setObjectName("txt_Phones");
  txt_Phones->setAccessibleName("Phones");  // the label above it names the word, not the field
  txt_Phones->setGeometry(15, 358, 560, 26);
  txt_Phones->setToolTip("The word's phones, separated by spaces: AA AE AH AO AW AY B CH D DH EH ER EY F G HH IH IY "
                         "JH K L M N NG OW OY P R S SH T TH UH UW V W Y Z ZH");
  lbl_PhoneProblem = ui::MakeLabel(this, "lbl_PhoneProblem", QString(), {15, 388, 560, 36}, QColor(150, 30, 30));
  lbl_PhoneProblem->setWordWrap(true);
  Button<ui::SmallButton>({"btn_PlayWord", 585, 353, "play", "btn_Play", "enabled",
                           "Click to hear the word as the phones say it."});
  Button<ui::SmallButton>({"btn_ResetWord", 682, 353, "reset", "btn_Delete", "enabled",
                           "Click to use the generated phones for this word again."});
  setTabOrder(listWords, txt_Phones);

  connect(listWords, &QTreeWidget::currentItemChanged, this,
          [this] { WordChosen(listWords->indexOfTopLevelItem(listWords->currentItem())); });
  connect(txt_Phones, &QLineEdit::textEdited, this, &frm_Pronounce::PhonesEdited);
  connect(txt_Phones, &QLineEdit::returnPressed, this, &frm_Pronounce::Play);
  Route(ui::ButtonKind::Small, "play", [this] { Play(); });
  Route(ui::ButtonKind::Small, "reset", [this] { Reset(); });
  Route(ui::ButtonKind::Small, "save", [this] { Save(); });
  Route(ui::ButtonKind::Small, "cancel", [this] { Cancel(); });
  connect(&services.dialogs, &ui::SkinnedDialogs::messageAccepted, this, [this](const QString& tag) {
    if (tag != kDiscardTag) return;
    SetUnsaved(false);
    Cancel();
  });
}

void frm_Pronounce::Begin() {
  const QString listPath = PronunciationListPath(m_ctx.state.installDir);
  m_previous.clear();
  if (QFile f(listPath); f.open(QIODevice::ReadOnly)) m_previous = f.read(4 * 1024 * 1024);
  QStringList phrases;
  for (const auto& command : m_ctx.state.commands) phrases << command.grammars;
  m_rows.clear();
  for (const ReviewedWord& w : m_services.speech.WordsToReview(phrases))
    m_rows.push_back({w.word, w.spelling, w.generated, w.listed.value(0)});
  {
    const QSignalBlocker block(listWords);
    listWords->clear();
    for (size_t i = 0; i < m_rows.size(); ++i) new QTreeWidgetItem(listWords);
  }
  for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) ShowRow(i);
  SetUnsaved(false);
  m_host.Enter(objectName());
  if (!m_rows.empty()) listWords->setCurrentItem(listWords->topLevelItem(0));
  WordChosen(Current());
  listWords->setFocus();
}

int frm_Pronounce::Current() const {
  const int row = listWords->indexOfTopLevelItem(listWords->currentItem());
  return row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
}

void frm_Pronounce::ShowRow(int row) {
  const Row& r = m_rows[static_cast<size_t>(row)];
  QTreeWidgetItem* item = listWords->topLevelItem(row);
  if (!item) return;
  item->setText(0, r.word);
  item->setText(1, r.phones.isEmpty() ? r.generated : r.phones);
  item->setText(2, r.phones.isEmpty() ? (r.generated.isEmpty() ? "none can be made" : "generated") : "your list");
}

void frm_Pronounce::WordChosen(int row) {
  lbl_PhoneProblem->clear();
  const bool any = row >= 0 && row < static_cast<int>(m_rows.size());
  txt_Phones->setEnabled(any);
  if (!any) {
    lbl_Word->clear();
    txt_Phones->clear();
    return;
  }
  const Row& r = m_rows[static_cast<size_t>(row)];
  lbl_Word->setText("Phones of \"" + r.word + "\"" + (r.generated.isEmpty() ? QString() : " (made: " + r.generated + ")"));
  txt_Phones->setText(r.phones.isEmpty() ? r.generated : r.phones);
}

void frm_Pronounce::PhonesEdited(const QString& text) {
  const int row = Current();
  if (row < 0) return;
  QString what;
  const int column = PhonesFault(text, &what);
  if (column > 0) {
    // The list keeps the last good phones; the field shows where it breaks.
    lbl_PhoneProblem->setText("Column " + QString::number(column) + ": " + what);
    return;
  }
  lbl_PhoneProblem->clear();
  Row& r = m_rows[static_cast<size_t>(row)];
  const QString phones = text.simplified();
  const QString wanted = phones == r.generated ? QString() : phones;
  if (wanted == r.phones) return;
  r.phones = wanted;
  ShowRow(row);
  SetUnsaved(true);
}

void frm_Pronounce::Play() {
  const int row = Current();
  if (row < 0 || !m_ctx.state.speechReady) return;
  const Row& r = m_rows[static_cast<size_t>(row)];
  const QString phones = r.phones.isEmpty() ? r.generated : r.phones;
  if (phones.isEmpty()) return;
  QByteArray bytes = m_services.speech.SpeakablePhonemes(phones).toLatin1();
  if (bytes.isEmpty()) return;
  const int voice = m_ctx.state.settings.copilotVoice > 0 ? m_ctx.state.settings.copilotVoice : 1;
  m_services.speech.fnTTSspeak_Call(1, voice, 100, 50, bytes);
}

void frm_Pronounce::Reset() {
  const int row = Current();
  if (row < 0) return;
  Row& r = m_rows[static_cast<size_t>(row)];
  if (!r.phones.isEmpty()) SetUnsaved(true);
  r.phones.clear();
  ShowRow(row);
  WordChosen(row);
}

bool frm_Pronounce::Save() {
  // Further pronunciations of a word written in the file by hand stay,
  // after the one the screen shows; a word reset to its made phones loses
  // its lines. Every other line of the file stays as it was written.
  const QHash<QString, QStringList> before = ParsePronunciationList(m_previous);
  std::vector<std::pair<QString, QString>> entries;
  QSet<QString> shown;
  for (const Row& r : m_rows) {
    shown.insert(r.word);
    if (r.phones.isEmpty()) continue;
    entries.emplace_back(r.word, r.phones);
    for (const QString& more : before.value(r.word).mid(1))
      if (more != r.phones) entries.emplace_back(r.word, more);
  }
  const QString path = PronunciationListPath(m_ctx.state.installDir);
  const QByteArray bytes = PronunciationListText(entries, m_previous, shown);
  QDir().mkpath(QFileInfo(path).path());
  if (const base::FileResult written = base::WriteFileAtomic(path, bytes); !written) {
    m_ctx.dialogs.ShowMessage("Pronunciations Not Saved",
                              shell::JoinLines({"Your pronunciations could not be saved.", written.error(),
                                                "Please press OK to continue..."}),
                              shell::kIconError, true, false, QString());
    return false;
  }
  m_previous = bytes;
  SetUnsaved(false);
  m_ctx.dialogs.ShowMessage("Pronunciations Saved",
                            shell::JoinLines({"Your pronunciations have been saved to " +
                                                  QDir::toNativeSeparators(path) + ".",
                                              "Compile the grammars for the recogniser to use them.",
                                              "Please press OK to continue..."}),
                            shell::kIconInformation, true, false, QString());
  return true;
}

void frm_Pronounce::Cancel() {
  if (m_unsaved) {
    m_ctx.dialogs.ShowMessage("Pronunciations Not Saved",
                              shell::JoinLines({"You have changed pronunciations without saving them.",
                                                "Press OK to leave them unsaved, or Cancel to stay."}),
                              shell::kIconWarning, true, true, kDiscardTag);
    return;
  }
  if (auto* configure = dynamic_cast<frm_Configure*>(m_host.screen("frm_Configure"))) configure->ReturnWithSelections();
}

void frm_Pronounce::SetUnsaved(bool unsaved) {
  m_unsaved = unsaved;
  if (ui::SmallButton* save = m_host.frameButton(ui::FrameButton::OK)) save->setState(unsaved ? "enabled" : "disabled");
}

}  // namespace qv::grammar
