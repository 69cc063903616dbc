#include <QFile>

#include "app/cli/CliSupport.h"
#include "base/FileIo.h"
#include "data/BinaryIo.h"
#include "data/JsonFormats.h"

namespace qv::cli {
namespace {

const QString kUsage = "import commands|checklist|assignments JSON_FILE OUT_FILE";

int Run(const QStringList& args) {
  if (args.size() != 3) {
    PrintErr("Usage: quorvane-cli " + kUsage + "\n");
    return 2;
  }
  const QString& kind = args[0];
  QByteArray json;
  if (const base::FileResult read = data::ReadWholeFile(args[1], json, data::kMaxJsonFileSize); !read) {
    PrintErr(read.error() + "\n");
    return 1;
  }
  QString error;
  QByteArray bytes;
  bool ok = false;
  if (kind == "commands") {
    std::vector<data::CommandRecord> commands;
    ok = data::CommandsFromJson(json, commands, error) && data::SerializeCommandList(commands, bytes);
  } else if (kind == "checklist") {
    data::ChecklistFile checklist;
    ok = data::ChecklistFromJson(json, checklist, error) && data::SerializeChecklist(checklist, bytes);
  } else if (kind == "assignments") {
    std::vector<data::ChecklistAssignment> assignments;
    ok = data::AssignmentsFromJson(json, assignments, error);
    if (ok) bytes = data::SerializeAssignments(assignments);
  } else {
    PrintErr("Usage: quorvane-cli " + kUsage + "\n");
    return 2;
  }
  if (!ok) {
    PrintErr(args[1] + ": " + (error.isEmpty() ? QString("too many entries") : error) + "\n");
    return 1;
  }
  // A file written into an installation waits for the program to let go of it.
  std::unique_ptr<Session> installation;
  if (const QString dir = InstallationOf(args[2]); !dir.isEmpty()) {
    installation = std::make_unique<Session>(dir);
    if (!LockInstallation(*installation)) return 1;
  }
  if (const base::FileResult written = base::WriteFileAtomic(args[2], bytes); !written) {
    PrintErr(written.error() + "\n");
    return 1;
  }
  return 0;
}

const Registrar reg({"import", kUsage, "write a command list, checklist or assignments file from JSON", Run});

}  // namespace
}  // namespace qv::cli
