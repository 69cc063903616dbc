#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "UiEnv.h"
#include "core/shell/Dialogs.h"
#include "data/IniFile.h"
#include "gui/kit/DialogTags.h"
#include "gui/kit/frm_Input.h"
#include "gui/kit/frm_Message.h"
#include "gui/kit/frm_Progress.h"

using namespace qv;

namespace {

struct TagCase {
  QString tag;
  QString expected;  // the recorded follow-up, "" = only hidden
};

class MessageTags : public testing::TestWithParam<TagCase> {};

}  // namespace

TEST_P(MessageTags, OkRunsTheFollowUpOfTheTag) {
  test::UiEnv ui;
  QStringList log;
  ui.dialogs->SetMessageFollowUp("checklist_backup", [&] { log << "backup"; });
  ui.dialogs->SetMessageFollowUp("delete_grammar", [&] { log << "delete_grammar"; });
  ui.dialogs->SetMessageFollowUp("delete_readback", [&] { log << "delete_readback"; });
  ui.launch.restartRuntime = [&] { log << "restart"; };
  ui.frame->show();
  ui.frame->ShowInParent("frm_Home");
  ui.AnswerWith("btn_OK");
  ui.dialogs->ShowMessage("T", "M", shell::kIconInformation, true, true, GetParam().tag);
  EXPECT_FALSE(ui.dialogs->message()->isVisible());
  EXPECT_EQ(ui.dialogs->dialogName, GetParam().tag);
  if (GetParam().expected == "shutdown") {
    EXPECT_TRUE(ui.env.shutdown.HasShutDown());
  } else {
    EXPECT_FALSE(ui.env.shutdown.HasShutDown());
    EXPECT_EQ(log.join(','), GetParam().expected);
  }
  if (GetParam().expected == "restart") {
    EXPECT_FALSE(ui.frame->isVisible());  // every screen hidden before the restart
    EXPECT_EQ(ui.frame->visibleScreen(), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(All, MessageTags,
                         testing::Values(TagCase{"shutdown_on_ok", "shutdown"}, TagCase{"checklist_backup", "backup"},
                                         TagCase{"delete_grammar", "delete_grammar"},
                                         TagCase{"delete_readback", "delete_readback"},
                                         TagCase{"cmod_restart", "restart"}, TagCase{"cassign_restart", "restart"},
                                         TagCase{"gcompile_restart", "restart"}, TagCase{"", ""},
                                         TagCase{"no_such_tag", ""}, TagCase{"CMOD_RESTART", ""}));

TEST(Dialogs, CancelOnlyHides) {
  test::UiEnv ui;
  bool ran = false;
  ui.launch.restartRuntime = [&] { ran = true; };
  ui.AnswerWith("btn_Cancel");
  ui.dialogs->ShowMessage("T", "M", shell::kIconWarning, true, true, "gcompile_restart");
  EXPECT_FALSE(ran);
  EXPECT_EQ(ui.answered, QStringList{"frm_Message"});
}

TEST(Dialogs, MessageSetsTextsButtonsAndKeepsTheIconForUnknownValues) {
  test::UiEnv ui;
  ui::frm_Message* msg = ui.dialogs->message();
  QString seenMessage;
  bool cancelShown = true;
  ui.dialogs->autoAnswer = [&](ui::DialogWindow* d) {
    seenMessage = d->message()->text();
    cancelShown = msg->cancelButton()->isVisible();
    test::Click(msg->okButton());
  };
  ui.dialogs->ShowMessage("Title", "One\r\rTwo", shell::kIconError, true, false, "");
  EXPECT_EQ(seenMessage, "One\n\nTwo");
  EXPECT_FALSE(cancelShown);
  EXPECT_EQ(msg->title()->text(), "Title");
  const QImage errorIcon = msg->icon()->pixmap().toImage();
  ui.dialogs->ShowMessage("Title", "x", 3, true, false, "");
  EXPECT_EQ(msg->icon()->pixmap().toImage(), errorIcon);
  ui.dialogs->ShowMessage("Title", "x", shell::kIconInformation, true, false, "");
  EXPECT_NE(msg->icon()->pixmap().toImage(), errorIcon);
  EXPECT_EQ(msg->size(), QSize(500, 250));
}

TEST(Dialogs, MessageCentresOnTheScreenWhileTheFrameIsHidden) {
  test::UiEnv ui;
  ui.frame->move(0, 0);
  ui.AnswerWith("btn_OK");
  ui.dialogs->ShowMessage("T", "M", 0, true, false, "");
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(ui.dialogs->message()->geometry().center().x() / 4, screen.center().x() / 4);
  ui.frame->show();
  ui.dialogs->ShowMessage("T", "M", 0, true, false, "");
  EXPECT_EQ(ui.dialogs->message()->x(), ui.frame->frameGeometry().left() + ui.frame->frameGeometry().width() / 2 - 250);
}

TEST(Dialogs, InputOkHandsTheTextToTheTagAndEnterActsAsOk) {
  test::UiEnv ui;
  for (const QString& tag : ui::InputTagTable()) {
    if (tag == ui::kMicSwitchTag) continue;
    QString got;
    ASSERT_TRUE(ui.dialogs->SetInputAction(tag, [&](const QString& text) { got = text; }));
    ui.dialogs->autoAnswer = [&](ui::DialogWindow*) {
      ui::frm_Input* in = ui.dialogs->input();
      in->input()->setText("  flaps up ");
      QTest::keyClick(in->input(), Qt::Key_Return);
    };
    ui.dialogs->ShowInput("Add New Grammar", "msg", "Enter Grammar:", true, true, "", tag);
    EXPECT_EQ(got, "  flaps up ") << tag.toStdString();
    EXPECT_EQ(ui.dialogs->inputName, tag);
    EXPECT_FALSE(ui.dialogs->input()->captureMode());
  }
  EXPECT_FALSE(ui.dialogs->SetInputAction("mic_switch", [](const QString&) {}));
  EXPECT_FALSE(ui.dialogs->SetMessageFollowUp("shutdown_on_ok", [] {}));
}

TEST(Dialogs, InputCancelRunsNothingAndStopsThePoll) {
  test::UiEnv ui;
  bool ran = false;
  ui.dialogs->SetInputAction("new_checklist", [&](const QString&) { ran = true; });
  ui.AnswerWith("btn_Cancel");
  ui.dialogs->ShowInput("New Checklist", "m", "File Name", true, true, "", "new_checklist");
  ui.dialogs->AskMicrophoneSwitch();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(ui.dialogs->input()->timer()->isActive());
  EXPECT_EQ(ui.answered.size(), 2);
}

TEST(Dialogs, ProgressShowsRoundedPercentages) {
  test::UiEnv ui;
  ui.dialogs->ProgressOpen("Compiling", "Writing grammar files");
  ui::frm_Progress* p = ui.dialogs->progress();
  EXPECT_TRUE(p->isVisible());
  EXPECT_EQ(p->percentage()->text(), "0%");
  struct {
    double percent;
    const char* text;
    int bar;
  } cases[] = {{0, "0%", 0}, {37.6, "38%", 38}, {99.5, "100%", 100}, {100, "100%", 100}};
  for (const auto& c : cases) {
    ui.dialogs->ProgressUpdate("step", c.percent);
    EXPECT_EQ(p->percentage()->text(), c.text);
    EXPECT_EQ(p->bar()->value(), c.bar);
  }
  EXPECT_EQ(p->message()->text(), "step");
  ui.dialogs->ProgressHide();
  EXPECT_FALSE(p->isVisible());
}

// --- microphone switch -------------------------------------------------------

namespace {

struct KeyCase {
  Qt::Key key;
  Qt::KeyboardModifiers mods;
  QString expected;  // what is captured; "" = beep, previous value kept
};

class KeyCapture : public testing::TestWithParam<KeyCase> {};

}  // namespace

TEST_P(KeyCapture, RecordsAcceptedKeysAndBeepsOnOthers) {
  test::UiEnv ui;
  ui::frm_Input* in = ui.dialogs->input();
  int beeps = 0;
  in->beep = [&] { ++beeps; };
  ui.dialogs->autoAnswer = [&](ui::DialogWindow*) {
    QTest::keyClick(in->input(), Qt::Key_K);  // the previous capture
    QTest::keyClick(in->input(), GetParam().key, GetParam().mods);
    test::Click(in->cancelButton());
  };
  ui.dialogs->AskMicrophoneSwitch();
  const QString expected = GetParam().expected.isEmpty() ? "k" : GetParam().expected;
  EXPECT_EQ(ui.env.state.settings.micSwitch, expected);
  EXPECT_EQ(in->input()->text(), expected);
  EXPECT_EQ(beeps, GetParam().expected.isEmpty() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    All, KeyCapture,
    testing::Values(KeyCase{Qt::Key_7, Qt::NoModifier, "7"}, KeyCase{Qt::Key_Q, Qt::NoModifier, "q"},
                    KeyCase{Qt::Key_Q, Qt::ShiftModifier, "shift+q"},
                    KeyCase{Qt::Key_Ampersand, Qt::ShiftModifier, "shift+7"},  // Shift+7 on the digit row
                    KeyCase{Qt::Key_Q, Qt::ShiftModifier | Qt::ControlModifier, "q"},
                    KeyCase{Qt::Key_F1, Qt::ShiftModifier, "shift+p"},  // code 112
                    KeyCase{Qt::Key_F11, Qt::NoModifier, "z"},          // code 122
                    KeyCase{Qt::Key_1, Qt::KeypadModifier, "a"},        // code 97
                    KeyCase{Qt::Key_F13, Qt::NoModifier, ""},           // code 124
                    KeyCase{Qt::Key_Left, Qt::NoModifier, ""}, KeyCase{Qt::Key_Return, Qt::NoModifier, ""},
                    KeyCase{Qt::Key_Space, Qt::NoModifier, ""}));

TEST(MicSwitch, JoystickPollWalksTheJoysticksAndTheHighestButtonWins) {
  test::UiEnv ui;
  ui::frm_Input* in = ui.dialogs->input();
  ui.joystick.buttons.insert(1, (1u << 2) | (1u << 5));
  ui.joystick.buttons.insert(3, 0);
  QStringList seen;
  ui.dialogs->autoAnswer = [&](ui::DialogWindow*) {
    EXPECT_TRUE(in->timer()->isActive());
    EXPECT_EQ(in->timer()->interval(), 100);
    for (int tick = 0; tick < 5; ++tick) {
      in->PollJoystick();
      seen << QString::number(in->pollCounter());
    }
    test::Click(in->cancelButton());
  };
  ui.dialogs->AskMicrophoneSwitch();
  EXPECT_EQ(seen.join(','), "1,2,3,4,0");
  EXPECT_EQ(ui.env.state.settings.micSwitch, "joystick:1:button:5");
}

TEST(MicSwitch, OkSavesAndOffersARestartOnlyWhenBothProgramsRun) {
  for (bool running : {false, true}) {
    test::UiEnv ui;
    ui.launch.isSimRunning = [&] { return running; };
    ui.launch.isRuntimeRunning = [&] { return running; };
    QStringList order;
    ui.dialogs->autoAnswer = [&](ui::DialogWindow* d) {
      order << d->objectName();
      if (d->objectName() == "frm_Input") QTest::keyClick(ui.dialogs->input()->input(), Qt::Key_M);
      test::Click(d->findChild<ui::SkinnedButton*>(d->objectName() == "frm_Input" ? "btn_OK" : "btn_Cancel"));
    };
    ui.dialogs->AskMicrophoneSwitch();
    EXPECT_EQ(order, (QStringList{"frm_Input", "frm_Message"}));
    EXPECT_EQ(data::ReadIniString("Main", "microphone", ui.install.settingsPath()), "m");
    EXPECT_EQ(ui.dialogs->dialogName, running ? "gcompile_restart" : "");
    EXPECT_EQ(ui.dialogs->message()->title()->text(), "Microphone Setting Changed");
    EXPECT_EQ(ui.dialogs->message()->message()->text().contains("restart"), running);
  }
}
