#include "gui/grammar/frm_Rehearse.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>

#include "base/Cp1252.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "data/CommandList.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"
#include "gui/kit/VirtualKey.h"

namespace qv::grammar {
namespace {

const QString kPressOk = QStringLiteral("Please press OK to continue...");
const char* const kPanel =
    "background: rgba(255, 255, 255, 170); color: rgb(45, 45, 45); border: 1px solid rgb(160, 172, 186);"
    " padding: 3px;";

}  // namespace

frm_Rehearse::frm_Rehearse(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Rehearse", services, host, "Test_BG.bmp"), m_speech(services.speech) {
  pic_Icon = ui::MakeLabel(this, "pic_Icon", {}, {20, 20, 64, 64});

  ui::MakeLabel(this, "lbl_HeardCaption", "Heard as", {100, 12, 670, 18});
  lbl_Command = ui::MakeLabel(this, "lbl_Command", {}, {100, 32, 670, 40});
  QFont f = lbl_Command->font();
  f.setPointSize(f.pointSize() + 5);
  f.setBold(true);
  lbl_Command->setFont(f);
  lbl_Command->setStyleSheet(kPanel);
  lbl_Words = ui::MakeLabel(this, "lbl_Words", {}, {100, 78, 670, 24});
  lbl_Words->setStyleSheet(kPanel);
  lbl_Detail = ui::MakeLabel(this, "lbl_Detail", {}, {100, 106, 670, 24});
  lbl_Detail->setStyleSheet(kPanel);

  pb_Level = new QProgressBar(this);
  pb_Level->setObjectName("pb_Level");
  pb_Level->setGeometry(100, 136, 670, 10);
  pb_Level->setRange(0, 100);
  pb_Level->setTextVisible(false);
  pb_Level->setStyleSheet(
      "QProgressBar { background: rgba(255, 255, 255, 170); border: 1px solid rgb(160, 172, 186); }"
      " QProgressBar::chunk { background: rgb(70, 150, 90); }");
  pb_Level->hide();
  lbl_Status = ui::MakeLabel(this, "lbl_Status", {}, {100, 148, 670, 20});

  ui::MakeLabel(this, "lbl_AttemptsCaption",
                QString("Last %1 attempts (choose one to open its command)").arg(RehearsalLog::kKept),
                {100, 172, 670, 18});
  lst_Attempts = new QListWidget(this);
  lst_Attempts->setObjectName("lst_Attempts");
  lst_Attempts->setGeometry(100, 192, 670, 240);
  lst_Attempts->setSelectionMode(QAbstractItemView::SingleSelection);
  lst_Attempts->setToolTip("Click an attempt, or pick it and press Enter, to open its command.");
  connect(lst_Attempts, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { OpenAttempt(lst_Attempts->row(item)); });
  connect(lst_Attempts, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OpenAttempt(lst_Attempts->row(item)); });

  lst_Attempts->installEventFilter(this);

  m_meterTimer = new QTimer(this);
  m_meterTimer->setInterval(50);
  connect(m_meterTimer, &QTimer::timeout, this, &frm_Rehearse::ShowLevel);

  Route(ui::ButtonKind::Small, "start", [this] { Start(); });
  Route(ui::ButtonKind::Small, "cancel", [this] { Cancel(); });
}

RehearsalRecognizer* frm_Rehearse::Engine() {
  RehearsalRecognizer* engine = m_speech.Rehearsal();
  return engine ? engine : &m_unavailable;
}

void frm_Rehearse::ShowIcon(const QString& file) {
  const QString path = m_installDir + "/Media/Icons/" + file;
  if (QFileInfo::exists(path)) pic_Icon->setPixmap(QPixmap(path));
}

void frm_Rehearse::ShowLevel() {
  const ListeningProgress p = Engine()->Progress();
  pb_Level->setValue(static_cast<int>(p.level * 100 + 0.5));
  lbl_Status->setText(QString("Listening... %1 s").arg(p.heardSeconds, 0, 'f', 1));
}

void frm_Rehearse::Begin() {
  shell::Dialogs& d = m_ctx.dialogs;
  const shell::AppState& s = m_ctx.state;
  if (!s.speechReady) return;
  d.ProgressOpen("Loading Rehearsal",
                 shell::JoinLines({"Loading every category's compiled grammar, as in flight.", "Please stand by..."}));
  d.ProgressUpdate("Loading Speech Recognizer", 50);
  QString error;
  const bool loaded = Engine()->Load(RehearsalGrammars(data::BuildCommandCategories(s.commands)), error);
  d.ProgressHide();
  if (!loaded) {
    d.ShowMessage("Rehearsal Unavailable",
                  shell::JoinLines({"The compiled grammars could not be loaded: " + error,
                                    "Press Compile on the configuration screen first.", kPressOk}),
                  shell::kIconError, true, false, QString());
    return;
  }
  lbl_Command->clear();
  lbl_Words->clear();
  lbl_Detail->clear();
  lbl_Status->setText("Press START or hold your microphone key, then speak a command.");
  ShowIcon("icon_ready.bmp");
  m_host.Enter(objectName());
}

