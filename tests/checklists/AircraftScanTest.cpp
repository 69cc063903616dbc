#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <functional>

#include "FixtureTree.h"
#include "TestEnv.h"
#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "core/checklists/AircraftScan.h"
#include "core/shell/Startup.h"
#include "data/IniFile.h"

using namespace qv::checklists;
using qv::base::Fixed;
using qv::data::ChecklistAssignment;
using qv::test::CopyTree;
using qv::test::WriteBytes;

namespace {

ChecklistAssignment Assignment(const QString& title, const QString& checklist, int16_t written = 0) {
  return {qv::base::Fixed(title, qv::data::kAssignmentTitleWidth),
          qv::base::Fixed(checklist, qv::data::kAssignmentNameWidth), written};
}

// A simulator holding the sample tree, with the installation two levels down.
struct ScanTree {
  ScanTree() {
    CopyTree(qv::test::FixturesDir() + "/ScanTree", inst.simDir);
    env.state.simObjectPaths = {"SimObjects\\airplanes", " SimObjects\\Rotorcraft ", "SimObjects\\DoesNotExist"};
  }
  QString aircraft(const QString& relative) const { return inst.simDir + "/SimObjects/" + relative; }

  qv::test::TestInstallation inst;
  qv::test::TestEnv env{inst.installDir};
};

struct Row {
  QString manufacturer, type, variation, title;
  bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << qPrintable(r.manufacturer + " | " + r.type + " | " + r.variation + " | " + r.title);
}

std::vector<Row> Rows(const AircraftCatalogue& c) {
  std::vector<Row> rows;
  for (const auto& m : c.manufacturers)
    for (const auto& t : m.types)
      for (const auto& v : t.variations)
        rows.push_back({m.name.trimmed(), t.name.trimmed(), v.variation.trimmed(), v.title.trimmed()});
  return rows;
}

const AircraftVariation* FindTitle(const AircraftCatalogue& c, const QString& title) {
  for (const auto& m : c.manufacturers)
    for (const auto& t : m.types)
      for (const auto& v : t.variations)
        if (v.title.trimmed() == title) return &v;
  return nullptr;
}

AircraftRecord Record(const QString& manufacturer, const QString& type, const QString& variation,
                      const QString& title) {
  return {title, manufacturer, type, variation, "tex/", "page.htm", ""};
}

}  // namespace

// The whole sample tree: ordinal order at every level, case-insensitive
// merging (first spelling and first entry win), gaps and blank titles ending a
// file, entries without a flight model skipped, Aircraft.cfg over Sim.cfg,
// quoted values, names merged at their fixed width, a missing object folder.
TEST(AircraftScan, CataloguesTheSampleTree) {
  ScanTree tree;
  ScanSimulatorAircraft(tree.env.ctx);

  const std::vector<Row> expected = {
      {"9th Squadron", "S1", "Standard", "Squadron One"},
      {"Blank Works", "B", "Zero", "Blank Zero"},
      {"Both Works", "B", "Aircraft", "From Aircraft Cfg"},
      {"Cessna", "C172", "Blue", "Cessna Blue"},
      {"Cessna", "C172", "Red", "Cessna Red"},
      {"Cessna", "C172", "White", "Cessna White"},
      {"Gap Works", "G", "Zero", "Gap Zero"},
      {"Longname Aeronautical Manufacturing Company Limite", "North Type", "N", "Long North"},
      {"Longname Aeronautical Manufacturing Company Limite", "South Type", "S", "Long South"},
      {"Missing Works", "M", "Kept", "Missing Air Kept"},
      {"Quoted Works", "Q-Type", "Padded Blue", "Quoted Title"},
      {"Sim Works", "S", "Only", "Sim Cfg Only"},
      {"Zulu", "Z-1", "Plain", "Zulu One"},
      {"Zulu", "Z-Heli", "Plain", "Zulu Heli"},
      {"lowercase air", "t1", "v1", "Lower One"},
  };
  EXPECT_EQ(Rows(tree.env.state.catalogue), expected);
  EXPECT_EQ(tree.env.status.lines, QStringList{"Loading FSX Aircraft, standby..."});
  EXPECT_TRUE(tree.env.dialogs.messages.empty());

  for (const auto& m : tree.env.state.catalogue.manufacturers) {
    EXPECT_EQ(m.name.size(), kManufacturerWidth);
    for (const auto& t : m.types) {
      EXPECT_EQ(t.name.size(), kTypeWidth);
      for (const auto& v : t.variations) {
        EXPECT_EQ(v.variation.size(), kVariationWidth);
        EXPECT_EQ(v.title.size(), kTitleWidth);
      }
    }
  }
}

