// Every legal input compiles (random tables, the fuzzing corpus, real navaid
// lists), and compile problems lead back to where the user can fix them.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "CompileRoad.h"
#include "SpeechTestSupport.h"
#include "core/grammar/CompileProblems.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/TestGrammar.h"
#include "core/shell/Context.h"
#include "data/NavaidLists.h"
#include "speech/CompilerEngine.h"

namespace qv::test {
namespace {

using speech::CompileResult;

// The sentence as the compiled words: each written word as the compiler
// speaks it, words without any sound left out.
bool SaysSentence(const CompileResult& r, const QString& grammar, const QString& sentence) {
  QStringList words;
  for (const QString& token : sentence.split(u' ', Qt::SkipEmptyParts))
    for (const speech::SpokenWord& w : speech::SpokenWords(token))
      if (!road::SystemPronouncer().PhonesOf(w.word, w.spelling).isEmpty()) words << w.word;
  return Says(r, grammar, words.join(u' '));
}

// Phrases whose sentences the compiled graph must say word for word: those
// without list references or angle brackets, and without a bar outside any
// group (the phrase language keeps such a bar as text).
// The phrase language glues a group to a word it touches ("(gear)set" says
// "gearset"); the notation keeps them apart, so such phrases are left out
// too.
bool PlainPhrase(const QString& phrase) {
  if (phrase.contains(u'<') || phrase.contains(u'>')) return false;
  const QString t = grammar::TrimSpaces(phrase);
  const auto mark = [](QChar c) { return c == u'[' || c == u'(' || c == u']' || c == u')' || c == u'|'; };
  int depth = 0;
  for (int i = 0; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c == u'[' || c == u'(') ++depth;
    if (c == u']' || c == u')') --depth;
    if (c == u'|' && depth == 0) return false;
    if ((c == u'[' || c == u'(') && i > 0 && t[i - 1] != u' ' &&
        (!mark(t[i - 1]) || t[i - 1] == u')' || t[i - 1] == u']'))
      return false;
    if ((c == u']' || c == u')') && i + 1 < t.size() && t[i + 1] != u' ' && !mark(t[i + 1])) return false;
  }
  return true;
}

// The lines the errors are on, for failure messages.
QString ErrorLines(const CompileResult& r, const std::vector<speech::SourceText>& files) {
  QString out;
  for (const auto& d : r.diagnostics) {
    if (!d.IsError()) continue;
    for (const auto& f : files) {
      if (f.fileName != d.file) continue;
      QString text;
      speech::DecodeGrammarBytes(f.bytes, text);
      out += d.ToString() + "\n    " + text.split('\n').value(d.line - 1).trimmed() + "\n";
    }
  }
  return out;
}

// What the road must keep: the writers' files compile without an error, and
// each started command's graph says (some of) the sentences of its phrases.
void CheckRoad(const shell::AppState& state, const CompileResult& r, const QString& label,
               const std::vector<speech::SourceText>& files = {}) {
  ASSERT_TRUE(r.Ok()) << label.toStdString() << "\n" << ErrorLines(r, files).toStdString();
  for (const data::CommandRecord& c : state.commands) {
    if (state.settings.compileNavaids != 1 && grammar::IsNavaidEvent(c.eventName)) continue;
    const QString category = grammar::TrimSpaces(c.category);
    const QString grammarName = grammar::CategoryFileName(c.category).chopped(4);  // without ".bnf"
    for (const QString& phrase : c.grammars) {
      if (!PlainPhrase(phrase)) continue;
      QStringList sentences;
      if (grammar::ExpandToSentences(phrase, sentences) != grammar::Expansion::Ok) continue;
      for (int i = 0; i < std::min<qsizetype>(3, sentences.size()); ++i) {
        const QString s = grammar::TrimSpaces(sentences[i]);
        if (s.isEmpty()) continue;
        EXPECT_TRUE(SaysSentence(r, grammarName, s))
            << label.toStdString() << ": category \"" << category.toStdString() << "\" phrase \""
            << grammar::TrimSpaces(phrase).toStdString() << "\" sentence \"" << s.toStdString() << "\"";
      }
    }
  }
}

TEST(CompileRoadTest, EveryLegalInputCompilesAndSaysItsPhrases) {
  int warnings = 0;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    road::Entropy e(seed);
    shell::AppState state;
    road::RandomTables(e, state);
    const std::vector<speech::SourceText> files = road::WriterOutput(state);
    const CompileResult r = road::Compile(files);
    CheckRoad(state, r, "seed " + QString::number(seed), files);
    warnings += r.WarningCount();
    // The rival phrases the test grammar is weighed against compile as well.
    if (!state.commands.empty() && !state.commands[0].grammars.isEmpty()) {
      std::vector<speech::SourceText> withRivals = files;
      withRivals.push_back({"Others.bnf", grammar::GrammarFileBytes(grammar::BuildOtherPhrasesGrammar(state, 0, 0))});
      const CompileResult o = road::Compile(withRivals, "Others.bnf");
      EXPECT_EQ(o.ErrorCount(), 0) << "seed " << seed << "\n" << ErrorLines(o, withRivals).toStdString();
    }
  }
  std::printf("60 random installations compiled, %d warnings\n", warnings);
}

