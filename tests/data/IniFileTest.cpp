#include <gtest/gtest.h>

#include <QDirIterator>
#include <QTemporaryDir>
#include <random>

#include "ReferenceIni.h"
#include "TestEnv.h"
#include "base/Cp1252.h"
#include "data/IniFile.h"

using qv::data::IniFile;
using qv::test::ReadBytes;
using qv::test::WriteBytes;

namespace {

const QByteArray kOdd =
    "stray=outside any section\r\n"
    "; a comment line\r\n"
    "[Main]\r\n"
    "  CopilotVoice = 3  \r\n"
    "novalue\r\n"
    "quoted=\"  keep inner blanks \"\r\n"
    "single='x'\r\n"
    "mismatched=\"abc'\r\n"
    "copilotvoice=9\r\n"
    "blank=   \r\n"
    "neg=-1\r\n"
    "junk=12abc\r\n"
    "word=abc\r\n"
    "high=caf\xe9 \x80\r\n"
    "\r\n"
    "[ main ]\r\n"
    "second=from duplicate\r\n"
    "[Other]\r\n"
    "k=v";

}  // namespace

// How the private-profile functions read the lines users write.
TEST(IniFile, ReadsTheWayTheWindowsFunctionsDo) {
  const IniFile ini = IniFile::FromBytes(kOdd);
  EXPECT_EQ(ini.value("MAIN", "copilotvoice"), "3");  // names ignore case, first key wins
  EXPECT_EQ(ini.intValue("main", "COPILOTVOICE"), 3);
  EXPECT_EQ(ini.value("Main", "quoted"), "  keep inner blanks ");  // matching quotes removed
  EXPECT_EQ(ini.value("Main", "single"), "x");
  EXPECT_EQ(ini.value("Main", "mismatched"), "\"abc'");
  EXPECT_EQ(ini.value("Main", "blank"), "");
  EXPECT_EQ(ini.intValue("Main", "neg"), -1);
  EXPECT_EQ(ini.intValue("Main", "junk"), 12);
  EXPECT_EQ(ini.intValue("Main", "word", 7), 7);
  EXPECT_EQ(ini.intValue("Main", "missing", 5), 5);
  EXPECT_EQ(ini.value("Main", "high"), QString::fromUtf8("caf\u00e9 \u20ac"));  // Windows-1252
  bool found = false;
  EXPECT_EQ(ini.value("Main", "novalue", &found), "");
  EXPECT_TRUE(found);
  EXPECT_EQ(ini.value("Main", "second", &found), "");  // only the first [Main] is read
  EXPECT_FALSE(found);
  EXPECT_EQ(ini.value("Main", "stray", &found), "");  // lines before any section belong to none
  EXPECT_FALSE(found);
  EXPECT_EQ(ini.value("Other", "k"), "v");  // last line without a line end
  EXPECT_EQ(ini.value("Main", "; a comment line"), "");
}

TEST(IniFile, ValuesAreCutAt511Characters) {
  const QByteArray longValue(600, 'x');
  const IniFile ini = IniFile::FromBytes("[S]\r\nk=" + longValue + "\r\n");
  EXPECT_EQ(ini.value("S", "k").size(), 511);
  // the cut comes before the trimming of the routine
  const IniFile spaced = IniFile::FromBytes("[S]\r\nk=" + QByteArray(505, 'y') + QByteArray(10, ' ') + "z\r\n");
  EXPECT_EQ(qv::data::CleanIniValue(spaced.value("S", "k")).size(), 505);
}

TEST(IniFile, MissingFileReadsAsEmptyAndZero) {
  EXPECT_EQ(qv::data::ReadIniString("Main", "k", "/nonexistent/file.cfg"), "");
  EXPECT_EQ(qv::data::ReadIniInt("Main", "k", "/nonexistent/file.cfg"), 0);
  EXPECT_FALSE(IniFile::Load("/nonexistent/file.cfg").exists());
}

