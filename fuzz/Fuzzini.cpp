#include <QByteArray>
#include <cstdint>

#include "data/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  qv::data::IniFile ini = qv::data::IniFile::FromBytes(bytes);
  ini.value("Main", "copilotVoice");
  ini.intValue("MAIN", "SimObjectPaths.0");
  ini.value("fltsim.0", "title");
  // A key that was written must read back, whatever surrounds it.
  ini.setValue("Main", "PathFSXConfig", "C:\\x\\fsx.cfg");
  if (ini.value("main", "pathfsxconfig") != "C:\\x\\fsx.cfg") __builtin_trap();
  ini.setValue("List.7", "name", "<HDG>");
  if (ini.value("List.7", "name") != "<HDG>") __builtin_trap();
  return 0;
}