// Paths are built from what is on disk, whatever its letter case, so that they
// can be opened on a case-sensitive file system; a page not there yet is
// where the simulator would look for it.
TEST(AircraftScan, BuildsTextureAndPagePathsThatResolve) {
  ScanTree tree;
  ScanSimulatorAircraft(tree.env.ctx);
  const auto& c = tree.env.state.catalogue;
  struct Expect {
    QString title, texture, page;
  };
  const Expect cases[] = {
      {"Zulu One", "Airplanes/A_Zulu/Texture/", "Airplanes/A_Zulu/ZULU_CHECK.HTM"},
      {"Cessna White", "Airplanes/C_Cessna/texture.1/", "Airplanes/C_Cessna/C172_check.htm"},
      {"Cessna Red", "Airplanes/C_Cessna/TEXTURE.red/", "Airplanes/C_Cessna/C172_check.htm"},
      {"Cessna Blue", "Airplanes/D_CESSNA/Texture/", "Airplanes/D_CESSNA/C172_check.htm"},
      {"Quoted Title", "Airplanes/J_Quoted/Texture/", "Airplanes/J_Quoted/.htm"},
      {"Zulu Heli", "Rotorcraft/Heli/Texture/", "Rotorcraft/Heli/heli_check.htm"},
  };
  for (const auto& e : cases) {
    SCOPED_TRACE(e.title.toStdString());
    const AircraftVariation* v = FindTitle(c, e.title);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->textureFolder, tree.aircraft(e.texture));
    EXPECT_EQ(v->checklistPage, tree.aircraft(e.page));
  }
  EXPECT_TRUE(QFileInfo(FindTitle(c, "Cessna Red")->textureFolder + "texture.cfg").isFile());
  EXPECT_TRUE(QFileInfo(FindTitle(c, "Zulu One")->checklistPage).isFile());
}

// Existing records are reused (title compared trimmed, ignoring case), new
// ones appended in catalogue order with no checklist; nothing is written.
TEST(AircraftScan, LinksEveryAircraftToOneAssignment) {
  ScanTree tree;
  auto& assignments = tree.env.state.assignments;
  assignments = {Assignment("Old Aircraft", "Old"), Assignment("  cessna WHITE", "C172", 1),
                 Assignment("Cessna White", "Second")};
  ScanSimulatorAircraft(tree.env.ctx);

  const auto& c = tree.env.state.catalogue;
  EXPECT_EQ(FindTitle(c, "Cessna White")->assignmentIndex, 1);
  ASSERT_EQ(assignments.size(), 3u + 14u);
  EXPECT_EQ(assignments[0].aircraftTitle.trimmed(), "Old Aircraft");
  EXPECT_EQ(assignments[3].aircraftTitle, qv::base::Fixed("Squadron One", qv::data::kAssignmentTitleWidth));
  EXPECT_EQ(assignments[3].checklistName, qv::base::Fixed("", qv::data::kAssignmentNameWidth));
  EXPECT_EQ(assignments[3].written, 0);
  for (const auto& a : assignments) EXPECT_NE(a.aircraftTitle.trimmed(), "Cessna White Duplicate");

  for (const auto& m : c.manufacturers)
    for (const auto& t : m.types)
      for (const auto& v : t.variations) {
        ASSERT_GE(v.assignmentIndex, 0);
        ASSERT_LT(v.assignmentIndex, static_cast<int>(assignments.size()));
        EXPECT_EQ(assignments[v.assignmentIndex].aircraftTitle.trimmed().toUpper(), v.title.trimmed().toUpper());
      }

  // The next start finds every aircraft's record and adds none.
  const auto before = assignments;
  ScanSimulatorAircraft(tree.env.ctx);
  EXPECT_EQ(assignments.size(), before.size());
}

