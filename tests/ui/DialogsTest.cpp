#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

#include "AppHarness.h"
#include "core/shell/Dialogs.h"
#include "gui/kit/QtFileDialogs.h"
#include "gui/kit/frm_Input.h"
#include "gui/kit/frm_Message.h"
#include "gui/kit/frm_Progress.h"

using namespace qv;

// What a message's OK leads to, by its tag; Cancel leads to nothing.
TEST(Dialogs, MessageOkRunsTheFollowUpOfTheTagAndCancelNothing) {
  const std::pair<const char*, QString> cases[] = {// "" = the dialog only hides
                                                   {"shutdown_on_ok", "shutdown"},
                                                   {"delete_grammar", "accepted"},
                                                   {"delete_readback", "accepted"},
                                                   {"cmod_restart", "restart"},
                                                   {"cassign_restart", "restart"},
                                                   {"gcompile_restart", "restart"},
                                                   {"", ""},
                                                   {"no_such_tag", ""},
                                                   {"CMOD_RESTART", ""}};
  for (const auto& [tag, expected] : cases)
    for (bool ok : {true, false}) {
      SCOPED_TRACE(testing::Message() << "tag [" << tag << "] " << (ok ? "OK" : "Cancel"));
      test::AppHarness h;
      h.SetRunning(true, true);
      h.ShowFrame();
      ui::SkinnedDialogs& d = h.app->dialogs();
      QSignalSpy accepted(&d, &ui::SkinnedDialogs::messageAccepted);
      ok ? h.dialogs->Ok() : h.dialogs->Cancel();
      d.ShowMessage("T", "M", shell::kIconInformation, true, true, tag);
      EXPECT_FALSE(d.message()->isVisible());
      EXPECT_EQ(d.dialogName, tag);
      const QString& e = ok ? expected : QString();
      EXPECT_EQ(h.fakes.exit->calls, e == "shutdown" ? 1 : 0);
      EXPECT_EQ(accepted.size(), e == "accepted" ? 1 : 0);
      // A restart hides every screen and the frame, then closes and starts the runtime again.
      EXPECT_EQ(h.log.filter("VT Murmex").size() + h.log.filter("murmexr").size(), e == "restart" ? 2 : 0);
      EXPECT_EQ(h.frame().isVisible(), e != "restart");
    }
}

TEST(Dialogs, MessageSetsTextsButtonsIconAndPlace) {
  test::AppHarness h;
  ui::SkinnedDialogs& d = h.app->dialogs();
  d.ShowMessage("Title", "One\r\rTwo", shell::kIconError, true, false, "");
  EXPECT_EQ(h.dialogs->last().message, "One\n\nTwo");
  EXPECT_FALSE(h.dialogs->last().cancelShown);
  EXPECT_EQ(d.message()->size(), QSize(500, 250));
  const QImage errorIcon = d.message()->icon()->pixmap().toImage();
  d.ShowMessage("Title", "x", 3, true, false, "");  // not an icon: the last one stays
  EXPECT_EQ(d.message()->icon()->pixmap().toImage(), errorIcon);
  d.ShowMessage("Title", "x", shell::kIconInformation, true, false, "");
  EXPECT_NE(d.message()->icon()->pixmap().toImage(), errorIcon);
  // An icon bitmap's background box is left out over the title band.
  QImage bitmap(48, 48, QImage::Format_RGB32);
  bitmap.fill(QColor(214, 222, 230));
  QPainter(&bitmap).fillRect(12, 12, 24, 24, Qt::blue);
  QDir().mkpath(h.install.installDir + "/Media/Icons");
  ASSERT_TRUE(bitmap.save(h.install.installDir + "/Media/Icons/icon_Warning.bmp"));
  d.ShowMessage("Title", "x", shell::kIconWarning, true, false, "");
  const QImage warning = d.message()->icon()->pixmap().toImage();
  EXPECT_EQ(warning.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(warning.pixelColor(24, 24), QColor(Qt::blue));
  // Centred on the screen while the frame is hidden, over the frame once it shows.
  h.frame().move(0, 0);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(d.message()->geometry().center().x() / 4, screen.center().x() / 4);
  h.ShowFrame();
  d.ShowMessage("T", "M", 0, true, false, "");
  EXPECT_EQ(d.message()->x(), h.frame().frameGeometry().left() + h.frame().frameGeometry().width() / 2 - 250);
}

TEST(Dialogs, InputHandsTheTextToItsTagOnOkOrEnterAndNothingOnCancel) {
  test::AppHarness h;
  ui::SkinnedDialogs& d = h.app->dialogs();
  QSignalSpy accepted(&d, &ui::SkinnedDialogs::inputAccepted);
  h.dialogs->custom = [&](ui::DialogWindow*) {
    d.input()->input()->setText("  flaps up ");
    QTest::keyClick(d.input()->input(), Qt::Key_Return);
  };
  d.ShowInput("Add New Grammar", "msg", "Enter Grammar:", true, true, "", "add_grammar");
  ASSERT_EQ(accepted.size(), 1);
  EXPECT_EQ(accepted[0], (QVariantList{"add_grammar", "  flaps up "}));
  h.dialogs->custom = nullptr;
  h.dialogs->Cancel();
  d.ShowInput("New Checklist", "m", "File Name", true, true, "", "new_checklist");
  h.dialogs->Cancel();
  d.AskMicrophoneSwitch();
  EXPECT_EQ(accepted.size(), 1);
  EXPECT_FALSE(d.input()->timer()->isActive());
}

// The file-open dialog shows the caller's title and its filter once.
TEST(Dialogs, FileOpenShowsItsTitleAndFilter) {
  EXPECT_EQ(ui::QtNameFilters("Configuration File |*.cfg|All|*.a;*.b"),
            (QStringList{"Configuration File (*.cfg)", "All (*.a *.b)"}));
  QString title;
  QStringList filters;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      title = dialog->windowTitle();
      filters = dialog->nameFilters();
      dialog->reject();
    }
  });
  poll.start(10);
  ui::QtFileDialogs files;
  EXPECT_EQ(files.OpenFile("Select Checklist File to Modify", "Checklist Files (*.dat)|*.dat", QDir::tempPath()), "");
  EXPECT_EQ(title, "Select Checklist File to Modify");
  EXPECT_EQ(filters, QStringList{"Checklist Files (*.dat)"});
}

