#include "gui/checklists/frm_Modify.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "gui/kit/Accessibility.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"
#include "gui/kit/SkinnedDialogs.h"

namespace qv::checklists {

namespace {

QLineEdit* MakeText(QWidget* parent, const QString& name, int width, const QRect& geometry) {
  auto* t = new QLineEdit(parent);
  t->setObjectName(name);
  t->setGeometry(geometry);
  t->setMaxLength(width);  // the field's width in the file; a longer paste is cut
  return t;
}

}  // namespace

frm_Modify::frm_Modify(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Modify", services, host, "Modify_BG.bmp"),
      m_editor(services.ctx, services.launcher, services.speech) {
  lbl_ChecklistName = ui::MakeLabel(this, "lbl_ChecklistName", {}, {300, 22, 460, 20});
  ui::MakeLabel(this, "Label_Section", "Checklist Section", {30, 56, 240, 16});
  comboSection = new QComboBox(this);
  comboSection->setObjectName("comboSection");
  comboSection->setGeometry(30, 74, 240, 24);
  for (int i = 0; i < data::kSectionCount; ++i) comboSection->addItem(SectionTitles()[i], i);
  comboSection->setCurrentIndex(0);
  connect(comboSection, &QComboBox::activated, this, [this](int index) {
    if (!m_editor.isOpen()) return;
    m_editor.ChooseSection(comboSection->itemData(index).toInt());
    RefreshStepPage();
    lbl_ChecklistSection->setText(comboSection->itemText(index));
    ShowCurrentStep();
    HighlightRow();
  });

  ui::MakeLabel(this, "Label_Challenge", "Challenge", {30, 106, 240, 16});
  txt_Challenge = MakeText(this, "txt_Challenge", data::kChallengeWidth, {30, 124, 240, 24});
  ui::MakeLabel(this, "Label_Pronunciation", "Pronunciation", {30, 174, 240, 16});
  txt_Pronunciation = MakeText(this, "txt_Pronunciation", data::kPronunciationWidth, {30, 192, 240, 24});
  ui::MakeLabel(this, "Label_Response", "Response", {30, 222, 240, 16});
  txt_Response = MakeText(this, "txt_Response", data::kResponseWidth, {30, 240, 240, 24});
  connect(txt_Challenge, &QLineEdit::textEdited, this, [this] { TextEdited(StepField::Challenge, txt_Challenge); });
  connect(txt_Pronunciation, &QLineEdit::textEdited, this,
          [this] { TextEdited(StepField::Pronunciation, txt_Pronunciation); });
  connect(txt_Response, &QLineEdit::textEdited, this, [this] { TextEdited(StepField::Response, txt_Response); });
  for (QLineEdit* box : {txt_Challenge, txt_Pronunciation, txt_Response}) box->installEventFilter(this);

  ui::MakeLabel(this, "Label_Responses", "Accepted Spoken Responses", {30, 270, 240, 16});
  lst_Responses = new QListWidget(this);
  lst_Responses->setObjectName("lst_Responses");
  lst_Responses->setGeometry(30, 288, 240, 104);
  lst_Responses->setSelectionMode(QAbstractItemView::MultiSelection);
  for (const QString& choice : m_editor.ResponseChoices()) new QListWidgetItem(choice, lst_Responses);
  // A change of the selection is the user's pick, by mouse or by the space bar.
  connect(lst_Responses, &QListWidget::itemSelectionChanged, this, &frm_Modify::ResponsesChanged);

  lbl_ChecklistSection = ui::MakeLabel(this, "lbl_ChecklistSection", SectionTitles()[0], {300, 56, 460, 18});
  lstview_Checklist = new QTreeWidget(this);
  lstview_Checklist->setObjectName("lstview_Checklist");
  lstview_Checklist->setAccessibleName("Checklist steps");  // its caption is the section shown
  lstview_Checklist->setGeometry(300, 76, 460, 310);
  lstview_Checklist->setColumnCount(2);
  lstview_Checklist->setHeaderLabels({"Challenge", "Response"});
  lstview_Checklist->setRootIsDecorated(false);
  lstview_Checklist->setUniformRowHeights(true);
  lstview_Checklist->setSelectionMode(QAbstractItemView::SingleSelection);
  // The highlighted row is the current step, however it was reached: a
  // click, the arrows, Home/End or typing the start of a challenge.
  connect(lstview_Checklist, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    const int row = item ? lstview_Checklist->indexOfTopLevelItem(item) : -1;
    if (m_filling || !m_editor.isOpen() || m_editor.sectionEmpty() || row < 0) return;
    m_editor.ChooseStep(row);
    ShowCurrentStep();
  });

  lbl_PrevPage = ui::MakeLabel(this, "lbl_PrevPage", "<< Previous Page", {300, 392, 140, 18}, QColor(24, 64, 140));
  lbl_PageNumber = ui::MakeLabel(this, "lbl_PageNumber", {}, {450, 392, 160, 18});
  lbl_PageNumber->setAlignment(Qt::AlignCenter);
  lbl_NextPage = ui::MakeLabel(this, "lbl_NextPage", "Next Page >>", {620, 392, 140, 18}, QColor(24, 64, 140));
  lbl_NextPage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (QLabel* l : {lbl_PrevPage, lbl_NextPage}) {
    l->installEventFilter(this);
    l->setCursor(Qt::PointingHandCursor);
    l->hide();
  }
  for (QLabel* l : {lbl_ChecklistName, lbl_ChecklistSection}) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  }

