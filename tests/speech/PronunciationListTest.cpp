// The pilot's pronunciation list: its faults told by line and column, used
// before the dictionary by the compiler, spoken back as phonemes.
#include <gtest/gtest.h>

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "SpeechTestSupport.h"
#include "speech/CompilerEngine.h"
#include "speech/Espeak.h"
#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"

namespace qv::test {
namespace {

TEST(PronunciationList, ReadsEntriesAndTellsWhereALineBreaks) {
  const QByteArray text =
      "\xEF\xBB\xBF# heading\r\n"
      "ILS\tAY EH L EH S  # spelt out\r\n"
      "blorvik\tB L AO R V IH K\n"
      "blorvik\tB L AO V IH K\n"
      "\n"
      "quennet  K W EH N AH T\n"
      "zorb\tZ AO R b\n"
      "zed\tZ EH DX\n";
  std::vector<speech::PronunciationProblem> problems;
  const auto list = speech::ParsePronunciationList(text, &problems);
  EXPECT_EQ(list.value("ils"), QStringList{"AY EH L EH S"});
  EXPECT_EQ(list.value("blorvik"), (QStringList{"B L AO R V IH K", "B L AO V IH K"}));
  EXPECT_EQ(list.size(), 2);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0].line, 6);
  EXPECT_TRUE(problems[0].message.contains("tab"));
  EXPECT_EQ(problems[1].line, 7);
  EXPECT_EQ(problems[1].column, 13);  // "b", after "zorb<TAB>Z AO R "
  EXPECT_TRUE(problems[1].message.contains("capitals"));
  EXPECT_EQ(problems[2].column, 10);
  EXPECT_TRUE(problems[2].message.contains("\"DX\" is not a phone"));
}

// Writing the screen's words back into any list changes only the entries of
// those words: every other line stays as written and in its order (comments,
// lines that cannot be read, other words), the written words read back as
// given, and writing the result again changes nothing.
TEST(PronunciationList, WritingBackKeepsEveryOtherLine) {
  std::mt19937 rng(11);
  const QStringList words = {"ils", "blorvik", "zulu", "kilo", "quennet"};
  const QStringList phones = {"AY EH L EH S", "B L AO R V IH K", "Z UW L UW", "K IY L OW", "IH L S"};
  auto pick = [&](const QStringList& from) { return from[static_cast<qsizetype>(rng() % from.size())]; };
  for (int round = 0; round < 400; ++round) {
    const QSet<QString> shown = {words[0], words[1], words[4]};
    const bool crlf = rng() % 2;
    QByteArray previous = rng() % 4 ? QByteArray() : QByteArray("\xEF\xBB\xBF");
    QList<QByteArray> others;  // lines that must survive, in order
    for (int n = static_cast<int>(rng() % 9); n > 0; --n) {
      QByteArray line;
      switch (rng() % 5) {
        case 0: line = "# note " + QByteArray::number(n); break;
        case 1: line = (pick(words) + " " + pick(phones)).toUtf8(); break;  // no tab: unreadable
        case 2: line = (pick(words) + "\t" + pick(phones).toLower()).toUtf8(); break;
        default: line = (pick(words) + "\t" + pick(phones)).toUtf8();
      }
      const auto parsed = speech::ParsePronunciationList(line);
      if (parsed.isEmpty() || !shown.contains(parsed.keys().first())) others << line;
      previous += line + (crlf ? "\r\n" : "\n");
    }
    std::vector<std::pair<QString, QString>> entries;
    for (int n = static_cast<int>(rng() % 4); n > 0; --n)
      entries.emplace_back(pick({words[0], words[1], words[4]}), pick(phones));
    const QByteArray out = speech::PronunciationListText(entries, previous, shown);
    QList<QByteArray> outLines = out.split('\n');
    qsizetype at = 0;
    for (const QByteArray& line : others) {
      while (at < outLines.size() && outLines[at] != line + (crlf ? "\r" : "")) ++at;
      ASSERT_LT(at, outLines.size()) << "lost: " << line.toStdString() << "\nfrom\n" << previous.toStdString();
      ++at;
    }
    const auto before = speech::ParsePronunciationList(previous), after = speech::ParsePronunciationList(out);
    for (const QString& w : words) {
      QStringList expected;
      if (!shown.contains(w)) expected = before.value(w);
      for (const auto& [word, p] : entries)
        if (word == w && !expected.contains(p)) expected << p;
      EXPECT_EQ(after.value(w), expected) << w.toStdString() << "\n" << out.toStdString();
    }
    EXPECT_EQ(speech::PronunciationListText(entries, out, shown), out);
  }
}

// For any run of phones with one damaged, the fault is reported at the
// damaged phone's first character.
TEST(PronunciationList, FaultColumnIsTheDamagedPhone) {
  std::mt19937 rng(7);
  const QStringList& phones = speech::ModelPhones();
  for (int round = 0; round < 300; ++round) {
    const int n = std::uniform_int_distribution<int>(1, 8)(rng);
    const int bad = std::uniform_int_distribution<int>(0, n - 1)(rng);
    QString text, damaged;
    int column = 0;
    for (int i = 0; i < n; ++i) {
      text += QString(std::uniform_int_distribution<int>(1, 3)(rng), u' ');
      QString p = phones[std::uniform_int_distribution<int>(0, static_cast<int>(phones.size()) - 1)(rng)];
      if (i == bad) {
        column = static_cast<int>(text.size()) + 1;
        p = round % 2 ? p.toLower() : p + "X";
      }
      text += p;
    }
    EXPECT_EQ(speech::PhonesFault(text), column) << text.toStdString();
  }
  EXPECT_EQ(speech::PhonesFault("K IH CH AH N"), 0);
  EXPECT_GT(speech::PhonesFault("   "), 0);
}

