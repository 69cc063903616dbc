#include "core/data/CommandListStore.h"

#include "base/FileUtil.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/BinaryIo.h"

namespace qv::data {

namespace {

void ShowError(shell::Dialogs& dialogs, const QString& firstLine, int icon) {
  dialogs.ShowMessage(
      "Quorvane Error",
      shell::JoinLines({firstLine, "Please contact Veltrane Support", "Please press OK to continue..."}), icon, true,
      false, "");
}

}  // namespace

int LoadCommandList(shell::Context& ctx) {
  ctx.status.SetStatus("Loading Command List, standby...");
  QByteArray bytes;
  std::vector<CommandRecord> list;
  if (!ReadWholeFile(CommandListFilePath(ctx.state.installDir), bytes) || !ParseCommandList(bytes, list)) {
    ShowError(ctx.dialogs, "There was an error in loading the " + kCommandListFileName + " file.", shell::kIconError);
    ctx.shutdown.Shutdown();
    return 1;
  }
  ctx.state.commands = std::move(list);
  return 0;
}

int SaveCommandList(const shell::AppState& state, shell::Dialogs& dialogs) {
  const QString path = CommandListFilePath(state.installDir);
  QByteArray bytes;
  if (!SerializeCommandList(state.commands, bytes) ||
      !base::KeepBackup(path, state.installDir + "/Data/" + kCommandListBackupName) ||
      !base::WriteFileAtomic(path, bytes)) {
    ShowError(dialogs, "There was an error in writing out the " + kCommandListFileName + " file.", shell::kIconWarning);
    return 1;
  }
  return 0;
}

}  // namespace qv::data
