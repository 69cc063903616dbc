#include "core/grammar/CompileCommands.h"

#include "core/data/CommandListStore.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"

namespace qv::grammar {
namespace {

const QString kSupportAddress = QStringLiteral("www.veltrane.com/support");
const QString kPressOk = QStringLiteral("Please press OK to continue...");

void ReportFailure(shell::Dialogs& d, const QString& title, const QString& what) {
  d.ShowMessage(
      title,
      shell::JoinLines({"There was an error while " + what +
                            " your grammar files.  Please contact Veltrane support at " + kSupportAddress + ".",
                        kPressOk}),
      shell::kIconError, true, false, QString());
}

}  // namespace

CompileResult CompileCommandSet(shell::Context& ctx, SpeechFacade& speech) {
  shell::Dialogs& d = ctx.dialogs;
  const QString progress = shell::JoinLines(
      {"Saving and compiling your grammar files.  This process will take a few minutes", "Please standby..."});
  d.ProgressOpen("Compiling Grammar Files", progress);
  if (data::SaveCommandList(ctx.state, d) != 0) {
    d.ProgressHide();
    return CompileResult::NotSaved;
  }
  d.ProgressUpdate(progress, 10);
  if (WriteAllGrammars(ctx) != 0) {
    d.ProgressHide();
    ReportFailure(d, "Grammar Export Error", "exporting");
    return CompileResult::ExportFailed;
  }
  if (ctx.state.speechReady) {
    d.ProgressUpdate(progress, 80);
    if (speech.fnBinCompile_Call(1, 0, 1) != 0) {
      d.ProgressHide();
      ReportFailure(d, "Grammar Compile Error", "compiling");
      return CompileResult::CompileFailed;
    }
  }
  d.ProgressUpdate(progress, 100);
  d.ProgressHide();
  return CompileResult::Compiled;
}

void ReportCompiled(shell::Dialogs& d, bool offerRestart) {
  const QString saved = QStringLiteral("All changes to the grammars and readbacks have been saved.");
  if (offerRestart)
    d.ShowMessage("Grammars and Readbacks Saved",
                  shell::JoinLines({saved + "  In order to use these changes in FSX, the Speech Recognition engine "
                                            "needs to be restarted.",
                                    "Press OK to restart, Cancel to continue without restarting."}),
                  shell::kIconInformation, true, true, "gcompile_restart");
  else
    d.ShowMessage("Grammars and Readbacks Saved", shell::JoinLines({saved, kPressOk}), shell::kIconInformation, true,
                  false, QString());
}

void ReportSaved(shell::Dialogs& d) {
  d.ShowMessage("Changes Saved",
                shell::JoinLines({"All changes to the readbacks have been saved.  You still need to compile the "
                                  "grammar files to be able to use the changes.",
                                  kPressOk}),
                shell::kIconInformation, true, false, QString());
}

}  // namespace qv::grammar
