#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace qv::grammar {
class SpeechFacade;
}
namespace qv::shell {
struct Context;
struct LaunchHooks;
class frm_Parent;
}  // namespace qv::shell
namespace qv::ui {
class FormButton;
class Router;
class SkinnedDialogs;
class SmallButton;
}  // namespace qv::ui

namespace qv::checklists {

inline constexpr int kStepsPerPage = 20;

// The reason a checklist name cannot be a file in the Checklists folder, or
// empty when it can (on Windows as well as here).
QString ChecklistFileNameProblem(const QString& name);

// The editor for spoken checklists: sections, pages of 20 steps, the texts
// and accepted responses of the selected step.
class frm_Modify final : public QWidget {
 public:
  frm_Modify(shell::Context& ctx, shell::LaunchHooks& launch, ui::Router& router, shell::frm_Parent& frame,
             grammar::SpeechFacade* speech);

  // Registers the screen with the frame, its actions with the router and the
  // "new_checklist" input follow-up with the dialogs (when given).
  static void Install(shell::Context& ctx, shell::LaunchHooks& launch, ui::Router& router, shell::frm_Parent& frame,
                      grammar::SpeechFacade* speech, ui::SkinnedDialogs* dialogs);

  void RefreshStepPage(int section, int page);
  void ShowCurrentStep();
  int CommitCurrentStep();
  void FillResponseList();
  int SaveChecklist();
  void ResetModifyScreen();

  // Button actions.
  void New();
  void NewChecklistOk(const QString& text);  // OK of the "new_checklist" input
  void Load();
  void Insert();
  void Delete();
  void Play();
  void Save();

  // Leaving a step: a click on a row, a section change, a page change.
  void StepClicked(int row);
  void SectionChanged(int index);
  void NextPage();
  void PrevPage();
  void TurnPage(int delta);  // LeaveStep, then one page on or back

  QString openName() const { return m_openName; }
  int section() const { return m_section; }
  int currentStep() const { return m_step; }
  int page() const { return m_page; }
  int lastPage() const { return m_lastPage; }
  bool modified() const { return m_modified; }

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
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  enum class Field { Challenge, Pronunciation, Response };
  void TextEdited(Field field, QLineEdit* box);
  void ResponsesClicked();
  void LeaveStep();
  void CommitReported();
  void MarkModified();
  void OpenChecklist(const QString& name);
  void HighlightRow(int step);
  bool SectionEmpty() const;
  QString SectionTitle() const;

  shell::Context& m_ctx;
  shell::LaunchHooks& m_launch;
  shell::frm_Parent& m_frame;
  grammar::SpeechFacade* m_speech;
  QPixmap m_background;

  QString m_openName;
  int m_section = 0;
  int m_step = 0;
  int m_page = 0;
  int m_lastPage = 0;
  bool m_filling = false;
  bool m_modified = false;
};

}  // namespace qv::checklists
