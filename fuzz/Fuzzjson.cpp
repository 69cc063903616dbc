#include <QByteArray>
#include <cstdint>

#include "data/JsonFormats.h"

// JSON the importer accepts is canonical after one trip: written out and
// read back it gives the same JSON again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  QString error;
  std::vector<qv::data::CommandRecord> commands, again;
  if (qv::data::CommandsFromJson(bytes, commands, error)) {
    const QByteArray json = qv::data::CommandsToJson(commands);
    if (!qv::data::CommandsFromJson(json, again, error) || qv::data::CommandsToJson(again) != json) __builtin_trap();
  }
  qv::data::ChecklistFile c, c2;
  if (qv::data::ChecklistFromJson(bytes, c, error)) {
    const QByteArray json = qv::data::ChecklistToJson(c);
    if (!qv::data::ChecklistFromJson(json, c2, error) || qv::data::ChecklistToJson(c2) != json) __builtin_trap();
  }
  return 0;
}
