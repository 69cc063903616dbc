#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "data/ChecklistFiles.h"
#include "data/CommandList.h"

namespace qv::data {

// Readable JSON forms of the binary data files, for sharing and diffing.
// Texts are UTF-8 with the field padding removed (leading blanks kept); keys
// keep the order of the record layout. Output is canonical: reading it back
// and writing again gives the same bytes.
QByteArray CommandsToJson(const std::vector<CommandRecord>& commands);
QByteArray ChecklistToJson(const ChecklistFile& checklist);
QByteArray AssignmentsToJson(const std::vector<ChecklistAssignment>& assignments);

// The JSON form of the largest data file we read stays well below this.
inline constexpr qint64 kMaxJsonFileSize = 64 * 1024 * 1024;

// The reverse. A text longer than its field, a character outside the code
// page, a number outside its range or a missing key is an error naming the
// field ("[3].grammars[1]: ..."); `out` is left unchanged then. Texts are
// stored padded, as the models hold them.
bool CommandsFromJson(const QByteArray& json, std::vector<CommandRecord>& out, QString& error);
bool ChecklistFromJson(const QByteArray& json, ChecklistFile& out, QString& error);
bool AssignmentsFromJson(const QByteArray& json, std::vector<ChecklistAssignment>& out, QString& error);

}  // namespace qv::data
