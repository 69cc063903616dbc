#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestEnv.h"
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

struct WriteCase {
  const char* name;
  QByteArray before;
  const char* section;
  const char* key;
  const char* value;
  QByteArray after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class IniWrite : public testing::TestWithParam<WriteCase> {};

// A write touches one line, or adds one, and keeps every other byte.
TEST_P(IniWrite, ChangesOnlyWhatItMust) {
  const WriteCase& c = GetParam();
  IniFile ini = IniFile::FromBytes(c.before);
  ini.setValue(c.section, c.key, c.value);
  EXPECT_EQ(ini.bytes(), c.after);
  EXPECT_EQ(ini.value(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    testing::Values(
        WriteCase{"ReplaceKeepsKeySpellingAndNeighbours", "; c\r\n[Main]\r\nCopilotVoice = 1 \r\nx=2\n\xe9=3\r\n",
                  "MAIN", "copilotvoice", "4", "; c\r\n[Main]\r\nCopilotVoice=4\r\nx=2\n\xe9=3\r\n"},
        WriteCase{"AppendKeyAtEndOfSectionBeforeBlankLines", "[Main]\r\na=1\r\n\r\n[Other]\r\nb=2\r\n", "Main", "c",
                  "3", "[Main]\r\na=1\r\nc=3\r\n\r\n[Other]\r\nb=2\r\n"},
        WriteCase{"AppendKeyToLastLineWithoutLineEnd", "[Main]\r\na=1", "Main", "c", "3", "[Main]\r\na=1\r\nc=3\r\n"},
        WriteCase{"AppendKeyAfterLastLineEndingInBareCr", "[Main]\r\na=1\r", "Main", "c", "3",
                  "[Main]\r\na=1\r\nc=3\r\n"},
        WriteCase{"AppendSection", "[Main]\r\na=1\r\n", "List.0", "name", "HEADING",
                  "[Main]\r\na=1\r\n[List.0]\r\nname=HEADING\r\n"},
        WriteCase{"AppendSectionAfterUnterminatedLine", "[Main]\r\na=1", "New", "k", "v",
                  "[Main]\r\na=1\r\n[New]\r\nk=v\r\n"},
        WriteCase{"FirstOfDuplicateSectionsIsWritten", "[Main]\r\na=1\r\n[main]\r\na=2\r\n", "Main", "a", "9",
                  "[Main]\r\na=9\r\n[main]\r\na=2\r\n"},
        WriteCase{"EmptyFile", "", "Main", "copilotVoice", "2", "[Main]\r\ncopilotVoice=2\r\n"},
        WriteCase{"NonAsciiValueIsWrittenInTheCodePage", "[Main]\r\n", "Main", "k", "\xc3\xa9t\xc3\xa9",
                  "[Main]\r\nk=\xe9t\xe9\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

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