// A file larger than any real one is refused by name, and never rewritten.
TEST(IniFile, RefusesFilesNoRealOneReaches) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/aircraft.cfg";
  QByteArray big = "[Main]\r\nk=1\r\n";
  big.resize(IniFile::kMaxFileSize + 1, ';');
  WriteBytes(path, big);
  const IniFile ini = IniFile::Load(path);
  EXPECT_FALSE(ini.exists());
  EXPECT_TRUE(ini.error().contains("aircraft.cfg") && ini.error().contains("8 MB")) << qPrintable(ini.error());
  EXPECT_EQ(qv::data::ReadIniString("Main", "k", path), "");
  EXPECT_FALSE(qv::data::WriteIniString("Main", "k", "2", path));
  EXPECT_EQ(ReadBytes(path), big);
}

// A write touches one line, or adds one, and keeps every other byte. These
// anchor the plain reader the property below compares with; the other shapes
// of file are the generator's.
TEST(IniFile, WriteChangesOnlyWhatItMust) {
  const struct {
    QByteArray before;
    const char *section, *key, *value;
    QByteArray after;
  } cases[] = {
      {"; c\r\n[Main]\r\nCopilotVoice = 1 \r\nx=2\n\xe9=3\r\n", "MAIN", "copilotvoice", "4",
       "; c\r\n[Main]\r\nCopilotVoice=4\r\nx=2\n\xe9=3\r\n"},  // keeps the key's spelling and its neighbours
      {"[Main]\r\na=1\r", "Main", "c", "3", "[Main]\r\na=1\r\nc=3\r\n"},  // after a last line ending in a bare CR
  };
  for (const auto& c : cases) {
    IniFile ini = IniFile::FromBytes(c.before);
    ini.setValue(c.section, c.key, c.value);
    EXPECT_EQ(ini.bytes(), c.after);
    EXPECT_EQ(ini.value(c.section, c.key), c.value);
  }
}

TEST(IniFile, WriteCreatesAMissingFileAndKeepsOthersWhole) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/new.cfg";
  ASSERT_TRUE(qv::data::WriteIniString("Main", "copilotVoice", "2", path));
  EXPECT_EQ(ReadBytes(path), "[Main]\r\ncopilotVoice=2\r\n");

  const QByteArray odd = "junk line\n[Main]\nk=1\n\n;comment\n[Main]\nk=2\n";
  WriteBytes(path, odd);
  ASSERT_TRUE(qv::data::WriteIniString("main", "K", "5", path));
  EXPECT_EQ(ReadBytes(path), "junk line\n[Main]\nk=5\n\n;comment\n[Main]\nk=2\n");
  EXPECT_EQ(qv::data::ReadIniInt("Main", "k", path), 5);
}

// ---- The lazy reader against the plain one, on generated and real text ----

