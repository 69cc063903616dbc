#pragma once

#include <QDir>
#include <QFileInfo>

#include "TestEnv.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/JsonFormats.h"

namespace qv::test {

// Builds the demo's data files from their readable sources into an
// installation folder, the way the demo build does.
inline void InstallDemoData(const QString& installDir) {
  const QString src = DemoSourceDir() + "/Data";
  QString error;
  std::vector<data::CommandRecord> commands;
  ASSERT_TRUE(data::CommandsFromJson(ReadBytes(src + "/CommandList.json"), commands, error)) << qPrintable(error);
  QByteArray bytes;
  ASSERT_TRUE(data::SerializeCommandList(commands, bytes));
  WriteBytes(data::CommandListFilePath(installDir), bytes);
  std::vector<data::ChecklistAssignment> assignments;
  ASSERT_TRUE(data::AssignmentsFromJson(ReadBytes(src + "/Checklist_Assignments.json"), assignments, error));
  WriteBytes(data::AssignmentsFilePath(installDir), data::SerializeAssignments(assignments));
  for (const QString& f : QDir(src + "/Checklists").entryList({"*.json"}, QDir::Files)) {
    data::ChecklistFile c;
    ASSERT_TRUE(data::ChecklistFromJson(ReadBytes(src + "/Checklists/" + f), c, error)) << qPrintable(error);
    ASSERT_TRUE(data::SerializeChecklist(c, bytes));
    WriteBytes(installDir + "/Checklists/" + QFileInfo(f).completeBaseName() + ".dat", bytes);
  }
  for (const char* f : {"ILS_Info.txt", "Nav_Info.txt"})
    WriteBytes(installDir + "/Data/" + f, ReadBytes(src + "/" + f).replace("\n", "\r\n"));
}

}  // namespace qv::test
