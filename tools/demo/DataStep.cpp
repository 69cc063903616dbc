// Turns the readable data sources of the demo into the installation's binary
// data files.
#include <QDir>
#include <QFileInfo>

#include "DemoSteps.h"
#include "data/ChecklistFiles.h"
#include "shell/FileUtil.h"

namespace {

QString WriteAssignments(const QString&, const QString& installDir) {
  QDir().mkpath(installDir + "/Data");
  const QString path = qv::data::AssignmentsFilePath(installDir);
  if (QFileInfo::exists(path)) return {};
  QString error;
  if (!qv::shell::WriteFileAtomic(path, qv::data::SerializeAssignments({}), &error)) return path + ": " + error;
  return {};
}

const DemoStepRegistrar kAssignments({"assignments", WriteAssignments});

}  // namespace
