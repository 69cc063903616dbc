#include <QByteArray>
#include <cstdint>

#include "data/ChecklistFiles.h"

// Every accepted assignments file is written back byte for byte.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  std::vector<qv::data::ChecklistAssignment> list;
  if (!qv::data::ParseAssignments(bytes, list)) return 0;
  if (qv::data::SerializeAssignments(list) != bytes) __builtin_trap();
  return 0;
}