// The same road on disk: the real writers into a folder, the engine, and a
// second compile whose navaid lists come from the cache and say the same.
TEST(CompileRoadTest, OnDiskWithTheCacheTheRoadEndsAlike) {
  for (uint32_t seed = 101; seed <= 104; ++seed) {
    QTemporaryDir dir;
    TestEnv env(dir.path());
    road::Entropy e(seed);
    road::RandomTables(e, env.state);
    env.state.settings.compileNavaids = 1;
    QDir().mkpath(dir.path() + "/Data");
    WriteBytes(dir.path() + "/Data/Generic Lists.bnf", road::DeliveredLists());
    ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0) << seed;
    speech::CompilerEngine engine(dir.path());
    for (int run = 0; run < 2; ++run) {
      ASSERT_EQ(engine.Compile(0, 1), 0) << seed << "\n" << Problems(engine.LastResult()).toStdString();
      EXPECT_EQ(engine.LastResult().filesFromCache, run == 0 ? 0 : 4) << seed;
      CheckRoad(env.state, engine.LastResult(), QString("seed %1 run %2").arg(seed).arg(run));
    }
  }
}

TEST(CompileRoadTest, FuzzCorpusCompiles) {
  const QDir corpus(FixturesDir() + "/fuzz/compile");
  const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& f : files) {
    const QByteArray bytes = ReadBytes(corpus.filePath(f));
    road::Entropy e(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    shell::AppState state;
    road::RandomTables(e, state);
    CheckRoad(state, road::Compile(road::WriterOutput(state)), f);
  }
}

// Public navaid and ILS lists (see tests/fixtures/navaids): the part looked
// at while deciding how names become words, and the part kept out of that.
class RealListsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RealListsTest, CompileAndEveryEntryCanBeSaid) {
  const QString part = GetParam();
  shell::AppState state;
  ASSERT_TRUE(data::ParseNavaidList(ReadBytes(FixturesDir() + "/navaids/Nav_Info_" + part + ".txt"), state.navaidList));
  ASSERT_TRUE(data::ParseIlsList(ReadBytes(FixturesDir() + "/navaids/ILS_Info_" + part + ".txt"), state.ilsList));
  data::CommandRecord tune;
  tune.eventName = "RADIO_NAV1_SELECT_VOR";
  tune.grammars << base::Fixed("[<NAV_ID>|<NAV_NAME>|<RWY_APT_ID>]", data::kGrammarWidth);
  state.commands.push_back(tune);
  state.settings.compileNavaids = 1;
  std::vector<speech::SourceText> files = road::WriterOutput(state);
  files.push_back({"Test.bnf", grammar::GrammarFileBytes(grammar::BuildTestGrammar(state, 0, 0))});
  const CompileResult r = road::Compile(files, "Test.bnf");
  ASSERT_TRUE(r.Ok()) << Problems(r).toStdString();

