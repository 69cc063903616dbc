#include <QByteArray>
#include <QString>
#include <cstdint>

#include "data/NavaidLists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  std::vector<qv::data::IlsRecord> ils;
  std::vector<qv::data::NavaidRecord> nav;
  qv::data::ParseIlsList(bytes, ils);
  qv::data::ParseNavaidList(bytes, nav);
  int16_t n = 0;
  qv::data::ParseActionNumber(QString::fromLatin1(bytes.left(64)), n);
  return 0;
}
