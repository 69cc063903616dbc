#include <QByteArray>
#include <cstdint>

#include "data/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  qv::data::IniFile ini = qv::data::IniFile::FromBytes(bytes);
  ini.value("Main", "copilotVoice");
  ini.intValue("MAIN", "SimObjectPaths.0");
  ini.value("fltsim.0", "title");
  ini.setValue("Main", "PathFSXConfig", "C:\\x\\fsx.cfg");
  ini.value("Main", "PathFSXConfig");
  return 0;
}