TEST(AircraftScan, NoAircraftGivesAnEmptyCatalogue) {
  for (const QStringList& paths :
       {QStringList{}, QStringList{"SimObjects\\DoesNotExist"}, QStringList{"SimObjects\\Airplanes\\K_NoConfig"}}) {
    ScanTree tree;
    tree.env.state.simObjectPaths = paths;
    tree.env.state.assignments = {Assignment("Old Aircraft", "Old")};
    tree.env.state.catalogue.manufacturers.resize(2);  // left from nothing: the scan replaces it
    ScanSimulatorAircraft(tree.env.ctx);
    EXPECT_TRUE(tree.env.state.catalogue.manufacturers.empty());
    EXPECT_EQ(tree.env.state.assignments.size(), 1u);
  }
}

// Object paths may be absolute; under Wine "C:\" is the prefix's drive_c.
TEST(AircraftScan, FindsObjectFoldersByAbsoluteAndDrivePaths) {
  QTemporaryDir root;
  const QString sim = root.path() + "/prefix/drive_c/Games/FSX";
  CopyTree(qv::test::FixturesDir() + "/ScanTree/SimObjects/Rotorcraft", sim + "/SimObjects/Rotorcraft");
  const QString expected = sim + "/SimObjects/Rotorcraft";
  EXPECT_EQ(SimObjectFolder(sim, "C:\\GAMES\\fsx\\SimObjects\\rotorcraft"), expected);
  EXPECT_EQ(SimObjectFolder(root.path(), expected), expected);
  EXPECT_EQ(SimObjectFolder(sim + "/Other", "..\\SimObjects\\Rotorcraft"), expected);

  const auto records = CollectAircraftRecords(root.path(), {"C:\\Games\\FSX\\SimObjects\\Rotorcraft"});
  EXPECT_TRUE(records.empty());  // outside a prefix a drive path names nothing
  const auto found = CollectAircraftRecords(sim, {"C:\\Games\\FSX\\SimObjects\\Rotorcraft"});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].title, "Zulu Heli");
}

// On a case-sensitive file system two files may differ only in case: the
// exact spelling is preferred.
TEST(AircraftScan, PrefersTheExactSpellingOfTheConfigurationFile) {
  QTemporaryDir root;
  const QString folder = root.path() + "/SimObjects/Twin";
  WriteBytes(folder + "/aircraft.cfg", "[fltsim.0]\r\ntitle=Lower\r\nsim=a\r\n");
  WriteBytes(folder + "/Aircraft.cfg", "[fltsim.0]\r\ntitle=Exact\r\nsim=a\r\n");
  WriteBytes(folder + "/A.AIR", "AIR");
  QDir().mkpath(folder + "/b.air");  // a folder is no flight model
  WriteBytes(folder + "/Sim.cfg", "[fltsim.0]\r\ntitle=Sim\r\nsim=b\r\n");
  const auto records = CollectAircraftRecords(root.path(), {"SimObjects"});
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].title, "Exact");
  EXPECT_FALSE(AirFileExists(folder, "b"));
}

TEST(AircraftScan, FindsTheFlightModelWithoutRegardToCase) {
  const QString folder = qv::test::FixturesDir() + "/ScanTree/SimObjects/Airplanes/A_Zulu";
  for (const auto& [sim, exists] : {std::pair{"zulu", true}, {"ZULU", true}, {"  zulu ", true},
                                    {"..\\D_CESSNA\\c172", true}, {"zulu.air", false}, {"", false},
                                    {"nothere", false}, {"Texture", false}})
    EXPECT_EQ(AirFileExists(folder, sim), exists) << sim;
}

// Merging compares lower-cased fixed-width names; the first record of a name
// gives its spelling and, for a variation, its aircraft.
TEST(AircraftCatalogueBuild, MergesNamesAtTheirFixedWidth) {
  const QString long50 = QString(50, u'M');
  const auto c = BuildCatalogue({
      Record("acme", "Jet", "One", "First"),
      Record("ACME", "JET", "ONE", "Second"),
      Record("Acme", "jet", "Two", "Third"),
      Record(long50 + "a", "T", "V", "Long A"),
      Record(long50 + "b", "T", "V2", "Long B"),
      Record("acme", QString(100, u'x') + "1", "V", "Type A"),
      Record("acme", QString(100, u'X') + "2", "V", "Type B"),
  });
  const std::vector<Row> expected = {
      {long50, "T", "V", "Long A"},
      {long50, "T", "V2", "Long B"},
      {"acme", "Jet", "One", "First"},
      {"acme", "Jet", "Two", "Third"},
      {"acme", QString(100, u'x'), "V", "Type A"},
  };
  EXPECT_EQ(Rows(c), expected);
  EXPECT_TRUE(BuildCatalogue({}).manufacturers.empty());
}

