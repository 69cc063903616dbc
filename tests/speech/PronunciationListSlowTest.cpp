// Two made-up sounds spoken as phonemes must be heard as the words the
// pronunciation list gives them; swapping the list swaps what is heard.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "SpeechTestSupport.h"
#include "speech/Espeak.h"
#include "speech/Pronouncer.h"

namespace qv::test {
namespace {

TEST(PronunciationListSlowTest, TheListDecidesWhatIsHeard) {
  QTemporaryDir root;
  const QString install = root.path();
  MakeTestGrammar(install, "select (blorvik | quennet) please");
  QDir().mkpath(install + "/Data");
  const QString maroka = "M AA R OW K AH", telveen = "T EH L V IY N";
  QStringList files, spoken;
  for (int voice : {1, 2, 3})
    for (const QString& sound : {maroka, telveen}) {
      files << install + QString("/%1_%2.wav").arg(spoken.size()).arg(voice);
      spoken << sound;
      Speak("select " + speech::ModelToEspeakPhonemes(sound) + " please", voice, files.back());
    }
  const QString list = install + "/Data/Pronunciations.txt";
  WriteBytes(list,
             ("# made-up sounds for made-up words\nblorvik\t" + maroka + "\nquennet\t" + telveen + "\n").toUtf8());
  const Recognized first = Recognize(install, files);
  WriteBytes(list, ("blorvik\t" + telveen + "\nquennet\t" + maroka + "\n").toUtf8());
  const Recognized swapped = Recognize(install, files);
  // The rejection may turn a file away; what is heard must never be the
  // other word, and most files must be heard as the list says.
  int right = 0;
  for (size_t i = 0; i < size_t(files.size()); ++i) {
    const QString heard = first.Heard(i), heardSwapped = swapped.Heard(i);
    const bool isMaroka = spoken[i] == maroka;
    const QString a = isMaroka ? "select blorvik please" : "select quennet please";
    const QString b = isMaroka ? "select quennet please" : "select blorvik please";
    EXPECT_TRUE(heard == a || heard.isEmpty()) << heard.toStdString() << " " << files[i].toStdString();
    EXPECT_TRUE(heardSwapped == b || heardSwapped.isEmpty())
        << heardSwapped.toStdString() << " " << files[i].toStdString();
    right += (heard == a) + (heardSwapped == b);
  }
  std::printf("heard as the list says: %d of %lld\n", right, static_cast<long long>(2 * files.size()));
  EXPECT_GE(right * 4, 3 * 2 * files.size());
}

}  // namespace
}  // namespace qv::test
