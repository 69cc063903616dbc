#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "core/checklists/AircraftScan.h"

using namespace qv::checklists;

// An object folder lists at most 10,000 aircraft folders, taken in name
// order; the ones after are not read.
TEST(AircraftScanLimits, ListsTenThousandFoldersPerObjectFolder) {
  QTemporaryDir root;
  const QString base = root.path() + "/SimObjects/Many";
  for (int i = 0; i <= kMaxAircraftFolders; ++i)
    ASSERT_TRUE(QDir().mkpath(base + QString("/F%1").arg(i, 5, 10, QChar(u'0'))));
  for (int i : {0, kMaxAircraftFolders - 1, kMaxAircraftFolders}) {
    const QString folder = base + QString("/F%1").arg(i, 5, 10, QChar(u'0'));
    qv::test::WriteBytes(folder + "/aircraft.cfg",
                         QString("[fltsim.0]\r\ntitle=Aircraft %1\r\nsim=a\r\nui_manufacturer=M\r\nui_type=T\r\n"
                                 "ui_variation=V%1\r\n")
                             .arg(i)
                             .toLatin1());
    qv::test::WriteBytes(folder + "/a.air", "AIR");
  }
  const auto records = CollectAircraftRecords(root.path(), {"SimObjects\\Many"});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].title, "Aircraft 0");
  EXPECT_EQ(records[1].title, QString("Aircraft %1").arg(kMaxAircraftFolders - 1));
}

// Thousands of aircraft: every one in the catalogue and linked to its own record.
TEST(AircraftScanLimits, CataloguesThousandsOfVariations) {
  std::vector<AircraftRecord> records;
  for (int i = 0; i < 6000; ++i)
    records.push_back({QString("Title %1").arg(i), QString("Maker %1").arg(i % 200), QString("Type %1").arg(i % 2000),
                       QString("Paint %1").arg(i / 2000), "t/", "p.htm", ""});
  auto catalogue = BuildCatalogue(records);
  std::vector<qv::data::ChecklistAssignment> assignments;
  LinkAssignments(catalogue, assignments);
  EXPECT_EQ(catalogue.manufacturers.size(), 200u);
  EXPECT_EQ(assignments.size(), 6000u);
  QString previous;
  for (const auto& m : catalogue.manufacturers) {
    EXPECT_LT(previous, m.name);
    previous = m.name;
    EXPECT_EQ(m.types.size(), 10u);
  }
}
