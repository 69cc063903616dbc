#pragma once

namespace qv::shell {
struct Context;
class Dialogs;
}  // namespace qv::shell

namespace qv::grammar {

class SpeechFacade;

// The configuration screen's "save" and "compile" of the command set, as
// plain steps the screen runs in order.

// Step 1 to 4 of "compile": the progress dialog, the command list saved, every
// grammar file written (the navaid writers move the bar from 10 to about
// 70 percent) and, while speech is ready, the grammar compiler run. A failed
// step is reported with its own message and ends the run; the files written
// before it stay.
enum class CompileResult { Compiled, NotSaved, ExportFailed, CompileFailed };
CompileResult CompileCommandSet(shell::Context& ctx, SpeechFacade& speech);

// Step 5's message, once the screen has cleared its unsaved-changes flag:
// the restart question (tag "gcompile_restart") when the simulator and the
// runtime both run, else the confirmation.
void ReportCompiled(shell::Dialogs& dialogs, bool offerRestart);

// "save": the confirmation that follows a saved command list.
void ReportSaved(shell::Dialogs& dialogs);

}  // namespace qv::grammar
