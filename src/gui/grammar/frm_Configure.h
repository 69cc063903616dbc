#pragma once

#include <QPixmap>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;

namespace qv::shell {
struct Context;
}
namespace qv::ui {
class MediumButton;
class Router;
class SmallButton;
}  // namespace qv::ui

namespace qv::grammar {

class GrammarScreenHost;
class SpeechFacade;

// The speech configuration screen: categories, commands, their phrases and
// readbacks, the copilot voice, and the way to the test and script screens.
// Edits stay in the in-memory command list until "save" or "compile".
class frm_Configure final : public QWidget {
 public:
  frm_Configure(shell::Context& ctx, SpeechFacade& speech, GrammarScreenHost& host, ui::Router* router,
                QWidget* parent = nullptr);

  // Fills the lists as on entering from the home screen: categories rebuilt,
  // the first category and its first command chosen.
  void Fill();

  // Screen events.
  void CategoryChosen(int row);
  void CommandChosen(int row);
  void PhraseChosen(int row);
  void VoiceChosen(int row);

  // Actions of the screen's buttons and of the frame's buttons for it.
  void MicrophoneSetup();
  void AddGrammar();
  void EditGrammar();
  void DeleteGrammar();
  void TestGrammar();
  void Script();
  void AddReadback();
  void EditReadback();
  void DeleteReadback();
  void PlayReadback();
  void Save();
  void Compile();
  void Cancel();

  // OK of the dialogs named after these actions.
  void AddGrammarOk(const QString& text);
  void EditGrammarOk(const QString& text);
  void DeleteGrammarOk();
  void AddReadbackOk(const QString& text);
  void EditReadbackOk(const QString& text);
  void DeleteReadbackOk();

  // The test and script screens store the four selections on the way out and
  // set them back on the way in.
  void RememberSelections();
  void ReturnWithSelections();

  bool unsavedChanges() const { return m_unsaved; }
  int currentCommand() const { return m_currentCommand; }
  int currentPhrase() const { return m_currentPhrase; }
  int selectedGrammar() const;   // index in the command's phrases, -1 for none
  int selectedReadback() const;  // index in the command's readbacks, -1 for none
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
  ui::MediumButton* btn_MicrophoneSetup;
  ui::SmallButton* btn_AddGrammar;
  ui::SmallButton* btn_EditGrammar;
  ui::SmallButton* btn_DeleteGrammar;
  ui::SmallButton* btn_TestGrammar;
  ui::SmallButton* btn_Script;
  ui::SmallButton* btn_AddReadback;
  ui::SmallButton* btn_EditReadback;
  ui::SmallButton* btn_DeleteReadback;
  ui::SmallButton* btn_PlayReadback;

  static constexpr int kMaxReadbacks = 20;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void FillVoices();
  void FillLists();
  void Changed();
  // The trimmed entry fitted to its field, or an empty text when there is
  // nothing to store (blank, or refused with a message).
  QString Accept(const QString& text, int width);
  QString CommandName() const;
  bool HasCommand() const;

  shell::Context& m_ctx;
  SpeechFacade& m_speech;
  GrammarScreenHost& m_host;
  QPixmap m_background;
  int m_currentCommand = -1;
  int m_currentPhrase = -1;
  bool m_unsaved = false;
  bool m_filling = false;
  Selections m_remembered;
};

}  // namespace qv::grammar
