#include "core/shell/ScreenTips.h"

#include "core/shell/AppState.h"
#include "core/shell/Dialogs.h"

namespace qv::shell {

void LoadScreenTips(AppState& state) {
  auto tip = [](const QString& first, const QString& second) { return first + kCr2 + second; };
  auto& t = state.screenTips;
  t.clear();
  t.insert("frm_Modify",
           tip("Select checklist to modify from the list below, or press the NEW button to create a new "
               "checklist file, then INSERT for a new checklist item.",
               "Highlight a step in the checklist to modify it.  INSERT will add a step below the highlighted "
               "step or at the bottom when no steps are currently in the checklist."));
  t.insert("frm_Assign",
           tip("Select the aircraft you would like to assign a checklist to from the list provided.",
               "Highlight an available checklist from the bottom list then press the assign button.  Be sure "
               "to save your changes."));
  t.insert("frm_Configure",
           tip("Modify the grammar you speak or the readback your copilot will say with the options below.",
               "You may add, edit, or delete grammars and readbacks to customize your experience with "
               "Quorvane."));
  t.insert("frm_Script",
           tip("The information below displays all of the possible phrases you may speak to Flight Simulator "
               "using Quorvane.  This list will change as you make changes on the Configuration screen.",
               "You can save the script to a file for later printing."));
  t.insert("frm_Pronounce",
           tip("The words below are not in the recognition dictionary: Quorvane made their pronunciation.  Choose "
               "a word to hear it and to type other phones for it.",
               "Save your pronunciations, then compile: the recognition engine uses them before its own."));
  t.insert("frm_Test",
           tip("Use this screen to test speech recognition for a grammar command.  Press the START button to "
               "begin speaking the correct phrase.",
               "The recognition engine will display what it hears from your speech."));
  t.insert("frm_Rehearse",
           tip("Speak any command as you would in flight: press START (or hold your microphone key) and talk.",
               "Quorvane shows which command it heard and your copilot answers.  Click an attempt to open that "
               "command."));
  t.insert("frm_LC",
           kCr + tip("The learning center is your integrated help system for Quorvane.  Use the list on the left "
                     "side of the screen to select the topic you would like to receive help with.",
                     "The RETURN button will return you to the main Quorvane screen."));
}

}  // namespace qv::shell
