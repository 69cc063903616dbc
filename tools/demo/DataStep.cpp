// Turns the readable data sources of the demo (demo/Data) into the
// installation's data files, with the same JSON readers the CLI import uses.
#include <QDir>
#include <QFileInfo>

#include "DemoSteps.h"
#include "base/Cp1252.h"
#include "base/FileIo.h"
#include "data/BinaryIo.h"
#include "data/JsonFormats.h"

namespace {

using namespace qv::data;

QString Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  const qv::base::FileResult written = qv::base::WriteFileAtomic(path, bytes);
  return written ? QString() : written.error();
}

QString Read(const QString& path, QByteArray& bytes) {
  const qv::base::FileResult read = ReadWholeFile(path, bytes, kMaxJsonFileSize);
  return read ? QString() : read.error();
}

// Sources are kept with plain line feeds; the files use CR LF.
QByteArray WithCrLf(QByteArray text) {
  text.replace("\r\n", "\n");
  text.replace("\n", "\r\n");
  return text;
}

QString CommandList(const QString& source, const QString& install) {
  QByteArray json, bytes;
  QString error = Read(source + "/Data/CommandList.json", json);
  std::vector<CommandRecord> commands;
  if (error.isEmpty() && !CommandsFromJson(json, commands, error)) error = "CommandList.json: " + error;
  if (error.isEmpty() && !SerializeCommandList(commands, bytes)) error = "CommandList.json: too many entries";
  return error.isEmpty() ? Write(CommandListFilePath(install), bytes) : error;
}

QString Checklists(const QString& source, const QString& install) {
  QDir dir(source + "/Data/Checklists");
  for (const QString& file : dir.entryList({"*.json"}, QDir::Files, QDir::Name)) {
    QByteArray json, bytes;
    if (QString error = Read(dir.filePath(file), json); !error.isEmpty()) return error;
    ChecklistFile checklist;
    QString error;
    if (!ChecklistFromJson(json, checklist, error)) return file + ": " + error;
    if (!SerializeChecklist(checklist, bytes)) return file + ": too many entries";
    const QString out = install + "/" + kChecklistsFolder + "/" + QFileInfo(file).completeBaseName() + ".dat";
    if (QString error = Write(out, bytes); !error.isEmpty()) return error;
  }
  return {};
}

QString Assignments(const QString& source, const QString& install) {
  QByteArray json;
  QString error = Read(source + "/Data/Checklist_Assignments.json", json);
  std::vector<ChecklistAssignment> list;
  if (error.isEmpty() && !AssignmentsFromJson(json, list, error)) error = "Checklist_Assignments.json: " + error;
  return error.isEmpty() ? Write(AssignmentsFilePath(install), SerializeAssignments(list)) : error;
}

QString NavaidLists(const QString& source, const QString& install) {
  for (const QString& name : {QStringLiteral("ILS_Info.txt"), QStringLiteral("Nav_Info.txt")}) {
    QByteArray text;
    if (QString error = Read(source + "/Data/" + name, text); !error.isEmpty()) return error;
    bool ok = true;
    const QByteArray bytes = qv::base::ToCp1252(QString::fromUtf8(WithCrLf(text)), &ok);
    if (!ok) return name + ": a character outside the Windows-1252 code page";
    if (QString error = Write(install + "/Data/" + name, bytes); !error.isEmpty()) return error;
  }
  return {};
}

// The shared list grammar is kept readable (UTF-8, line feeds) and delivered
// like every grammar file: UTF-16LE after FF FE, CR LF line ends.
QString GenericLists(const QString&, const QString& install) {
  const QString path = install + "/Data/Generic Lists.bnf";
  QByteArray text;
  if (QString error = Read(path, text); !error.isEmpty()) return error;
  if (text.startsWith("\xff\xfe")) return {};
  const QString s = QString::fromUtf8(WithCrLf(text));
  QByteArray bytes("\xff\xfe", 2);
  bytes.append(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
  return Write(path, bytes);
}

const DemoStepRegistrar kCommandList({"command list", CommandList});
const DemoStepRegistrar kChecklists({"checklists", Checklists});
const DemoStepRegistrar kAssignments({"assignments", Assignments});
const DemoStepRegistrar kNavaids({"navaid lists", NavaidLists});
const DemoStepRegistrar kGenericLists({"generic lists", GenericLists});

}  // namespace
