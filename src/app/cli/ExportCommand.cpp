#include "app/cli/CliSupport.h"
#include "data/BinaryIo.h"
#include "data/JsonFormats.h"

namespace qv::cli {
namespace {

const QString kUsage = "export commands|checklist|assignments FILE";

int Run(const QStringList& args) {
  if (args.size() != 2) {
    PrintErr("Usage: quorvane-cli " + kUsage + "\n");
    return 2;
  }
  const QString& kind = args[0];
  QByteArray bytes;
  const qint64 limit = kind == "assignments" ? data::kMaxAssignmentsFileSize
                       : kind == "checklist" ? data::kMaxChecklistFileSize
                                             : data::kMaxCommandListFileSize;
  if (const base::FileResult read = data::ReadWholeFile(args[1], bytes, limit); !read) {
    PrintErr(read.error() + "\n");
    return 1;
  }
  QByteArray json;
  bool ok = false;
  if (kind == "commands") {
    std::vector<data::CommandRecord> commands;
    if ((ok = data::ParseCommandList(bytes, commands))) json = data::CommandsToJson(commands);
  } else if (kind == "checklist") {
    data::ChecklistFile checklist;
    if ((ok = data::ParseChecklist(bytes, checklist))) json = data::ChecklistToJson(checklist);
  } else if (kind == "assignments") {
    std::vector<data::ChecklistAssignment> assignments;
    if ((ok = data::ParseAssignments(bytes, assignments))) json = data::AssignmentsToJson(assignments);
  } else {
    PrintErr("Usage: quorvane-cli " + kUsage + "\n");
    return 2;
  }
  if (!ok) {
    PrintErr(args[1] + ": not a valid " + kind + " file (damaged, cut short or with extra bytes)\n");
    return 1;
  }
  PrintOut(QString::fromUtf8(json));
  return 0;
}

const Registrar reg({"export", kUsage, "print a command list, checklist or assignments file as JSON", Run});

}  // namespace
}  // namespace qv::cli
