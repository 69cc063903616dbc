#include <QByteArray>
#include <cstdint>

#include "data/CommandList.h"

// A file the reader accepts must survive a write and a second read
// unchanged; anything else must be refused without a crash or a huge
// allocation.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  std::vector<qv::data::CommandRecord> list, again;
  if (!qv::data::ParseCommandList(bytes, list)) return 0;
  QByteArray out, out2;
  if (!qv::data::SerializeCommandList(list, out) || !qv::data::ParseCommandList(out, again) ||
      !qv::data::SerializeCommandList(again, out2) || out != out2)
    __builtin_trap();
  return 0;
}
