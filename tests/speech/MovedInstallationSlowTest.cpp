// The demo installation laid out, moved somewhere else, then compiled and
// tested there through the command-line companion: nothing may depend on the
// place it was built, and the recogniser's model comes from the installation.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "speech/AudioSource.h"
#include "speech/Espeak.h"
#include "speech/SpeechModel.h"

namespace qv::test {
namespace {

void Say(const QString& text, const QString& path) { ASSERT_TRUE(WriteSpokenWav(text, "en-us", 160, path)); }

TEST(MovedInstallationSlowTest, AMovedDemoCompilesAndRecognisesWithItsOwnModel) {
  QTemporaryDir root;
  QProcess make;
  make.start(QStringLiteral(QV_TOOLS_DIR "/qv_make_demo"),
             {"--source", QStringLiteral(QV_DEMO_SOURCE_DIR), "--out", root.path() + "/built"});
  ASSERT_TRUE(make.waitForFinished(120000));
  ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();
  const QString moved = root.path() + "/elsewhere/Quorvane";
  QDir().mkpath(root.path() + "/elsewhere");
  ASSERT_TRUE(QDir().rename(root.path() + "/built/FSX/Veltrane Software/Quorvane", moved));
  ASSERT_EQ(speech::FindSpeechModel(moved).root, speech::InstallationModelDir(moved));

  const CliResult compiled = RunCli({"compile", moved});
  ASSERT_EQ(compiled.exitCode, 0) << compiled.out.toStdString() << compiled.err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(moved + "/Grammars/Compiled/Radios.fsg"));

  struct Case {
    const char* command;  // index in the demo's command list
    const char* sentence;
  };
  for (const Case& c : {Case{"68", "set heading two seven zero"}, Case{"103", "tune nav one seattle"}}) {
    const CliResult written = RunCli({"test-grammar", moved, c.command, "0"});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    const QString wav = root.path() + "/said.wav";
    Say(c.sentence, wav);
    const CliResult heard = RunCli({"recognize", moved, wav});
    EXPECT_EQ(heard.exitCode, 0) << c.sentence << ": " << heard.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(heard.out).trimmed(), c.sentence);
  }
}

}  // namespace
}  // namespace qv::test
