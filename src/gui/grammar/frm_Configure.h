#pragma once

#include "core/grammar/CommandTextEditor.h"
#include "gui/kit/SkinnedScreen.h"

class QComboBox;
class QLabel;
class QListWidget;

namespace qv::grammar {

class frm_CompileProblems;
struct CompileProblem;

// The speech configuration screen: categories, commands, their phrases and
// readbacks, the copilot voice, and the way to the test and script screens.
// The phrase and readback lists are edited by one CommandTextEditor each;
// save and compile run the steps of CompileCommands. Edits stay in the
// in-memory command list until "save" or "compile".
class frm_Configure final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Configure(const ui::ScreenServices& services, ui::ScreenHost& host);

  // Entering fills the lists: categories rebuilt, the first category and its
  // first command chosen.
  void Entering() override { Fill(); }
  bool unsavedChanges() const override { return m_unsaved; }
  void Fill();

  // Screen events.
  void CategoryChosen(int row);
  void CommandChosen(int row);
  void PhraseChosen(int row);
  void VoiceChosen(int row);

  // Selects the category, command and phrase a compile problem belongs to.
  void ShowProblem(const CompileProblem& problem);
  // The window listing the last compile's problems (null before the first).
  frm_CompileProblems* problemList() const { return m_problems; }

  // The test and script screens store the four selections on the way out and
  // set them back on the way in.
  void RememberSelections();
  void ReturnWithSelections();
  // Back from the rehearsal view with that command chosen (its category and
  // it, as if picked in the two lists).
  void ReturnToCommand(int commandIndex);

  int currentCommand() const { return m_currentCommand; }
  int currentPhrase() const { return m_currentPhrase; }
  struct Selections {
    int category = -1, command = -1, grammar = -1, readback = -1;
  };
  const Selections& remembered() const { return m_remembered; }

  QComboBox* comboCategory;
  QComboBox* comboCommand;
  QLabel* lbl_HelpText;
  QLabel* lbl_CategoryNumber;
  QLabel* lbl_CommandNumber;
  QListWidget* listGrammar;
  QListWidget* listReadback;
  QComboBox* combo_Copilot;

 private:
  // One of the two lists with its editor.
  struct TextList {
    CommandTextEditor editor;
    QListWidget* view;
    int Selected() const;  // index of the entry selected, -1 for none
  };
  void FillVoices();
  void ShowEntries(TextList& list, int select);
  void Ask(TextList& list, CommandTextEditor::Action action);
  void Answered(const QString& tag, const QString* text);
  void Changed();
  void TestGrammar();
  void Script();
  void Rehearse();
  void PlayReadback();
  void MicrophoneSwitchChanged();
  void Save();
  // True when the command set was compiled.
  bool Compile();
  // Offers the last compile's problems (errors and warnings), when it had any.
  void ListProblems(bool compiled);

  TextList m_phrases;
  TextList m_readbacks;
  int m_currentCommand = -1;
  int m_currentPhrase = -1;
  bool m_unsaved = false;
  Selections m_remembered;
  frm_CompileProblems* m_problems = nullptr;
};

}  // namespace qv::grammar
