#include "core/data/NavaidStore.h"

#include <functional>

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/BinaryIo.h"

namespace qv::data {

namespace {

int LoadList(shell::Context& ctx, const QString& status, const QString& fileName,
             const std::function<bool(const QByteArray&)>& parse) {
  ctx.status.SetStatus(status);
  QByteArray bytes;
  const base::FileResult read = ReadWholeFile(ctx.state.installDir + "/Data/" + fileName, bytes, kMaxNavaidFileSize);
  if (!read || !parse(bytes)) {
    QStringList lines{"There was an error in your " + fileName + " file."};
    if (!read) lines << read.error();
    ctx.dialogs.ShowMessage("Quorvane Fatal Error",
                            (lines << "Quorvane will not be able to load."
                                   << "Press OK to Exit.")
                                .join(shell::kCr2),
                            shell::kIconError, true, false, "");
    ctx.shutdown.Shutdown();
    return 1;
  }
  return 0;
}

}  // namespace

int LoadIlsList(shell::Context& ctx) {
  return LoadList(ctx, "Loading ILS Information, standby...", kIlsFileName,
                  [&ctx](const QByteArray& b) { return ParseIlsList(b, ctx.state.ilsList); });
}

int LoadNavaidList(shell::Context& ctx) {
  return LoadList(ctx, "Loading Navaid Information, standby...", kNavaidFileName,
                  [&ctx](const QByteArray& b) { return ParseNavaidList(b, ctx.state.navaidList); });
}

}  // namespace qv::data