  int names = 0, namesSaid = 0, idents = 0, identsSaid = 0, ils = 0, ilsSaid = 0;
  const QStringList alphabet = QString(
                                   "alpha bravo charlie delta echo foxtrot golf hotel india juliet kilo lima mike "
                                   "november oscar papa quebec romeo sierra tango uniform victor whiskey x-ray "
                                   "yankee zulu")
                                   .split(' ');
  const QStringList digits = QString("zero one two three four five six seven eight nine").split(' ');
  for (const data::NavaidRecord& n : state.navaidList) {
    const QString name = grammar::TrimSpaces(n.name).toLower();
    if (!speech::SpokenWords(name).empty()) {
      ++names;
      namesSaid += SaysSentence(r, "Test", name) ? 1 : 0;
    }
    QString letters, phonetic;
    for (QChar c : grammar::TrimSpaces(n.ident).toUpper()) {
      letters += QString(c) + " ";
      if (c >= u'A' && c <= u'Z') phonetic += alphabet[c.unicode() - 'A'] + " ";
    }
    ++idents;
    identsSaid += SaysSentence(r, "Test", letters) && (phonetic.isEmpty() || SaysSentence(r, "Test", phonetic)) ? 1 : 0;
  }
  for (size_t i = 0; i < state.ilsList.size(); i += 7) {
    const data::IlsRecord& a = state.ilsList[i];
    QString sentence;
    for (QChar c : grammar::TrimSpaces(a.runway).toUpper()) {
      if (c.isDigit()) sentence += digits[c.digitValue()] + " ";
      if (c == u'L') sentence += "left ";
      if (c == u'R') sentence += "right ";
      if (c == u'C') sentence += "center ";
    }
    sentence += "tileless at";
    for (QChar c : grammar::TrimSpaces(a.airportIdent).toUpper()) sentence += " " + QString(c);
    ++ils;
    ilsSaid += SaysSentence(r, "Test", sentence) ? 1 : 0;
  }
  std::printf("%s: %d warnings; names said %d/%d, identifiers %d/%d, ILS approaches %d/%d\n", qPrintable(part),
              r.WarningCount(), namesSaid, names, identsSaid, idents, ilsSaid, ils);
  EXPECT_EQ(namesSaid, names);
  EXPECT_EQ(identsSaid, idents);
  EXPECT_EQ(ilsSaid, ils);
}

INSTANTIATE_TEST_SUITE_P(Parts, RealListsTest, ::testing::Values("Tune", "Holdout"));

// A failed compile, through the real writers and compiler, lists each
// problem where the user can fix it: the phrase and its column, the checklist
// response, the line of the navaid list and the name's column in it.
TEST(CompileProblemsTest, ProblemsLeadBackToThePhraseOrTheListLine) {
  QTemporaryDir dir;
  TestEnv env(dir.path());
  auto command = [](const char* category, const char* name, const char* event, const QStringList& phrases) {
    data::CommandRecord c;
    c.category = base::Fixed(category, data::kCategoryWidth);
    c.name = base::Fixed(name, data::kNameWidth);
    c.eventName = base::Fixed(event, data::kEventNameWidth);
    for (const QString& p : phrases) c.grammars << base::Fixed(p, data::kGrammarWidth);
    return c;
  };
  env.state.commands = {command("Lights", "Strobes", "STROBES_TOGGLE", {"turn (the) strobes on"}),
                        command("Gear", "Gear Up", "GEAR_UP", {"raise the gear", "gear up?", "[gear|wheels) up"}),
                        command("Radios", "Nav One", "RADIO_NAV1_SELECT_VOR", {"tune nav one <NAV_NAME>"})};
  env.state.categories = data::BuildCommandCategories(env.state.commands);
  env.state.settings.compileNavaids = 1;
  env.state.settings.checklistResponses = {{"Checked", 1}, {" Set ; go", 2}};
  env.state.navaidList = {{"SEA", "Seattle", "116.80"}, {"XY", " --", "1"}};
  QDir().mkpath(dir.path() + "/Data");
  WriteBytes(dir.path() + "/Data/Generic Lists.bnf", road::DeliveredLists());
  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  speech::CompilerEngine engine(dir.path());
  EXPECT_EQ(engine.Compile(0, 1), 1);
  QStringList lines;
  for (const auto& p : grammar::LocateCompileProblems(env.state, engine.Diagnostics())) lines << p.Text(env.state);
  EXPECT_EQ(lines,
            QStringList({"Error: Gear - Gear Up - phrase 2, column 8: the character \"?\" is not allowed in a "
                         "phrase",
                         "Warning: checklist response \"Set ; go\" (QV_Information.cfg, checklistResponse.1), "
                         "column 6: unexpected character \";\"",
                         "Warning: ILS_Info.txt: rule <RWY_APT_ID> has nothing to say: it matches nothing",
                         "Warning: Nav_Info.txt line 2, column 5: \"--\" has no sound and is left out",
                         "Warning: Gear - Gear Up - phrase 3, column 13: \")\" does not close the \"[\" before "
                         "it; the phrase was compiled as it could be read, but it cannot be tested or printed"}));
}

}  // namespace
}  // namespace qv::test
