#include "gui/grammar/frm_Test.h"

#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

#include "base/Cp1252.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/SpeechFacade.h"
#include "core/grammar/TestGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"

namespace qv::grammar {
namespace {

const QString kPressOk = QStringLiteral("Please press OK to continue...");

}  // namespace

frm_Test::frm_Test(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Test", services, host, "Test_BG.bmp"), m_speech(services.speech) {
  pic_Icon = ui::MakeLabel(this, "pic_Icon", {}, {20, 20, 64, 64});

  ui::MakeLabel(this, "lbl_ScriptCaption", "Sentences of the phrase under test", {100, 16, 670, 18});
  txtScript = new QPlainTextEdit(this);
  txtScript->setObjectName("txtScript");
  txtScript->setGeometry(100, 36, 670, 282);
  txtScript->setReadOnly(true);
  txtScript->setLineWrapMode(QPlainTextEdit::NoWrap);

  ui::MakeLabel(this, "lbl_ResultCaption", "Recognised", {100, 326, 670, 18});
  lblResult = ui::MakeLabel(this, "lblResult", {}, {100, 346, 670, 44});
  lblResult->setWordWrap(true);
  QFont f = lblResult->font();
  f.setPointSize(f.pointSize() + 5);
  f.setBold(true);
  lblResult->setFont(f);
  lblResult->setStyleSheet(
      "background: rgba(255, 255, 255, 170); color: rgb(45, 45, 45); border: 1px solid rgb(160, 172, 186);"
      " padding: 4px;");

  pb_Level = new QProgressBar(this);
  pb_Level->setObjectName("pb_Level");
  pb_Level->setGeometry(100, 396, 670, 10);
  pb_Level->setRange(0, 100);
  pb_Level->setTextVisible(false);
  pb_Level->setStyleSheet(
      "QProgressBar { background: rgba(255, 255, 255, 170); border: 1px solid rgb(160, 172, 186); }"
      " QProgressBar::chunk { background: rgb(70, 150, 90); }");
  pb_Level->hide();
  lbl_Status = ui::MakeLabel(this, "lbl_Status", {}, {100, 410, 670, 20});
  m_meterTimer = new QTimer(this);
  m_meterTimer->setInterval(50);
  connect(m_meterTimer, &QTimer::timeout, this, &frm_Test::ShowLevel);

  Route(ui::ButtonKind::Small, "start", [this] { Start(); });
  Route(ui::ButtonKind::Small, "cancel", [this] { Cancel(); });
}

void frm_Test::ShowLevel() {
  const ListeningProgress p = m_speech.RecognizerProgress();
  pb_Level->setValue(static_cast<int>(p.level * 100 + 0.5));
  lbl_Status->setText(QString("Listening... %1 s").arg(p.heardSeconds, 0, 'f', 1));
}

void frm_Test::ShowIcon(const QString& file) {
  m_icon = file;
  const QString path = m_installDir + "/Media/Icons/" + file;
  if (QFileInfo::exists(path)) pic_Icon->setPixmap(QPixmap(path));
  // The picture tells how the test stands; it is read out as such.
  static const QHash<QString, QString> said{{"icon_ready.bmp", "Ready: press Start and speak the phrase"},
                                            {"icon_Begin.bmp", "Listening: speak now"},
                                            {"icon_Result.bmp", "Recognised"},
                                            {"icon_Problem.bmp", "Not recognised"}};
  pic_Icon->setAccessibleName("Test state");
  pic_Icon->setAccessibleDescription(said.value(file));
}

QString frm_Test::NumberedSentences(const QStringList& sentences) {
  QStringList lines;
  for (int i = 0; i < sentences.size(); ++i) {
    QString s = TrimSpaces(sentences[i]);
    if (!s.isEmpty()) s[0] = s[0].toUpper();
    lines << QString::number(i + 1) + ".  " + s;
  }
  return lines.join(QStringLiteral("\r\n"));
}

void frm_Test::Begin(int commandIndex, int grammarIndex) {
  shell::Dialogs& d = m_ctx.dialogs;
  d.ProgressOpen(
      "Creating Test Grammar",
      shell::JoinLines({"Creating the test grammar and loading the speech recognition engine.", "Please stand by..."}));
  d.ProgressUpdate("Writing Grammar Files", 20);
  if (WriteTestGrammar(m_ctx, commandIndex, grammarIndex) != 0) {
    d.ProgressHide();
    d.ShowMessage("Error Writing Test Grammar",
                  shell::JoinLines({"There was an error writing out the test command.  Please check the selected "
                                    "rule for errors.",
                                    kPressOk}),
                  shell::kIconError, true, false, QString());
    return;
  }
  if (!m_ctx.state.speechReady) {
    d.ProgressHide();
    return;
  }
  d.ProgressUpdate("Loading Speech Recognizer", 80);
  QByteArray buffer = RecognizerBuffer();
  if (m_speech.fnSpeechRecDLL_Call(0, buffer) == -3) {
    d.ProgressHide();
    d.ShowMessage("Error in Recognition Engine", "Failed to Initialize", shell::kIconError, true, false, QString());
    return;
  }
  d.ProgressHide();

  ExpandGrammar(m_ctx, commandIndex, grammarIndex);
  txtScript->setPlainText(m_ctx.state.phraseCount == -99 ? QString() : NumberedSentences(m_ctx.state.phraseList));
  lblResult->clear();
  ShowIcon("icon_ready.bmp");

  m_host.Enter(objectName());
}

void frm_Test::Start() {
  if (!m_ctx.state.speechReady || m_listening) return;
  lblResult->clear();
  ShowIcon("icon_Begin.bmp");
  pb_Level->setValue(0);
  pb_Level->show();
  lbl_Status->setText("Listening...");
  repaint();

  m_listening = true;
  m_meterTimer->start();
  QByteArray buffer = RecognizerBuffer();
  const int16_t status = m_speech.fnSpeechRecDLL_Call(1, buffer);
  m_meterTimer->stop();
  m_listening = false;
  pb_Level->hide();
  const ListeningProgress heard = m_speech.RecognizerProgress();
  lbl_Status->setText(QString("Heard %1 s of sound, %2 s of it speech.")
                          .arg(heard.heardSeconds, 0, 'f', 1)
                          .arg(heard.speechSeconds, 0, 'f', 1));
  if (status == 0) {
    ShowIcon("icon_Result.bmp");
    lblResult->setText(base::FromCp1252(RecognizedPhrase(buffer)));
  } else if (status == -2) {
    ShowIcon("icon_Problem.bmp");
    lblResult->setText("NO VALID RECOGNITION RESULT");
  } else if (status == -3) {
    ShowIcon("icon_Problem.bmp");
    // The engine's own words stay; the cause, when known, is one more line.
    const QString sentence = "There was an error in the speech recognition engine.  Please contact Veltrane Support.";
    const QString cause = m_speech.RecognizerFailureCause();
    m_ctx.dialogs.ShowMessage(
        "Error in Speech Recognition Engine",
        cause.isEmpty() ? shell::JoinLines({sentence, kPressOk}) : shell::JoinLines({sentence, cause, kPressOk}),
        shell::kIconError, true, false, QString());
  }
}

void frm_Test::Cancel() {
  if (m_ctx.state.speechReady) {
    QByteArray buffer = RecognizerBuffer();
    m_speech.fnSpeechRecDLL_Call(3, buffer);
  }
  if (auto* configure = dynamic_cast<frm_Configure*>(m_host.screen("frm_Configure"))) configure->ReturnWithSelections();
}

}  // namespace qv::grammar
