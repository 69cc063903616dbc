#pragma once

#include "core/checklists/ChecklistEditor.h"
#include "gui/kit/SkinnedScreen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace qv::checklists {

// The checklist modification screen: a view of the ChecklistEditor. It draws
// the shown page, the current step and its chosen responses from the
// editor, and hands the user's edits, clicks and button presses to it.
class frm_Modify final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Modify(const ui::ScreenServices& services, ui::ScreenHost& host);

  // Entering from the home screen resets the editor: nothing open.
  void Entered() override { ResetModifyScreen(); }
  void ResetModifyScreen();

  ChecklistEditor& editor() { return m_editor; }

  QLabel* lbl_ChecklistName;
  QComboBox* comboSection;
  QLabel* lbl_ChecklistSection;
  QTreeWidget* lstview_Checklist;
  QLabel* lbl_PrevPage;
  QLabel* lbl_NextPage;
  QLabel* lbl_PageNumber;
  QLineEdit* txt_Challenge;
  QLineEdit* txt_Pronunciation;
  QLineEdit* txt_Response;
  QListWidget* lst_Responses;
  ui::FormButton* btn_Play;
  ui::SmallButton* btn_Load;
  ui::SmallButton* btn_New;
  ui::SmallButton* btn_Insert;
  ui::SmallButton* btn_Delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Redraws the page (step list, page labels and number) and the current
  // step (text boxes, responses, Insert and Delete) from the editor.
  void RefreshStepPage();
  void ShowCurrentStep();
  void HighlightRow();
  void Opened();
  void TurnPage(int delta);
  void Insert();
  void Delete();
  void TextEdited(StepField field, QLineEdit* box);
  void ResponsesChanged();

  ChecklistEditor m_editor;
  bool m_filling = false;  // on while the screen writes into its own controls
};

}  // namespace qv::checklists