// Ordinal order of the padded names: digits, then upper case, then lower
// case; a name before any longer name that begins with it.
TEST(AircraftCatalogueBuild, SortsOrdinally) {
  const QStringList names = {"beech", "Zlin", "Alpha-1", "727 Group", "Alpha", "Alph", "alpha2", "Éclair"};
  std::vector<AircraftRecord> records;
  for (const QString& n : names) records.push_back(Record(n, n + " type", "v", n + " title"));
  const auto c = BuildCatalogue(records);
  QStringList order;
  for (const auto& m : c.manufacturers) {
    order << m.name.trimmed();
    EXPECT_EQ(m.types.front().name.trimmed(), m.name.trimmed() + " type");  // types move with their maker
  }
  EXPECT_EQ(order, (QStringList{"727 Group", "Alph", "Alpha", "Alpha-1", "Zlin", "alpha2", "beech", "Éclair"}));
}

// For any names, merging is by the lower-cased fixed-width text and linking by
// the upper-cased trimmed title, letters whose case changes their length or
// leaves ASCII (Kelvin sign, long s, dotted I, sharp s) and names cut at their
// width included.
TEST(AircraftCatalogueBuild, MergesAndLinksAsCaseMappedTextsCompare) {
  QRandomGenerator rng(61226);
  const QStringList pieces = {"a", "A", "k", "K", "\u212A", "s", "S", "\u017F", "\u00DF", "i", "I", "\u0130", " "};
  const auto name = [&](int width) {
    QString s = rng.bounded(4) == 0 ? QString(width - 2 + rng.bounded(4), u'x') : QString();
    for (int n = rng.bounded(4); n > 0; --n) s += pieces[rng.bounded(pieces.size())];
    return s;
  };
  for (int round = 0; round < 200; ++round) {
    std::vector<AircraftRecord> records;
    for (int n = 1 + rng.bounded(30); n > 0; --n)
      records.push_back(Record(name(kManufacturerWidth), name(kTypeWidth), name(kVariationWidth), name(kTitleWidth)));
    // The first record of each lower-cased manufacturer, type and variation stays.
    std::vector<Row> expected;
    QSet<QString> seenM, seenT, seenV;
    for (const AircraftRecord& r : records) {
      const QString m = Fixed(r.manufacturer, kManufacturerWidth).toLower();
      const QString t = m + u'\n' + Fixed(r.type, kTypeWidth).toLower();
      const QString v = t + u'\n' + Fixed(r.variation, kVariationWidth).toLower();
      if (seenV.contains(v)) continue;
      expected.push_back({seenM.contains(m) ? QString() : Fixed(r.manufacturer, kManufacturerWidth).trimmed(),
                          seenT.contains(t) ? QString() : Fixed(r.type, kTypeWidth).trimmed(),
                          Fixed(r.variation, kVariationWidth).trimmed(), Fixed(r.title, kTitleWidth).trimmed()});
      seenM << m, seenT << t, seenV << v;
    }
    AircraftCatalogue c = BuildCatalogue(records);
    std::vector<Row> rows = Rows(c);
    ASSERT_EQ(rows.size(), expected.size()) << "round " << round;
    for (const Row& e : expected)
      EXPECT_NE(std::find_if(rows.begin(), rows.end(),
                             [&](const Row& r) {
                               return r.variation == e.variation && r.title == e.title &&
                                      (e.manufacturer.isNull() || r.manufacturer == e.manufacturer) &&
                                      (e.type.isNull() || r.type == e.type);
                             }),
                rows.end())
          << "round " << round << ": " << e;

    std::vector<ChecklistAssignment> assignments = {Assignment(name(kTitleWidth), "Kept")};
    LinkAssignments(c, assignments);
    QSet<QString> titles;
    for (const ChecklistAssignment& a : assignments) titles << a.aircraftTitle.trimmed().toUpper();
    EXPECT_EQ(titles.size(), qsizetype(assignments.size())) << "one record per upper-cased title";
    for (const Row& r : Rows(c)) EXPECT_TRUE(titles.contains(r.title.toUpper()));
    for (const auto& m : c.manufacturers)
      for (const auto& t : m.types)
        for (const auto& v : t.variations)
          EXPECT_EQ(assignments.at(v.assignmentIndex).aircraftTitle.trimmed().toUpper(), v.title.trimmed().toUpper());
  }
}

