#include "core/data/CommandListStore.h"

#include "base/FileIo.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/BinaryIo.h"

namespace qv::data {

namespace {

void ShowError(shell::Dialogs& dialogs, const QString& firstLine, const QString& reason, int icon) {
  QStringList lines{firstLine};
  if (!reason.isEmpty()) lines << reason;
  lines << "Please contact Veltrane Support"
        << "Please press OK to continue...";
  dialogs.ShowMessage("Quorvane Error", lines.join(shell::kCr2), icon, true, false, "");
}

}  // namespace

int LoadCommandList(shell::Context& ctx) {
  ctx.status.SetStatus("Loading Command List, standby...");
  QByteArray bytes;
  std::vector<CommandRecord> list;
  const QString path = CommandListFilePath(ctx.state.installDir);
  base::FileResult read = ReadWholeFile(path, bytes, kMaxCommandListFileSize);
  if (read && !ParseCommandList(bytes, list)) read = base::FileResult::Failed(path, "the file is damaged or cut short");
  if (!read) {
    ShowError(ctx.dialogs, "There was an error in loading the " + kCommandListFileName + " file.", read.error(),
              shell::kIconError);
    ctx.shutdown.Shutdown();
    return 1;
  }
  ctx.state.commands = std::move(list);
  return 0;
}

int SaveCommandList(const shell::AppState& state, shell::Dialogs& dialogs) {
  const QString path = CommandListFilePath(state.installDir);
  QByteArray bytes;
  base::FileResult written =
      SerializeCommandList(state.commands, bytes)
          ? base::WriteFileWithBackup(path, state.installDir + "/Data/" + kCommandListBackupName, bytes)
          : base::FileResult::Failed(path, "a list is longer than the file can hold");
  if (!written) {
    ShowError(dialogs, "There was an error in writing out the " + kCommandListFileName + " file.", written.error(),
              shell::kIconWarning);
    return 1;
  }
  return 0;
}

}  // namespace qv::data
