// Closed loop through the pilot's pronunciation list: two made-up words are
// given two made-up sounds, which the synthetic voices speak through their
// phoneme input; the recogniser must hear each sound as the word the list
// gives it, and swapping the list swaps what is heard.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "SpeechTestSupport.h"
#include "TestEnv.h"
#include "speech/AudioSource.h"
#include "speech/Espeak.h"
#include "speech/Pronouncer.h"
#include "speech/Voices.h"

namespace qv::test {
namespace {

void Synth(const QString& text, int voice, const QString& path) {
  ASSERT_TRUE(WriteSpokenWav(text, speech::EspeakVoiceFor(voice), speech::RateToWordsPerMinute(50), path));
}

// The words heard in each file, in order ("" when nothing was accepted).
QStringList Recognize(const QString& install, const QStringList& files) {
  QProcess cli;
  cli.start(QStringLiteral(QV_CLI_PATH), QStringList{"recognize", install} + files);
  EXPECT_TRUE(cli.waitForFinished(300000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  QStringList heard;
  for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
    const QStringList cols = line.split('\t');
    heard << (cols.value(1) == "0" ? cols.value(2) : QString());
  }
  return heard;
}

TEST(PronunciationListSlowTest, TheListDecidesWhatIsHeard) {
  QTemporaryDir root;
  const QString install = root.path();
  const QString test = install + "/Grammars/Test";
  QDir().mkpath(test);
  QDir().mkpath(install + "/Data");
  QFile::copy(GenericListsFixture(), test + "/Generic Lists.bnf");
  WriteBnf(test + "/Test.bnf", TestGrammarText("select (blorvik | quennet) please", false));
  const QString maroka = "M AA R OW K AH", telveen = "T EH L V IY N";
  QStringList files, spoken;
  for (int voice : {1, 2, 3})
    for (const QString& sound : {maroka, telveen}) {
      files << install + QString("/%1_%2.wav").arg(spoken.size()).arg(voice);
      spoken << sound;
      Synth("select " + speech::ModelToEspeakPhonemes(sound) + " please", voice, files.back());
    }
  const QString list = install + "/Data/Pronunciations.txt";
  WriteBytes(list, ("# made-up sounds for made-up words\nblorvik\t" + maroka + "\nquennet\t" + telveen + "\n").toUtf8());
  const QStringList first = Recognize(install, files);
  WriteBytes(list, ("blorvik\t" + telveen + "\nquennet\t" + maroka + "\n").toUtf8());
  const QStringList swapped = Recognize(install, files);
  ASSERT_EQ(first.size(), files.size());
  ASSERT_EQ(swapped.size(), files.size());
  // The rejection may turn a file away; what is heard must never be the
  // other word, and most files must be heard as the list says.
  int right = 0;
  for (int i = 0; i < files.size(); ++i) {
    const bool isMaroka = spoken[i] == maroka;
    const QString a = isMaroka ? "select blorvik please" : "select quennet please";
    const QString b = isMaroka ? "select quennet please" : "select blorvik please";
    EXPECT_TRUE(first[i] == a || first[i].isEmpty()) << first[i].toStdString() << " " << files[i].toStdString();
    EXPECT_TRUE(swapped[i] == b || swapped[i].isEmpty()) << swapped[i].toStdString() << " " << files[i].toStdString();
    right += (first[i] == a) + (swapped[i] == b);
  }
  std::printf("heard as the list says: %d of %lld\n", right, static_cast<long long>(2 * files.size()));
  EXPECT_GE(right * 4, 3 * 2 * files.size());
}

}  // namespace
}  // namespace qv::test
