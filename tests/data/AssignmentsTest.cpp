#include <gtest/gtest.h>

#include <QDir>

#include "TestEnv.h"
#include "data/ChecklistFiles.h"
#include "data/FixedText.h"

using namespace qv::data;
using qv::test::ReadBytes;
using qv::test::TestEnv;
using qv::test::TestInstallation;
using qv::test::WriteBytes;

TEST(Assignments, LoadAndSaveRoundTripByteForByte) {
  TestInstallation inst;
  TestEnv env(inst.installDir);
  env.state.assignments = {{Fixed("Cessna Skyhawk 172SP Paint1", 256), Fixed("Cessna 172", 256), 1},
                           {Fixed("Mooney Bravo Retro", 256), Fixed("", 256), 0}};
  ASSERT_EQ(SaveAssignments(env.state, env.dialogs), 0);
  const QByteArray bytes = ReadBytes(AssignmentsFilePath(inst.installDir));
  EXPECT_EQ(bytes.size(), 2 + 2 * 514);
  env.state.assignments.clear();
  ASSERT_EQ(LoadAssignments(env.ctx), 0);
  ASSERT_EQ(env.state.assignments.size(), 2u);
  EXPECT_EQ(env.state.assignments[0].aircraftTitle.trimmed(), "Cessna Skyhawk 172SP Paint1");
  EXPECT_EQ(env.state.assignments[0].written, 1);
  EXPECT_EQ(SerializeAssignments(env.state.assignments), bytes);
  // A second save keeps the first file as the backup.
  ASSERT_EQ(SaveAssignments(env.state, env.dialogs), 0);
  EXPECT_EQ(ReadBytes(inst.installDir + "/Data/Checklist_Assignments.bak"), bytes);
  EXPECT_TRUE(env.dialogs.messages.empty());
}

TEST(Assignments, MissingFileIsFatal) {
  TestInstallation inst;
  TestEnv env(inst.installDir);
  QFile::remove(AssignmentsFilePath(inst.installDir));
  env.state.assignments = {{"keep", "me", 0}};
  EXPECT_EQ(LoadAssignments(env.ctx), 1);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Quorvane Fatal Error");
  EXPECT_EQ(env.dialogs.last().message,
            "There was an error in your Checklist_Assignments.dat file.\r\rQuorvane will not be able to "
            "load.\r\rPress OK to Exit.");
  EXPECT_TRUE(env.shutdown.HasShutDown());
  EXPECT_EQ(env.state.assignments.size(), 1u);
}