TEST(AircraftScan, IsTheStartupStep) {
  ScanTree tree;
  auto steps = qv::shell::DefaultStartupSteps(tree.env.ctx);
  ASSERT_TRUE(steps.scanAircraft);
  EXPECT_EQ(steps.scanAircraft(), 0);
  EXPECT_EQ(Rows(tree.env.state.catalogue).size(), 15u);
}

namespace {

// The public aircraft configurations, each in its own folder of one object
// folder, with a flight model for every entry ("sim" values read with the
// reader under test's sibling: a grep of the raw lines would do as well).
// `encode` may turn a file into another encoding the simulator accepts.
QString PublicHangar(const QString& simDir, const std::function<QByteArray(const QString&, QByteArray)>& encode = {}) {
  const QString base = simDir + "/SimObjects/Public";
  QDirIterator it(qv::test::FixturesDir() + "/PublicAircraft", {"*.cfg"}, QDir::Files);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString folder = base + "/" + QFileInfo(file).completeBaseName();
    QByteArray bytes = qv::test::ReadBytes(file);
    const qv::data::IniFile ini = qv::data::IniFile::FromBytes(bytes);
    for (const QString& section : ini.sectionNames()) {
      const QString sim = ini.value(section, "sim").trimmed();
      if (!sim.isEmpty() && !sim.contains(u'\\')) WriteBytes(folder + "/" + sim + ".air", "AIR");
    }
    WriteBytes(folder + "/aircraft.cfg", encode ? encode(QFileInfo(file).fileName(), bytes) : bytes);
  }
  return "SimObjects\\Public";
}

QStringList RowLines(const AircraftCatalogue& c) {
  QStringList lines;
  for (const Row& r : Rows(c)) lines << r.manufacturer + " | " + r.type + " | " + r.variation + " | " + r.title;
  return lines;
}

}  // namespace

// Configuration files nobody here wrote give the catalogue reviewed once in
// the golden file, also when one is UTF-16 and one UTF-8 behind a byte-order
// mark; a file larger than any real one is named in a message and the rest
// is still catalogued.
TEST(AircraftScan, CataloguesPublicAircraftInEveryEncoding) {
  const QStringList golden =
      QString::fromUtf8(qv::test::ReadBytes(qv::test::FixturesDir() + "/golden/public/catalogue.txt"))
          .split(u'\n', Qt::SkipEmptyParts);
  const auto reencode = [](const QString& name, QByteArray bytes) {
    const QString text = qv::base::FromCp1252(bytes);
    if (name.startsWith("UTLive")) {
      QByteArray out = "\xFF\xFE";
      out.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
      return out;
    }
    return name.startsWith("Carenado") ? "\xEF\xBB\xBF" + text.toUtf8() : bytes;
  };
  for (bool encoded : {false, true}) {
    qv::test::TestInstallation inst;
    qv::test::TestEnv env(inst.installDir);
    env.state.simObjectPaths = {encoded ? PublicHangar(inst.simDir, reencode) : PublicHangar(inst.simDir)};
    if (encoded) {
      QByteArray huge = "[fltsim.0]\r\ntitle=Huge\r\nsim=a\r\n";
      huge.resize(qv::data::IniFile::kMaxFileSize + 1, ';');
      WriteBytes(inst.simDir + "/SimObjects/Public/Huge/aircraft.cfg", huge);
      WriteBytes(inst.simDir + "/SimObjects/Public/Huge/a.air", "AIR");
    }
    ScanSimulatorAircraft(env.ctx);
    EXPECT_EQ(RowLines(env.state.catalogue), golden) << "encoded " << encoded;
    if (!encoded) {
      EXPECT_TRUE(env.dialogs.messages.empty());
      continue;
    }
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.last().title, "FSX Aircraft Not Read");
    EXPECT_TRUE(env.dialogs.last().message.contains("Huge/aircraft.cfg is larger than 8 MB"))
        << qPrintable(env.dialogs.last().message);
  }
}

