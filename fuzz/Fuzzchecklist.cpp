#include <QByteArray>
#include <cstdint>

#include "data/ChecklistFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  qv::data::ChecklistFile c, again;
  if (!qv::data::ParseChecklist(bytes, c)) return 0;
  QByteArray out, out2;
  if (!qv::data::SerializeChecklist(c, out) || !qv::data::ParseChecklist(out, again) ||
      !qv::data::SerializeChecklist(again, out2) || out != out2)
    __builtin_trap();
  return 0;
}
