#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "platform/SimInstallation.h"

using namespace qv;

// Paths in simulator files are Windows paths written in any letter case.
TEST(SimInstallation, WindowsPathsResolveWithoutRegardToCase) {
  QTemporaryDir dir;
  QDir().mkpath(dir.path() + "/SimObjects/Airplanes/C172/Texture.1");
  test::WriteBytes(dir.path() + "/SimObjects/Airplanes/C172/Aircraft.CFG", "x");
  EXPECT_EQ(platform::ResolveNoCase(dir.path(), "simobjects\\AIRPLANES"), dir.path() + "/SimObjects/Airplanes");
  EXPECT_EQ(platform::ResolveNoCase(dir.path(), "SimObjects\\Airplanes\\c172\\TEXTURE.1\\"),
            dir.path() + "/SimObjects/Airplanes/C172/Texture.1");
  EXPECT_EQ(platform::FindNoCase(dir.path() + "/SimObjects/Airplanes/C172", "aircraft.cfg"),
            dir.path() + "/SimObjects/Airplanes/C172/Aircraft.CFG");
  EXPECT_EQ(platform::FindNoCase(dir.path(), "missing"), "");
  // a missing component leaves the path as written, with slashes
  EXPECT_EQ(platform::ResolveNoCase(dir.path(), "SimObjects\\Boats"), dir.path() + "/SimObjects/Boats");
  // absolute paths are allowed
  EXPECT_EQ(platform::ResolveNoCase("/elsewhere", dir.path() + "/simobjects"), dir.path() + "/SimObjects");
}