namespace {

using qv::test::ReferenceIni;

// Section and key names of every shape: case, blanks, duplicates, code-page
// letters whose upper case is longer (ß) or lies outside ASCII.
const QList<QByteArray> kSectionNames = {"Main",      "main",     " MAIN ", "\tMain\t", "fltsim.0",
                                         "FLTSIM.0",  "fltsim.1", "List.0", "caf\xe9",  "CAF\xc9",
                                         "stra\337e", "STRASSE",  "",       "x y",      "a[b"};
const QList<QByteArray> kKeyNames = {"title", "TITLE", " Title ", "ui_type", "k",    "K",   "\xb5",
                                     "\xdf",  "SS",    "",        "a b",     "\xff", "\x9f"};
const QList<QByteArray> kValues = {"v",
                                   "  padded  ",
                                   "\"quoted\"",
                                   "'single'",
                                   "\"mismatch'",
                                   "\"",
                                   "''",
                                   "-12",
                                   "+7x",
                                   "12abc",
                                   "caf\xe9 \x80",
                                   "a=b",
                                   "",
                                   QByteArray("n\0ul", 4),
                                   QByteArray(600, 'x'),
                                   QByteArray(509, 'y') + "  z",
                                   "[Main]"};
const QList<QByteArray> kLineEnds = {"\r\n", "\n", "\r\r\n"};

QByteArray Pick(std::mt19937& rng, const QList<QByteArray>& from) { return from[int(rng() % from.size())]; }
QByteArray Blanks(std::mt19937& rng) { return QList<QByteArray>{"", "", " ", "\t", "  "}[int(rng() % 5)]; }

QByteArray RandomIni(std::mt19937& rng) {
  QByteArray text;
  const int lines = int(rng() % 40);
  for (int i = 0; i < lines; ++i) {
    QByteArray line = Blanks(rng);
    switch (rng() % 9) {
      case 0:
      case 1:
        line += "[" + Blanks(rng) + Pick(rng, kSectionNames) + Blanks(rng) +
                QList<QByteArray>{"]", "]", "", "] x", "]]"}[int(rng() % 5)];
        break;
      case 2: line += ";" + Pick(rng, kValues); break;
      case 3: line += Pick(rng, kKeyNames); break;  // a key without '='
      case 4: break;                                // a blank line
      default: line += Pick(rng, kKeyNames) + Blanks(rng) + "=" + Blanks(rng) + Pick(rng, kValues) + Blanks(rng);
    }
    text += line + (i + 1 == lines && rng() % 3 == 0 ? QByteArray() : Pick(rng, kLineEnds));
  }
  return text;
}

// Every name of the pools asked of both readers, alone and all keys at once.
void ExpectSameReads(const IniFile& ini, const ReferenceIni& ref, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_EQ(ini.sectionNames(), ref.sectionNames());
  const QLatin1String keys[] = {QLatin1String("title"), QLatin1String("k"), QLatin1String("SS"),
                                QLatin1String(" Ui_Type ")};
  for (const QByteArray& s : kSectionNames) {
    const QString section = qv::base::FromCp1252(s);
    for (const QByteArray& k : kKeyNames) {
      const QString key = qv::base::FromCp1252(k);
      bool found = false, refFound = false;
      ASSERT_EQ(ini.value(section, key, &found), ref.value(section, key, &refFound)) << qPrintable(section + "/" + key);
      ASSERT_EQ(found, refFound) << qPrintable(section + "/" + key);
    }
    QString out[4];
    ini.values(section, keys, out);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(out[i], ref.value(section, keys[i])) << qPrintable(section);
  }
}

QByteArray Encoded(const QByteArray& cp1252, IniFile::Encoding encoding) {
  const QString text = qv::base::FromCp1252(cp1252);
  if (encoding == IniFile::Encoding::Utf8) return "\xEF\xBB\xBF" + text.toUtf8();
  QByteArray out = encoding == IniFile::Encoding::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
  for (QChar c : text) {
    const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
    out += encoding == IniFile::Encoding::Utf16LE ? QByteArray{&lo, 1} + QByteArray{&hi, 1}
                                                  : QByteArray{&hi, 1} + QByteArray{&lo, 1};
  }
  return out;
}

QString Decoded(const IniFile& ini) {
  const QByteArray& b = ini.bytes();
  switch (ini.encoding()) {
    case IniFile::Encoding::Cp1252: return qv::base::FromCp1252(b);
    case IniFile::Encoding::Utf8: return QString::fromUtf8(b.mid(3));
    default: break;
  }
  QString out;
  const bool le = ini.encoding() == IniFile::Encoding::Utf16LE;
  for (qsizetype i = 2; i + 1 < b.size(); i += 2)
    out += QChar(le ? char16_t(uchar(b[i]) | uchar(b[i + 1]) << 8) : char16_t(uchar(b[i]) << 8 | uchar(b[i + 1])));
  return out;
}

}  // namespace

