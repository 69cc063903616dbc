#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "LiteralExpansion.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "core/grammar/CheckExpandGrammar.h"

using namespace qv;
using grammar::CheckGrammar;
using grammar::ExpandToSentences;
using grammar::Expansion;

namespace {

QString Stored(const QString& phrase) { return base::Fixed(phrase, data::kGrammarWidth); }

QStringList Trimmed(const QStringList& list) {
  QStringList out;
  for (const QString& s : list) out << grammar::TrimSpaces(s);
  return out;
}

QStringList Expand(const QString& phrase) {
  QStringList sentences;
  EXPECT_EQ(ExpandToSentences(Stored(phrase), sentences), Expansion::Ok) << phrase.toStdString();
  return sentences;
}

TEST(CheckGrammar, AcceptsOrRejects) {
  for (const char* legal :
       {"  gear up  ", "a|b", "((please) now)", "[a|[b|c]]", "", "()", "set <FLAP_SETTING> 'n, done-it. 10_x"})
    EXPECT_TRUE(CheckGrammar(QString::fromLatin1(legal))) << legal;
  for (const char* illegal : {"gear up!", "[up|down", "(up]", "[a (b] c)", "gear up\t", "caf\xe9", ")(", "a/b"})
    EXPECT_FALSE(CheckGrammar(QString::fromLatin1(illegal))) << illegal;
}

// Sorted, distinct sentences, for what the differential test below cannot
// reach: groups nested in their own kind, and text that looks like a placeholder.
TEST(ExpandGrammar, GivesSortedDistinctSentences) {
  const std::pair<const char*, QStringList> cases[] = {
      {"((please) now)", {"now", "please now"}},
      {"[a|[b|c]]", {"a", "b", "c"}},
      {"[x [a|b]|c] d", {"c d", "x a d", "x b d"}},
      {"((a) (b))", {"a", "a b", "b"}},
      {"OPTION_1 (x) OPTION_0", {"OPTION_1 OPTION_0", "OPTION_1 x OPTION_0"}}};
  for (const auto& [phrase, sentences] : cases)
    EXPECT_EQ(Trimmed(Expand(QString::fromLatin1(phrase))), sentences) << phrase;
}

TEST(ExpandGrammarLimits, ManyOptionalGroupsKeepTheirOptionsApart) {
  QString phrase;
  for (char c = 'a'; c <= 'l'; ++c) phrase += QStringLiteral("(%1%1) ").arg(QChar(c));  // 12 groups
  const QStringList s = Expand(phrase);
  EXPECT_EQ(s.size(), 4095);
  EXPECT_TRUE(s.contains("aa bb cc dd ee ff gg hh ii jj kk ll"));
  EXPECT_TRUE(s.contains("aa bb"));
  EXPECT_TRUE(s.contains("kk ll"));
  EXPECT_TRUE(s.contains("bb     kk"));  // nine blanks between, merged once
  for (const QString& sentence : s) ASSERT_FALSE(sentence.contains("OPTION")) << sentence.toStdString();
}

TEST(ExpandGrammarLimits, OversizedPhraseIsRefusedAndReported) {
  test::TestEnv env;
  QString fits, tooBig;
  for (int i = 0; i < 15; ++i) fits += QStringLiteral("(w%1) ").arg(i);
  tooBig = fits + "(last)";
  env.state.commands.push_back(
      {Stored("Lights"), Stored("Strobes"), Stored("STROBES"), Stored(""), 1, {Stored(fits), Stored(tooBig)}, {}});

  grammar::ExpandGrammar(env.ctx, 0, 0);
  EXPECT_EQ(env.state.phraseCount, 32766);  // 2^15 sentences less the empty one
  EXPECT_TRUE(env.dialogs.messages.empty());

  grammar::ExpandGrammar(env.ctx, 0, 1);
  EXPECT_EQ(env.state.phraseCount, -99);
  EXPECT_TRUE(env.state.phraseList.isEmpty());
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Grammar Error");
  EXPECT_TRUE(env.dialogs.last().message.contains("more than 32768 sentences"));
}

TEST(ExpandGrammarLimits, HostilePhrasesEndQuickly) {
  const QString deepOptional = QString(128, u'(') + "x" + QString(128, u')');
  const QString deepMixed = QString("([").repeated(64) + "x" + QString("])").repeated(64);
  const QString manyBars = "[" + QString("a|").repeated(127) + "b]";
  const QString manyGroups = QString("()").repeated(128);
  const QString manyAlternatives = QString("[a|b]").repeated(51);
  QStringList s;
  EXPECT_EQ(ExpandToSentences(deepOptional, s), Expansion::Ok);
  EXPECT_EQ(s, QStringList{"x"});
  EXPECT_EQ(ExpandToSentences(deepMixed, s), Expansion::Ok);
  EXPECT_EQ(s, QStringList{"x"});
  EXPECT_EQ(ExpandToSentences(manyBars, s), Expansion::Ok);
  EXPECT_EQ(s, QStringList({"a", "b"}));
  EXPECT_EQ(ExpandToSentences(manyGroups, s), Expansion::TooLarge);
  EXPECT_EQ(ExpandToSentences(manyAlternatives, s), Expansion::TooLarge);
  EXPECT_TRUE(s.isEmpty());
  EXPECT_EQ(ExpandToSentences(QString(200, u'['), s), Expansion::Illegal);
}

TEST(ExpandGrammarCommand, IllegalPhraseShowsGrammarErrorAndEmptiesTheList) {
  test::TestEnv env;
  env.state.commands.push_back(
      {Stored(" Gear "), Stored("Gear Up "), Stored("GEAR_UP"), Stored(""), 3, {Stored("gear up!")}, {}});
  env.state.phraseList = QStringList{"stale"};
  grammar::ExpandGrammar(env.ctx, 0, 0);
  EXPECT_EQ(env.state.phraseCount, -99);
  EXPECT_TRUE(env.state.phraseList.isEmpty());
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Grammar Error");
  EXPECT_EQ(env.dialogs.last().message, "Error in Gear - Gear Up\r\rgear up!\r\rPlease press OK to continue...");

  // Out-of-range indices leave an empty list without a message.
  grammar::ExpandGrammar(env.ctx, 0, 5);
  EXPECT_EQ(env.state.phraseCount, -1);
  grammar::ExpandGrammar(env.ctx, 3, 0);
  EXPECT_EQ(env.state.phraseCount, -1);
  EXPECT_EQ(env.dialogs.messages.size(), 1u);
}

// The expansion must equal the slow literal procedure wherever that one is
// valid; random phrases from the legal alphabet with groups of both kinds.
QString RandomPhrase(QRandomGenerator& rng, int depth = 0) {
  static const QStringList words{"a", "b", "on", "Up", "up", "x", "<NUM_1>", "a|b", "", " ", "it's", "9"};
  QString out;
  const int parts = 1 + rng.bounded(depth == 0 ? 6 : 3);
  for (int p = 0; p < parts; ++p) {
    const int kind = rng.bounded(depth >= 3 ? 1 : 4);
    if (kind <= 1) {
      out += words[rng.bounded(words.size())];
    } else if (kind == 2) {
      out += "(" + RandomPhrase(rng, depth + 1) + ")";
    } else {
      out += "[";
      const int alternatives = 1 + rng.bounded(3);
      for (int a = 0; a < alternatives; ++a) out += (a ? "|" : "") + RandomPhrase(rng, depth + 1);
      out += "]";
    }
    if (rng.bounded(3)) out += QString(1 + rng.bounded(2), u' ');
  }
  return out;
}

TEST(ExpandGrammarDifferential, MatchesTheLiteralProcedure) {
  QRandomGenerator rng(20261205);
  int compared = 0;
  for (int i = 0; i < 4000; ++i) {
    const QString phrase = RandomPhrase(rng);
    if (phrase.size() > 256 || !CheckGrammar(phrase) || !test::literal::Applies(phrase)) continue;
    const QString stored = Stored(phrase);
    QStringList sentences;
    ASSERT_EQ(ExpandToSentences(stored, sentences), Expansion::Ok);
    ASSERT_EQ(sentences, test::literal::Expand(stored)) << "phrase: [" << phrase.toStdString() << "]";
    ++compared;
  }
  EXPECT_GT(compared, 1000);
}

// Sorting compares several bytes at a time: texts that share long beginnings,
// end at or across those steps, or hold NULs still come in code order.
TEST(SortAndRemoveDuplicates, MatchesAPlainSortForAnyTexts) {
  QRandomGenerator rng(6122026);
  const QString alphabet = QString("a") + QChar(0) + "A b";
  for (int round = 0; round < 300; ++round) {
    QStringList list;
    const QString stem = QString("shared stem ").left(rng.bounded(13));
    for (int i = rng.bounded(60); i > 0; --i) {
      QString s = rng.bounded(2) ? stem : QString();
      for (int n = rng.bounded(20); n > 0; --n) s += alphabet[rng.bounded(alphabet.size())];
      list << s;
    }
    QStringList expected = list;
    std::sort(expected.begin(), expected.end());
    QStringList kept;
    for (const QString& s : expected)
      if (grammar::TrimSpaces(s).toUpper() != grammar::TrimSpaces(kept.isEmpty() ? QString() : kept.back()).toUpper())
        kept << s;
    grammar::SortAndRemoveDuplicates(list);
    ASSERT_EQ(list, kept) << "round " << round;
  }
}

TEST(ToRoman, Converts) {
  EXPECT_EQ(grammar::ToRoman("1994"), "MCMXCIV");
  EXPECT_EQ(grammar::ToRoman("4000"), "MMMM");
  EXPECT_EQ(grammar::ToRoman("3888"), "MMMDCCCLXXXVIII");
  EXPECT_EQ(grammar::ToRoman("07"), "VII");
  for (const char* zero : {"0", ""}) EXPECT_EQ(grammar::ToRoman(zero), "No Roman value For 0") << zero;
  for (const char* none : {"00", "abc", "12345678", "-5"}) EXPECT_EQ(grammar::ToRoman(none), "") << none;
}

}  // namespace