  btn_Play = Button<ui::FormButton>(
      {"btn_Play", 277, 188, "play", "btn_smlPlay", "enabled", "Click to test the pronunciation"});
  btn_Load = Button<ui::SmallButton>(
      {"btn_Load", 60, 13, "load", "btn_Load", "enabled", "Click to load a checklist file to modify for Quorvane"});
  btn_New = Button<ui::SmallButton>(
      {"btn_New", 175, 13, "new", "btn_New", "enabled", "Click to create a new checklist file to use in Quorvane"});
  btn_Insert = Button<ui::SmallButton>({"btn_Insert", 60, 401, "insert", "btn_Insert", "disabled",
                                        "Click to insert a new step into the checklist below the highlighted step"});
  btn_Delete = Button<ui::SmallButton>({"btn_Delete", 175, 401, "delete", "btn_Delete", "disabled",
                                        "Click to delete the currently highlighted step in the checklist"});
  resizeEvent(nullptr);
  // Keyboard order as the screen reads: the file buttons, the step's
  // fields down the left column, the steps, then the step buttons.
  ui::SetTabChain({btn_Load, btn_New, comboSection, txt_Challenge, txt_Pronunciation, btn_Play, txt_Response,
                   lst_Responses, lstview_Checklist, btn_Insert, btn_Delete});

  using K = ui::ButtonKind;
  Route(K::Form, "play", [this] { m_editor.Play(); });
  Route(K::Small, "new", [this] { m_editor.AskNewName(); });
  Route(K::Small, "load", [this] {
    if (m_editor.AskLoad()) Opened();
  });
  Route(K::Small, "insert", [this] { Insert(); });
  Route(K::Small, "delete", [this] { Delete(); });
  Route(K::Small, "save", [this] {
    if (m_editor.Save() != 0) return;
    m_host.frameButton(ui::FrameButton::OK)->setState("disabled");
    m_filling = false;
  });
  Route(K::Small, "cancel", [this] { m_host.ReturnHome(); });
  connect(&services.dialogs, &ui::SkinnedDialogs::inputAccepted, this, [this](const QString& tag, const QString& text) {
    if (tag == "new_checklist" && m_editor.NewChecklist(text)) Opened();
  });
  connect(&m_editor, &ChecklistEditor::modifiedChanged, this, [this](bool on) {
    if (on) m_host.frameButton(ui::FrameButton::OK)->setState("enabled");
  });
}

void frm_Modify::resizeEvent(QResizeEvent*) {
  // Challenges are the longer texts: they get two thirds of the list. The
  // viewport is not laid out yet when the screen loads, so the width comes
  // from the list's own, less its frame and a scroll bar.
  const int width = lstview_Checklist->width() - 2 * lstview_Checklist->frameWidth() -
                    lstview_Checklist->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  lstview_Checklist->setColumnWidth(0, width * 2 / 3);
  lstview_Checklist->setColumnWidth(1, width - width * 2 / 3);
}

bool frm_Modify::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == lbl_NextPage)
      TurnPage(+1);
    else if (watched == lbl_PrevPage)
      TurnPage(-1);
  } else if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, box, &QLineEdit::selectAll);
  }
  return QWidget::eventFilter(watched, event);
}