TEST(Dialogs, ProgressShowsRoundedPercentages) {
  test::AppHarness h;
  ui::SkinnedDialogs& d = h.app->dialogs();
  d.ProgressOpen("Compiling", "Writing grammar files");
  ui::frm_Progress* p = d.progress();
  EXPECT_TRUE(p->isVisible());
  for (const auto& [percent, text, bar] : {std::tuple{0.0, "0%", 0}, std::tuple{37.6, "38%", 38},
                                           std::tuple{99.5, "100%", 100}, std::tuple{100.0, "100%", 100}}) {
    d.ProgressUpdate("step", percent);
    EXPECT_EQ(p->percentage()->text(), text);
    EXPECT_EQ(p->bar()->value(), bar);
  }
  d.ProgressHide();
  EXPECT_FALSE(p->isVisible());
}

// Accepted keys are captured, others beep and keep the previous capture.
TEST(MicSwitch, RecordsAcceptedKeysAndBeepsOnOthers) {
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QString expected;                                              // what is captured; "" = beep, previous value kept
  } cases[] = {{Qt::Key_Ampersand, Qt::ShiftModifier, "shift+7"},  // Shift+7 on the digit row
               {Qt::Key_Q, Qt::ShiftModifier | Qt::ControlModifier, "q"},
               {Qt::Key_F1, Qt::ShiftModifier, "shift+p"},  // code 112
               {Qt::Key_1, Qt::KeypadModifier, "a"},        // code 97
               {Qt::Key_F13, Qt::NoModifier, ""},           // code 124
               {Qt::Key_Left, Qt::NoModifier, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << static_cast<int>(c.key));
    test::AppHarness h;
    ui::frm_Input* in = h.app->dialogs().input();
    int beeps = 0;
    in->beep = [&] { ++beeps; };
    h.dialogs->custom = [&](ui::DialogWindow*) {
      QTest::keyClick(in->input(), Qt::Key_K);  // the previous capture
      QTest::keyClick(in->input(), c.key, c.mods);
      test::Click(in->cancelButton());
    };
    h.app->dialogs().AskMicrophoneSwitch();
    const QString expected = c.expected.isEmpty() ? "k" : c.expected;
    EXPECT_EQ(h.state().settings.micSwitch, expected);  // in memory at once, even on Cancel
    EXPECT_EQ(in->input()->text(), expected);
    EXPECT_EQ(beeps, c.expected.isEmpty() ? 1 : 0);
  }
}

TEST(MicSwitch, JoystickPollWalksTheJoysticksAndTheHighestButtonWins) {
  test::AppHarness h;
  ui::frm_Input* in = h.app->dialogs().input();
  h.fakes.joystick->buttons.insert(1, (1u << 2) | (1u << 5));
  h.fakes.joystick->buttons.insert(3, 0);
  QStringList seen;
  h.dialogs->custom = [&](ui::DialogWindow*) {
    EXPECT_EQ(in->timer()->interval(), 100);
    for (int tick = 0; tick < 5; ++tick) {
      in->PollJoystick();
      seen << QString::number(in->pollCounter());
    }
    test::Click(in->cancelButton());
  };
  h.app->dialogs().AskMicrophoneSwitch();
  EXPECT_EQ(seen.join(','), "1,2,3,4,0");
  EXPECT_EQ(h.state().settings.micSwitch, "joystick:1:button:5");
}