// For every generated file: the same values, names and written bytes as the
// plain reader; the same values again when the file has bare-CR line ends or
// is UTF-8 / UTF-16 behind a byte-order mark, and writes keep that encoding.
TEST(IniFileProperty, ReadsAndWritesLikeThePlainReader) {
  const QString writes[][3] = {{"Main", "copilotVoice", "3"},
                               {"fltsim.1", " TITLE ", "C:\\x\\y"},
                               {"New Section", "k", "\u00e9t\u00e9"},
                               {"STRASSE", "ss", ""}};
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    const QByteArray text = RandomIni(rng);
    const std::string trace = "seed " + std::to_string(seed) + ": " + text.toStdString();
    IniFile ini = IniFile::FromBytes(text);
    ReferenceIni ref(text);
    ExpectSameReads(ini, ref, trace);

    QByteArray bare = text;
    bare.replace("\r\n", "\n").replace('\n', '\r');
    const auto& w = writes[seed % 4];
    std::vector<IniFile> variants{IniFile::FromBytes(bare)};
    for (auto encoding : {IniFile::Encoding::Utf8, IniFile::Encoding::Utf16LE, IniFile::Encoding::Utf16BE}) {
      variants.push_back(IniFile::FromBytes(Encoded(text, encoding)));
      ASSERT_EQ(variants.back().encoding(), encoding);
    }
    const QString added = (ref.sectionNames().contains(w[0].trimmed(), Qt::CaseInsensitive) ? "" : "[" + w[0] + "]") +
                          w[1].trimmed() + "=" + w[2];
    for (IniFile& v : variants) {
      ExpectSameReads(v, ref, "variant " + v.bytes().left(3).toHex().toStdString() + ", " + trace);
      const QString before = Decoded(v);
      v.setValue(w[0], w[1], w[2]);
      ASSERT_EQ(v.value(w[0], w[1]), w[2]);
      // Only the written line changed: what was taken out held no line end,
      // what came in is the new text and line ends.
      const QString after = Decoded(v);
      qsizetype p = 0, q = 0;
      while (p < before.size() && p < after.size() && before[p] == after[p]) ++p;
      while (q < before.size() - p && q < after.size() - p &&
             before[before.size() - 1 - q] == after[after.size() - 1 - q])
        ++q;
      const QString out = before.mid(p, before.size() - p - q);
      QString in = after.mid(p, after.size() - p - q);
      EXPECT_FALSE(out.contains(u'\r') || out.contains(u'\n')) << trace;
      EXPECT_TRUE(added.toUpper().endsWith(in.remove(u'\r').remove(u'\n').toUpper())) << qPrintable(in) << trace;
    }

    ini.setValue(w[0], w[1], w[2]);
    ref.setValue(w[0], w[1], w[2]);
    ASSERT_EQ(ini.bytes(), ref.bytes()) << trace;
    ExpectSameReads(ini, ref, "after a write, " + trace);
    IniFile wide = IniFile::FromBytes(Encoded(text, IniFile::Encoding::Utf16BE));
    wide.setValue(w[0], w[1], w[2]);
    ASSERT_EQ(wide.bytes(), Encoded(ref.bytes(), IniFile::Encoding::Utf16BE)) << trace;
  }
}

// Files nobody here wrote: public aircraft configurations (code-page letters,
// LF, CRLF and mixed line ends, "[Fltsim.N]" spelt in any case) and the fuzz
// corpus read as the plain reader reads them.
TEST(IniFileProperty, ReadsRealFilesLikeThePlainReader) {
  QStringList files;
  for (const QString& dir : QStringList{"/PublicAircraft", "/fuzz/ini"}) {
    QDirIterator it(qv::test::FixturesDir() + dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
  }
  ASSERT_GE(files.size(), 6);
  const QLatin1String keys[] = {QLatin1String("title"),   QLatin1String("ui_manufacturer"),
                                QLatin1String("ui_type"), QLatin1String("ui_variation"),
                                QLatin1String("texture"), QLatin1String("kb_checklists"),
                                QLatin1String("sim")};
  for (const QString& f : files) {
    const QByteArray bytes = qv::test::ReadBytes(f);
    const ReferenceIni ref(bytes);
    const IniFile ini = IniFile::FromBytes(bytes);
    if (bytes.contains('\r') && QByteArray(bytes).replace("\r\n", "").contains('\r'))
      continue;  // the plain reader misreads bare CRs
    ASSERT_EQ(ini.sectionNames(), ref.sectionNames()) << qPrintable(f);
    for (const QString& section : ref.sectionNames()) {
      QString out[7];
      ini.values(section, keys, out);
      for (int i = 0; i < 7; ++i) EXPECT_EQ(out[i], ref.value(section, keys[i])) << qPrintable(f + " " + section);
    }
  }
}