void frm_Modify::RefreshStepPage() {
  m_filling = true;
  lstview_Checklist->clear();
  for (const StepRow& row : m_editor.PageRows()) new QTreeWidgetItem(lstview_Checklist, {row.challenge, row.response});
  m_filling = false;
  lbl_NextPage->setVisible(m_editor.hasNextPage());
  lbl_PrevPage->setVisible(m_editor.hasPreviousPage());
  lbl_PageNumber->setText(m_editor.PageNumberText());
  btn_Insert->setState("enabled");
}

void frm_Modify::ShowCurrentStep() {
  m_filling = true;
  const QList<bool>& chosen = m_editor.chosenResponses();
  for (int i = 0; i < lst_Responses->count(); ++i) lst_Responses->item(i)->setSelected(chosen.value(i));
  const data::ChecklistItem* step = m_editor.currentItem();
  txt_Challenge->setText(step ? step->challenge.trimmed() : QString());
  txt_Pronunciation->setText(step ? step->pronunciation.trimmed() : QString());
  txt_Response->setText(step ? step->response.trimmed() : QString());
  m_filling = false;
  btn_Insert->setState("enabled");
  btn_Delete->setState(step ? "enabled" : "disabled");
}

void frm_Modify::HighlightRow() {
  // No highlight when the current step is on another page: the next arrow
  // key or click then picks a step of the page shown.
  const int row = m_editor.currentRow();
  m_filling = true;
  lstview_Checklist->setCurrentItem(row >= 0 ? lstview_Checklist->topLevelItem(row) : nullptr);
  m_filling = false;
}

void frm_Modify::Opened() {
  lbl_ChecklistName->setText(m_editor.openName());
  comboSection->setCurrentIndex(comboSection->findData(0));
  lbl_ChecklistSection->setText(comboSection->currentText());
  RefreshStepPage();
  ShowCurrentStep();
  HighlightRow();
}

void frm_Modify::TurnPage(int delta) {
  if (!m_editor.TurnPage(delta)) return;
  RefreshStepPage();
  lbl_ChecklistSection->setText(SectionTitles().value(m_editor.section()));
  comboSection->setFocus();
  ShowCurrentStep();
  HighlightRow();
}

void frm_Modify::Insert() {
  if (!m_editor.isOpen()) return;
  m_editor.Insert();
  RefreshStepPage();
  ShowCurrentStep();
  HighlightRow();
}

void frm_Modify::Delete() {
  if (!m_editor.isOpen()) return;
  m_editor.Delete();
  RefreshStepPage();
  ShowCurrentStep();
  HighlightRow();
}

void frm_Modify::TextEdited(StepField field, QLineEdit* box) {
  if (m_filling) return;
  const std::optional<QString> kept = m_editor.Edit(field, box->text());
  m_filling = true;
  if (!kept) {
    box->clear();  // nothing can be typed into an empty section
  } else if (*kept != box->text()) {
    const int cursor = box->cursorPosition();
    box->setText(*kept);
    box->setCursorPosition(std::min<int>(cursor, int(kept->size())));
  }
  m_filling = false;
  const int row = m_editor.currentRow();
  QTreeWidgetItem* item = kept && row >= 0 ? lstview_Checklist->topLevelItem(row) : nullptr;
  if (!item || field == StepField::Pronunciation) return;
  item->setText(field == StepField::Challenge ? 0 : 1, kept->trimmed().toUpper());
}

void frm_Modify::ResponsesChanged() {
  if (m_filling) return;
  QList<bool> chosen;
  for (int i = 0; i < lst_Responses->count(); ++i) chosen << lst_Responses->item(i)->isSelected();
  m_editor.ChooseResponses(chosen);
}

void frm_Modify::ResetModifyScreen() {
  m_filling = true;
  lstview_Checklist->clear();
  txt_Challenge->clear();
  txt_Pronunciation->clear();
  txt_Response->clear();
  lst_Responses->clearSelection();
  m_filling = false;
  btn_Insert->setState("disabled");
  btn_Delete->setState("disabled");
  m_editor.Reset();
  lbl_ChecklistName->clear();
  lbl_PageNumber->clear();
  lbl_PrevPage->hide();
  lbl_NextPage->hide();
  comboSection->setCurrentIndex(comboSection->findData(0));
  lbl_ChecklistSection->setText(comboSection->currentText());
}

}  // namespace qv::checklists