void frm_Rehearse::Start() {
  if (!m_ctx.state.speechReady || m_listening) return;
  lbl_Command->clear();
  lbl_Words->clear();
  lbl_Detail->clear();
  ShowIcon("icon_Begin.bmp");
  pb_Level->setValue(0);
  pb_Level->show();
  lbl_Status->setText("Listening...");
  repaint();

  m_listening = true;
  m_meterTimer->start();
  const RuleMatch match = Engine()->Listen();
  m_meterTimer->stop();
  m_listening = false;
  pb_Level->hide();
  if (match.status == 1) {  // stopped: nothing to tell
    lbl_Status->clear();
    return;
  }
  lbl_Status->setText(QString("Heard %1 s of sound.").arg(match.audioSeconds, 0, 'f', 1));
  const RehearsalResult result = Resolve(m_ctx.state.commands, match);
  if (result.outcome == RehearsalResult::Outcome::Failed) {
    ShowIcon("icon_Problem.bmp");
    m_ctx.dialogs.ShowMessage("Error in Speech Recognition Engine",
                              shell::JoinLines({"There was an error in the speech recognition engine.", result.error,
                                                kPressOk}),
                              shell::kIconError, true, false, QString());
    return;
  }
  Show(result);
  m_log.Add(result);
  lst_Attempts->clear();
  for (const RehearsalResult& r : m_log.Attempts()) {
    auto* item = new QListWidgetItem(
        (r.IsCommand() ? QString::fromUtf8("\u2714  ") : QString::fromUtf8("\u2716  ")) + r.Summary() +
            (r.words.isEmpty() ? QString() : "   \u2014 \"" + r.words + "\""),
        lst_Attempts);
    item->setToolTip(r.IsCommand() ? "Open " + r.commandName + " on the configuration screen" : QString());
  }
  // The copilot answers as in flight: the first readback, lists by their examples.
  const int voice = m_ctx.state.settings.copilotVoice;
  const QString readback = FirstReadback(m_ctx.state, result.commandIndex);
  if (result.IsCommand() && voice > 0 && !readback.isEmpty()) {
    QByteArray bytes = base::ToCp1252(readback);
    m_speech.fnTTSspeak_Call(1, voice, 100, 50, bytes);
  }
}

void frm_Rehearse::Show(const RehearsalResult& r) {
  ShowIcon(r.IsCommand() ? "icon_Result.bmp" : "icon_Problem.bmp");
  if (!r.IsCommand()) {
    lbl_Command->setText("NOT A COMMAND");
    lbl_Words->setText(r.words.isEmpty() ? QString("Nothing any category holds was heard.")
                                         : "Heard \"" + r.words + "\", which no command of today's list answers to.");
    return;
  }
  lbl_Command->setText(r.category + "  /  " + r.commandName);
  lbl_Words->setText("Words: " + r.words);
  lbl_Detail->setText(QString("Event %1     Action %2     Confidence %3")
                          .arg(r.eventName, r.actionText.isEmpty() ? QString("-") : r.actionText)
                          .arg(r.confidence, 0, 'f', 2));
}

void frm_Rehearse::Cancel() {
  if (m_listening) Engine()->StopListening();
  if (auto* configure = dynamic_cast<frm_Configure*>(m_host.screen("frm_Configure"))) configure->ReturnWithSelections();
}

void frm_Rehearse::OpenAttempt(int row) {
  if (row < 0 || row >= static_cast<int>(m_log.Attempts().size()) || m_listening) return;
  const RehearsalResult& r = m_log.Attempts()[static_cast<size_t>(row)];
  if (!r.IsCommand()) return;
  if (auto* configure = dynamic_cast<frm_Configure*>(m_host.screen("frm_Configure")))
    configure->ReturnToCommand(r.commandIndex);
}

// The saved microphone key (a letter or digit, with or without Shift, as
// the microphone setup stores it) starts listening as it will in flight.
bool frm_Rehearse::IsMicrophoneKey(const QKeyEvent& event) const {
  const QString key = m_ctx.state.settings.micSwitch.trimmed().toLower();
  const int code = ui::VirtualKeyCode(event);
  if (key.isEmpty() || event.isAutoRepeat() || !((code >= 48 && code <= 57) || (code >= 65 && code <= 90))) return false;
  return key == (ui::ShiftOnly(event) ? QStringLiteral("shift+") : QString()) + QString(QChar(code)).toLower();
}

void frm_Rehearse::HoldToTalk() {
  if (m_listening) return;
  m_keyHeld = true;
  Start();
  m_keyHeld = false;
}

// Letting go of the key ends the capture; what was said is then decided on.
void frm_Rehearse::Released() {
  if (m_listening && m_keyHeld) Engine()->FinishListening();
  m_keyHeld = false;
}

void frm_Rehearse::keyPressEvent(QKeyEvent* event) {
  if (IsMicrophoneKey(*event)) {
    event->accept();
    HoldToTalk();
    return;
  }
  SkinnedScreen::keyPressEvent(event);
}

void frm_Rehearse::keyReleaseEvent(QKeyEvent* event) {
  if (IsMicrophoneKey(*event)) {
    event->accept();
    Released();
    return;
  }
  SkinnedScreen::keyReleaseEvent(event);
}

bool frm_Rehearse::eventFilter(QObject* watched, QEvent* event) {
  // The list would take a letter for its own search.
  if (watched == lst_Attempts && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
      IsMicrophoneKey(*static_cast<QKeyEvent*>(event))) {
    if (event->type() == QEvent::KeyPress)
      HoldToTalk();
    else
      Released();
    return true;
  }
  return SkinnedScreen::eventFilter(watched, event);
}

}  // namespace qv::grammar