// Files of very different sizes are read one after the other on each thread
// (a read buffer is kept from file to file): every folder's records come from
// its own file only, in folder order (names ignoring case) however many
// threads read them, and each entry keeps its own texture folder and
// kneeboard page whether or not it repeats the entry before it.
TEST(AircraftScan, ReadsEveryFolderFromItsOwnFileOnlyAndInOrder) {
  for (const int folders : {3, 300}) {  // one thread, then several
    SCOPED_TRACE(folders);
    QTemporaryDir root;
    const QString many = root.path() + "/SimObjects/Many/";
    QStringList expected;
    for (int i = 0; i < folders; ++i) {
      const QString name = QString(i % 3 == 1 ? "CRAFT%1" : "craft%1").arg(i, 3, 10, QChar(u'0'));
      const QString folder = many + name;
      QByteArray cfg;
      if (i % 2 == 0) {
        // A long file: entries that repeat or change the page and texture
        // of the one before, and a tail of comments longer than a short file.
        cfg = QString(
                  "[fltsim.0]\ntitle=%1 a\nsim=m\nkb_checklists=same\n"
                  "[fltsim.1]\ntitle=%1 b\nsim=m\nkb_checklists=same\ntexture=1\n"
                  "[fltsim.2]\ntitle=%1 c\nsim=m\nkb_checklists=other\ntexture=1\n"
                  "[fltsim.3]\ntitle=%1 d\nsim=m\nkb_checklists=same\ntexture=2\n")
                  .arg(name)
                  .toLatin1();
        cfg += QByteArray(20000, ';') + "\n";
        expected << name + " a|Texture/|same.htm" << name + " b|texture.1/|same.htm" << name + " c|texture.1/|other.htm"
                 << name + " d|Texture.2/|same.htm";
        ASSERT_TRUE(QDir().mkpath(folder + "/texture.1"));
      } else {
        cfg = QString("[fltsim.0]\ntitle=%1 a\nsim=m\n").arg(name).toLatin1();
        expected << name + " a|Texture/|.htm";
      }
      WriteBytes(folder + "/aircraft.cfg", cfg);
      WriteBytes(folder + "/m.air", "AIR");
    }
    QStringList found;
    for (const auto& r : CollectAircraftRecords(root.path(), {"SimObjects\\Many"})) {
      EXPECT_TRUE(r.textureFolder.startsWith(r.folder + "/")) << qPrintable(r.textureFolder);
      EXPECT_TRUE(r.checklistPage.startsWith(r.folder + "/")) << qPrintable(r.checklistPage);
      found << r.title + "|" + r.textureFolder.mid(r.folder.size() + 1) + "|" +
                   r.checklistPage.mid(r.folder.size() + 1);
    }
    EXPECT_EQ(found, expected);
  }
}

// The aircraft folders of an object folder are its folders as a file
// manager shows them: links to folders count, hidden folders, files and
// dangling links do not.
TEST(AircraftScan, TakesTheVisibleFoldersOfAnObjectFolder) {
  QTemporaryDir root;
  const QString many = root.path() + "/SimObjects/Many/";
  const auto aircraft = [](const QString& folder, const QString& title) {
    WriteBytes(folder + "/aircraft.cfg", ("[fltsim.0]\ntitle=" + title + "\nsim=m\n").toLatin1());
    WriteBytes(folder + "/m.air", "AIR");
  };
  aircraft(many + "Visible", "Visible");
  aircraft(many + ".Hidden", "Hidden");
  aircraft(root.path() + "/Elsewhere", "Linked");
  ASSERT_TRUE(QFile::link(root.path() + "/Elsewhere", many + "Linked"));
  ASSERT_TRUE(QFile::link(root.path() + "/Nowhere", many + "Dangling"));
  WriteBytes(many + "notes.txt", "text");
  QStringList titles;
  for (const auto& r : CollectAircraftRecords(root.path(), {"SimObjects\\Many"})) titles << r.title;
  EXPECT_EQ(titles, (QStringList{"Linked", "Visible"}));
}
