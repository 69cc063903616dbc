// Lays out a large synthetic installation for measuring by hand:
//   bench_MakeLargeInstallation OUT_DIR [AIRCRAFT_FOLDERS [NAVAIDS [COMMANDS]]]
// then, for example, `quorvane-cli scan "OUT_DIR/FSX/Veltrane Software/Quorvane"`.
#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

#include "LargeInstallation.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) {
    std::fprintf(stderr, "Usage: %s OUT_DIR [AIRCRAFT_FOLDERS [NAVAIDS [COMMANDS]]]\n", argv[0]);
    return 2;
  }
  qv::bench::LargeInstallationSize size;
  if (args.size() > 1) size.aircraftFolders = args[1].toInt();
  if (args.size() > 2) size.navaids = args[2].toInt();
  if (args.size() > 3) size.commands = args[3].toInt();
  QDir(args[0]).removeRecursively();
  const auto out = qv::bench::MakeLargeInstallation(args[0], size);
  if (!out.error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(out.error));
    return 1;
  }
  std::printf("%lld configuration files; installation folder %s\n", static_cast<long long>(out.configFiles.size()),
              qPrintable(out.installDir));
  return 0;
}