// Phones are spoken as phonemes, not spelt out: a word said through its
// phones lasts about as long as the word read as text, where letters read
// one by one would take several times longer.
TEST(PronunciationList, PhonesAreSpokenAsPhonemes) {
  if (!speech::EspeakAvailable()) GTEST_SKIP() << "eSpeak NG is not installed";
  speech::Pronouncer dictionary(speech::FindSpeechModel(QString()).dictionary);
  ASSERT_TRUE(dictionary.DictionaryLoaded());
  auto seconds = [](const QString& text) {
    std::vector<int16_t> samples;
    int rate = 0;
    EXPECT_TRUE(speech::EspeakSynthesize(text, "en-us", 175, 100, samples, rate));
    return rate > 0 ? static_cast<double>(samples.size()) / rate : 0.0;
  };
  for (const char* word : {"kitchen", "altitude", "squawk", "throttle", "measure"}) {
    const QString phonemes = speech::ModelToEspeakPhonemes(dictionary.Pronunciations(word).value(0));
    EXPECT_TRUE(phonemes.startsWith("[[") && phonemes.endsWith("]]")) << phonemes.toStdString();
    const double spoken = seconds(phonemes), read = seconds(word);
    EXPECT_LT(spoken, read * 1.6) << word << " " << phonemes.toStdString();
    EXPECT_GT(spoken, read * 0.5) << word << " " << phonemes.toStdString();
  }
}

// Words made ahead on the helper thread get the phones they would get in
// place, whatever order they are asked for in; a word not among them is
// made in place.
TEST(PronunciationList, WordsMadeAheadAreMadeAsInPlace) {
  if (!speech::EspeakAvailable()) GTEST_SKIP() << "eSpeak NG is not installed";
  QStringList spellings;
  for (const char* w : {"blorvik", "Quennet", "VORTAC", "tileless", "--", "o'hare", "koln_bonn"}) spellings << w;
  std::mt19937 rng(7);
  for (int i = 0; i < 80; ++i) spellings << QString("zan%1vel").arg(static_cast<int>(rng() % 1000));
  spellings.removeDuplicates();
  speech::DerivedAhead ahead(spellings);
  speech::Pronouncer p(speech::FindSpeechModel(QString()).dictionary);
  p.UseDerivedAhead(&ahead);
  QStringList asked = spellings;
  std::shuffle(asked.begin(), asked.end(), rng);
  for (const QString& s : asked) EXPECT_EQ(p.Derive(s, s), speech::Pronouncer::DerivePhones(s)) << s.toStdString();
  QString phones;
  EXPECT_FALSE(ahead.Take("gardenvik", phones));
  EXPECT_TRUE(speech::Pronouncer::DerivePhones("--").isEmpty());
}

// The compiler takes the list's phones first, and a changed list is a
// changed dictionary for the kept list grammars.
TEST(PronunciationList, CompilerUsesTheListFirst) {
  QTemporaryDir dir;
  const QString grammars = MakeTestGrammar(dir.path(), "select (blorvik | kitchen) <HDG>");
  const speech::CompileResult before = speech::CompileFolder(dir.path(), grammars);
  ASSERT_TRUE(before.Ok()) << Problems(before).toStdString();
  EXPECT_EQ(before.phones.value("kitchen"), QStringList{"K IH CH AH N"});
  const QString made = before.phones.value("blorvik").value(0);
  EXPECT_FALSE(made.isEmpty());

  QDir().mkpath(dir.path() + "/Data");
  WriteBytes(dir.path() + "/Data/Pronunciations.txt", "blorvik\tG AA R D AH N\nkitchen\tK IH CH IH N\nnine\tN AY N\n");
  const speech::CompileResult after = speech::CompileFolder(dir.path(), grammars);
  ASSERT_TRUE(after.Ok()) << Problems(after).toStdString();
  EXPECT_EQ(after.phones.value("blorvik"), QStringList{"G AA R D AH N"});
  EXPECT_EQ(after.phones.value("kitchen"), QStringList{"K IH CH IH N"});
  EXPECT_EQ(after.phones.value("nine"), QStringList{"N AY N"});  // a word of a kept list grammar
  EXPECT_EQ(after.filesFromCache, 0);
  const QByteArray dict = ReadBytes(speech::CompiledDir(grammars) + "/" + speech::kAddedWordsFile);
  EXPECT_TRUE(dict.contains("blorvik G AA R D AH N\n"));

  speech::Pronouncer p(speech::FindSpeechModel(QString()).dictionary, dir.path() + "/Data/Pronunciations.txt");
  EXPECT_EQ(p.Choose("blorvik", "blorvik").origin, speech::Pronouncer::Origin::List);
  EXPECT_EQ(p.Choose("garden", "garden").origin, speech::Pronouncer::Origin::Dictionary);
  EXPECT_EQ(p.Choose("quennet", "quennet").origin, speech::Pronouncer::Origin::Generated);
  const auto review = speech::WordsToReview({"select [blorvik|quennet] <HDG> (kitchen)"}, p);
  ASSERT_EQ(review.size(), 4u);  // the two unknown words and the list's two others
  EXPECT_EQ(review[0].word, "blorvik");
  EXPECT_EQ(review[0].listed, QStringList{"G AA R D AH N"});
  EXPECT_EQ(review[3].word, "quennet");
  EXPECT_TRUE(review[3].listed.isEmpty());
  EXPECT_FALSE(review[3].generated.isEmpty());
}

}  // namespace
}  // namespace qv::test
