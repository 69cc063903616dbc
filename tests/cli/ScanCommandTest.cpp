#include <gtest/gtest.h>

#include "FixtureTree.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "data/ChecklistFiles.h"

using namespace qv;

namespace {

// The sample simulator tree in a test installation whose simulator
// configuration names SimObjects\Airplanes and SimObjects\Rotorcraft.
struct ScanInstallation {
  ScanInstallation() { test::CopyTree(test::FixturesDir() + "/ScanTree", inst.simDir); }
  void writeAssignments(const std::vector<data::ChecklistAssignment>& list) {
    test::WriteBytes(data::AssignmentsFilePath(inst.installDir), data::SerializeAssignments(list));
  }
  test::TestInstallation inst;
};

}  // namespace

TEST(CliScan, PrintsOneLinePerVariationWithItsAssignment) {
  ScanInstallation s;
  s.writeAssignments(
      {{base::Fixed("CESSNA RED", data::kAssignmentTitleWidth), base::Fixed("C172", data::kAssignmentNameWidth), 1}});
  const auto r = test::RunCli({"scan", s.inst.installDir});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 15);

  const QString airplanes = s.inst.simDir + "/SimObjects/Airplanes/";
  // The first aircraft in catalogue order gets the first new record.
  EXPECT_EQ(lines[0].split(u'\t'),
            (QStringList{"0", "0", "0", "9th Squadron", "S1", "Standard", "Squadron One", "1",
                         airplanes + "B_Lower/Texture/", airplanes + "B_Lower/lower_check.htm"}));
  EXPECT_EQ(lines[4].split(u'\t'),
            (QStringList{"3", "0", "1", "Cessna", "C172", "Red", "Cessna Red", "0", airplanes + "C_Cessna/TEXTURE.red/",
                         airplanes + "C_Cessna/C172_check.htm"}));
  EXPECT_EQ(lines[10].split(u'\t').mid(3, 4), (QStringList{"Quoted Works", "Q-Type", "Padded Blue", "Quoted Title"}));
  EXPECT_TRUE(lines[14].startsWith("10\t0\t0\tlowercase air\t"));
  // Scanning changes no file.
  EXPECT_FALSE(QFileInfo::exists(s.inst.installDir + "/Data/Checklist_Assignments.bak"));
}

TEST(CliScan, StopsWhenTheAssignmentsCannotBeLoaded) {
  ScanInstallation s;  // no assignments file
  const auto r = test::RunCli({"scan", s.inst.installDir});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_FALSE(r.err.isEmpty());
  EXPECT_NE(test::RunCli({"scan"}).exitCode, 0);
}
