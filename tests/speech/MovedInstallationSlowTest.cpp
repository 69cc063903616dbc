// The demo installation, moved after it was laid out, compiles and recognises
// there with its own model: nothing may depend on where it was built.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "SpeechTestSupport.h"
#include "speech/SpeechModel.h"

namespace qv::test {
namespace {

TEST(MovedInstallationSlowTest, AMovedDemoCompilesAndRecognisesWithItsOwnModel) {
  QTemporaryDir root;
  const QString built = BuildDemo(root.path() + "/built");
  const QString moved = root.path() + "/elsewhere/Quorvane";
  QDir().mkpath(root.path() + "/elsewhere");
  ASSERT_TRUE(QDir().rename(built, moved));
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
    ASSERT_TRUE(WriteSpokenWav(c.sentence, "en-us", 160, wav));
    const CliResult heard = RunCli({"recognize", moved, wav});
    EXPECT_EQ(heard.exitCode, 0) << c.sentence << ": " << heard.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(heard.out).trimmed(), c.sentence);
  }
}

}  // namespace
}  // namespace qv::test
