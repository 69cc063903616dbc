#include "gui/checklists/frm_Modify.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "core/data/ChecklistStore.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/LaunchHooks.h"
#include "data/ChecklistFiles.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/kit/SmallFontFix.h"
#include "gui/shell/frm_Parent.h"
#include "platform/FileDialogs.h"
#include "platform/Platform.h"

namespace qv::checklists {

namespace {

const char* const kSectionTitles[data::kSectionCount] = {
    "Preflight", "Pushback",       "Start Engines and Before Taxi",
    "Runup",     "Before Takeoff", "After Takeoff Climb",
    "Cruise",    "Descent",        "Approach",
    "Landing",   "After Landing",  "Engine Shutdown Secure Aircraft"};

const QString kErrorTitle = QStringLiteral("Checklist Modification Error");
const QString kPressOk = QStringLiteral("Please press OK to continue...");
constexpr int kMaxSteps = 100;  // five pages

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setGeometry(geometry);
  return l;
}

QLineEdit* MakeText(QWidget* parent, const QString& name, int width, const QRect& geometry) {
  auto* t = new QLineEdit(parent);
  t->setObjectName(name);
  t->setGeometry(geometry);
  t->setMaxLength(width);  // the field's width in the file; a longer paste is cut
  return t;
}

data::ChecklistItem NewStep() {
  data::ChecklistItem item;
  item.challenge = base::Fixed("New Item", data::kChallengeWidth);
  item.pronunciation = base::Fixed("New Item", data::kPronunciationWidth);
  item.response = base::Fixed("Set", data::kResponseWidth);
  item.responses = {{base::Fixed("Ignore", data::kResponseTextWidth), data::kIgnoreFunction},
                    {base::Fixed("Skip", data::kResponseTextWidth), data::kSkipFunction},
                    {base::Fixed("SET", data::kResponseTextWidth), 50002}};
  return item;
}

// The characters of `text` that a checklist file cannot hold, and the text without them.
QString KeepCp1252(const QString& text, QString* dropped) {
  QString kept;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString ch = text.mid(i, n);
    if (base::FitsCp1252(ch))
      kept += ch;
    else if (dropped && !dropped->contains(ch))
      *dropped += ch;
    i += n;
  }
  return kept;
}

}  // namespace

QString ChecklistFileNameProblem(const QString& name) {
  static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
  for (const QChar c : name)
    if (c.unicode() < 32 || forbidden.contains(c))
      return "A checklist name cannot contain any of these characters: \\ / : * ? \" < > |";
  if (name.endsWith(u'.') || name.endsWith(u' ')) return "A checklist name cannot end with a full stop or a space.";
  const QString base = name.section(u'.', 0, 0).trimmed().toUpper();
  static const QStringList reserved{"CON", "PRN", "AUX", "NUL"};
  if (reserved.contains(base) ||
      (base.size() == 4 && (base.startsWith("COM") || base.startsWith("LPT")) && base[3] >= u'1' && base[3] <= u'9'))
    return "\"" + name + "\" is a name that Windows reserves for a device.";
  if (!base::FitsCp1252(name))
    return "A checklist name can only use the characters of the Western (Windows-1252) character set.";
  // The name with ".dat" must stay a valid file name.
  if (name.size() > 251) return "A checklist name can be at most 251 characters long.";
  return {};
}

frm_Modify::frm_Modify(shell::Context& ctx, shell::LaunchHooks& launch, ui::Router& router, shell::frm_Parent& frame,
                       grammar::SpeechFacade* speech)
    : m_ctx(ctx), m_launch(launch), m_frame(frame), m_speech(speech) {
  setObjectName("frm_Modify");
  setFixedSize(790, 447);  // 11850 x 6705 twips
  const QString dir = ctx.state.installDir;
  const QString bg = dir + "/Media/Forms/Modify_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);

  lbl_ChecklistName = MakeLabel(this, "lbl_ChecklistName", {}, {300, 22, 460, 20});
  MakeLabel(this, "Label_Section", "Checklist Section", {30, 56, 240, 16});
  comboSection = new QComboBox(this);
  comboSection->setObjectName("comboSection");
  comboSection->setGeometry(30, 74, 240, 24);
  for (int i = 0; i < data::kSectionCount; ++i) comboSection->addItem(kSectionTitles[i], i);
  comboSection->setCurrentIndex(0);
  connect(comboSection, &QComboBox::activated, this, &frm_Modify::SectionChanged);

  MakeLabel(this, "Label_Challenge", "Challenge", {30, 106, 240, 16});
  txt_Challenge = MakeText(this, "txt_Challenge", data::kChallengeWidth, {30, 124, 240, 24});
  MakeLabel(this, "Label_Pronunciation", "Pronunciation", {30, 174, 240, 16});
  txt_Pronunciation = MakeText(this, "txt_Pronunciation", data::kPronunciationWidth, {30, 192, 240, 24});
  MakeLabel(this, "Label_Response", "Response", {30, 222, 240, 16});
  txt_Response = MakeText(this, "txt_Response", data::kResponseWidth, {30, 240, 240, 24});
  connect(txt_Challenge, &QLineEdit::textEdited, this, [this] { TextEdited(Field::Challenge, txt_Challenge); });
  connect(txt_Pronunciation, &QLineEdit::textEdited, this,
          [this] { TextEdited(Field::Pronunciation, txt_Pronunciation); });
  connect(txt_Response, &QLineEdit::textEdited, this, [this] { TextEdited(Field::Response, txt_Response); });
  for (QLineEdit* box : {txt_Challenge, txt_Pronunciation, txt_Response}) box->installEventFilter(this);

  MakeLabel(this, "Label_Responses", "Accepted Spoken Responses", {30, 270, 240, 16});
  lst_Responses = new QListWidget(this);
  lst_Responses->setObjectName("lst_Responses");
  lst_Responses->setGeometry(30, 288, 240, 104);
  lst_Responses->setSelectionMode(QAbstractItemView::MultiSelection);
  connect(lst_Responses, &QListWidget::itemClicked, this, &frm_Modify::ResponsesClicked);

  lbl_ChecklistSection = MakeLabel(this, "lbl_ChecklistSection", kSectionTitles[0], {300, 56, 460, 18});
  lstview_Checklist = new QTreeWidget(this);
  lstview_Checklist->setObjectName("lstview_Checklist");
  lstview_Checklist->setGeometry(300, 76, 460, 310);
  lstview_Checklist->setColumnCount(2);
  lstview_Checklist->setHeaderLabels({"Challenge", "Response"});
  lstview_Checklist->setRootIsDecorated(false);
  lstview_Checklist->setUniformRowHeights(true);
  lstview_Checklist->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(lstview_Checklist, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { StepClicked(lstview_Checklist->indexOfTopLevelItem(item)); });

  lbl_PrevPage = MakeLabel(this, "lbl_PrevPage", "<< Previous Page", {300, 392, 140, 18});
  lbl_PageNumber = MakeLabel(this, "lbl_PageNumber", {}, {450, 392, 160, 18});
  lbl_PageNumber->setAlignment(Qt::AlignCenter);
  lbl_NextPage = MakeLabel(this, "lbl_NextPage", "Next Page >>", {620, 392, 140, 18});
  lbl_NextPage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (QLabel* l : {lbl_PrevPage, lbl_NextPage}) {
    l->installEventFilter(this);
    l->setCursor(Qt::PointingHandCursor);
    l->hide();
  }

  btn_Play = ui::MakeButton<ui::FormButton>(
      this, dir, &router,
      {"btn_Play", 277, 188, "play", "btn_smlPlay", "enabled", "Click to test the pronunciation", this});
  btn_Load = ui::MakeButton<ui::SmallButton>(this, dir, &router,
                                             {"btn_Load", 60, 13, "load", "btn_Load", "enabled",
                                              "Click to load a checklist file to modify for Quorvane", this});
  btn_New = ui::MakeButton<ui::SmallButton>(this, dir, &router,
                                            {"btn_New", 175, 13, "new", "btn_New", "enabled",
                                             "Click to create a new checklist file to use in Quorvane", this});
  btn_Insert = ui::MakeButton<ui::SmallButton>(
      this, dir, &router,
      {"btn_Insert", 60, 401, "insert", "btn_Insert", "disabled",
       "Click to insert a new step into the checklist below the highlighted step", this});
  btn_Delete =
      ui::MakeButton<ui::SmallButton>(this, dir, &router,
                                      {"btn_Delete", 175, 401, "delete", "btn_Delete", "disabled",
                                       "Click to delete the currently highlighted step in the checklist", this});

  for (QLabel* l : findChildren<QLabel*>()) {
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setStyleSheet("background: transparent; color: rgb(45, 45, 45);");
  }
  for (QLabel* l : {lbl_ChecklistName, lbl_ChecklistSection}) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  }
  for (QLabel* l : {lbl_PrevPage, lbl_NextPage}) l->setStyleSheet("background: transparent; color: rgb(24, 64, 140);");
  ui::ApplySmallFontFix(this);
  resizeEvent(nullptr);
  FillResponseList();
}

void frm_Modify::Install(shell::Context& ctx, shell::LaunchHooks& launch, ui::Router& router, shell::frm_Parent& frame,
                         grammar::SpeechFacade* speech, ui::SkinnedDialogs* dialogs) {
  auto screen = [&frame] { return static_cast<frm_Modify*>(frame.screen("frm_Modify")); };
  frame.SetScreen("frm_Modify", {[&, speech] { return new frm_Modify(ctx, launch, router, frame, speech); },
                                 {},
                                 [screen] { screen()->ResetModifyScreen(); },
                                 {}});
  using K = ui::ButtonKind;
  router.Register(K::Form, "frm_Modify", "play", [screen] { screen()->Play(); });
  router.Register(K::Small, "frm_Modify", "new", [screen] { screen()->New(); });
  router.Register(K::Small, "frm_Modify", "load", [screen] { screen()->Load(); });
  router.Register(K::Small, "frm_Modify", "insert", [screen] { screen()->Insert(); });
  router.Register(K::Small, "frm_Modify", "delete", [screen] { screen()->Delete(); });
  router.Register(K::Small, "frm_Modify", "save", [screen] { screen()->Save(); });
  router.Register(K::Small, "frm_Modify", "cancel", [&frame] { frame.ReturnHome(); });
  if (dialogs)
    dialogs->SetInputAction("new_checklist", [screen](const QString& text) { screen()->NewChecklistOk(text); });
}

void frm_Modify::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull())
    p.drawPixmap(0, 0, m_background);
  else
    p.fillRect(rect(), QColor(214, 222, 230));
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
      NextPage();
    else if (watched == lbl_PrevPage)
      PrevPage();
  } else if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, box, &QLineEdit::selectAll);
  }
  return QWidget::eventFilter(watched, event);
}

bool frm_Modify::SectionEmpty() const { return m_ctx.state.openChecklist.sections[m_section].empty(); }

QString frm_Modify::SectionTitle() const { return comboSection->itemText(comboSection->findData(m_section)); }

void frm_Modify::RefreshStepPage(int section, int page) {
  const auto& steps = m_ctx.state.openChecklist.sections[section];
  lstview_Checklist->clear();
  const int last = int(steps.size()) - 1;
  for (int i = page * kStepsPerPage; i <= last && i < (page + 1) * kStepsPerPage; ++i)
    new QTreeWidgetItem(lstview_Checklist,
                        {steps[i].challenge.trimmed().toUpper(), steps[i].response.trimmed().toUpper()});
  lbl_NextPage->hide();
  m_lastPage = last < 0 ? 0 : last / kStepsPerPage;
  if (page < m_lastPage) lbl_NextPage->show();
  lbl_PrevPage->setVisible(page >= 1);
  lbl_PageNumber->setText(QString("Page %1 of %2").arg(page + 1).arg(m_lastPage + 1));
  btn_Insert->setState("enabled");
}

void frm_Modify::ShowCurrentStep() {
  m_filling = true;
  lst_Responses->clearSelection();
  if (SectionEmpty() || m_step >= int(m_ctx.state.openChecklist.sections[m_section].size())) {
    txt_Challenge->clear();
    txt_Pronunciation->clear();
    txt_Response->clear();
    m_filling = false;
    btn_Insert->setState("enabled");
    btn_Delete->setState("disabled");
    return;
  }
  const data::ChecklistItem& step = m_ctx.state.openChecklist.sections[m_section][m_step];
  txt_Challenge->setText(step.challenge.trimmed());
  txt_Pronunciation->setText(step.pronunciation.trimmed());
  txt_Response->setText(step.response.trimmed());
  for (const data::ChecklistItemResponse& r : step.responses) {
    const QString wanted = r.text.trimmed().toUpper();
    for (int i = 0; i < lst_Responses->count(); ++i)
      if (lst_Responses->item(i)->text().trimmed().toUpper() == wanted) lst_Responses->item(i)->setSelected(true);
  }
  m_filling = false;
  btn_Insert->setState("enabled");
  btn_Delete->setState("enabled");
}

int frm_Modify::CommitCurrentStep() {
  auto& steps = m_ctx.state.openChecklist.sections[m_section];
  if (m_step < 0 || m_step >= int(steps.size())) return 1;
  data::ChecklistItem& step = steps[m_step];
  step.challenge = base::Fixed(txt_Challenge->text().trimmed(), data::kChallengeWidth);
  step.pronunciation = base::Fixed(txt_Pronunciation->text().trimmed(), data::kPronunciationWidth);
  step.response = base::Fixed(txt_Response->text().trimmed(), data::kResponseWidth);
  step.responses = {{base::Fixed("Ignore", data::kResponseTextWidth), data::kIgnoreFunction},
                    {base::Fixed("Skip", data::kResponseTextWidth), data::kSkipFunction}};
  for (int i = 0; i < lst_Responses->count(); ++i) {
    const QListWidgetItem* entry = lst_Responses->item(i);
    if (entry->isSelected())
      step.responses.push_back(
          {base::Fixed(entry->text(), data::kResponseTextWidth), entry->data(Qt::UserRole).toInt()});
  }
  return 0;
}

void frm_Modify::FillResponseList() {
  lst_Responses->setEnabled(true);
  lst_Responses->clear();
  for (const data::ChecklistResponse& r : m_ctx.state.settings.checklistResponses) {
    auto* item = new QListWidgetItem(r.response.trimmed(), lst_Responses);
    item->setData(Qt::UserRole, r.functionNumber);
  }
}

void frm_Modify::MarkModified() {
  if (m_modified) return;
  m_modified = true;
  m_frame.btn_OK->setState("enabled");
}

void frm_Modify::TextEdited(Field field, QLineEdit* box) {
  if (m_filling) return;
  if (m_openName.isEmpty() || SectionEmpty()) {
    m_filling = true;
    box->clear();
    m_filling = false;
    return;
  }
  QString text = box->text();
  if (!base::FitsCp1252(text)) {
    // A checklist file holds Western characters only: leave the others out
    // and say so, rather than store question marks.
    QString dropped;
    const int cursor = box->cursorPosition();
    text = KeepCp1252(text, &dropped);
    m_filling = true;
    box->setText(text);
    box->setCursorPosition(std::min<int>(cursor, int(text.size())));
    m_filling = false;
    m_ctx.dialogs.ShowMessage(
        kErrorTitle,
        shell::JoinLines({"A checklist can only hold characters of the Western (Windows-1252) character set.  These "
                          "characters were left out: " +
                              dropped,
                          kPressOk}),
        shell::kIconWarning, true, false, "");
  }
  auto& steps = m_ctx.state.openChecklist.sections[m_section];
  if (m_step < 0 || m_step >= int(steps.size())) return;
  data::ChecklistItem& step = steps[m_step];
  const QString trimmed = text.trimmed();
  const int row = m_step - m_page * kStepsPerPage;
  QTreeWidgetItem* item = row >= 0 && row < kStepsPerPage ? lstview_Checklist->topLevelItem(row) : nullptr;
  switch (field) {
    case Field::Challenge:
      step.challenge = base::Fixed(trimmed, data::kChallengeWidth);
      if (item) item->setText(0, trimmed.toUpper());
      break;
    case Field::Pronunciation: step.pronunciation = base::Fixed(trimmed, data::kPronunciationWidth); break;
    case Field::Response:
      step.response = base::Fixed(trimmed, data::kResponseWidth);
      if (item) item->setText(1, trimmed.toUpper());
      break;
  }
  MarkModified();
}

void frm_Modify::ResponsesClicked() {
  if (m_filling || m_openName.isEmpty() || SectionEmpty()) return;
  MarkModified();
}

void frm_Modify::CommitReported() {
  if (CommitCurrentStep() == 0) return;
  m_ctx.dialogs.ShowMessage(kErrorTitle,
                            shell::kCr + shell::JoinLines({"There was an error while updating the checklist "
                                                           "modifications.  Please be sure to press the SAVE button "
                                                           "to save all of your modifications.",
                                                           kPressOk}),
                            shell::kIconInformation, true, false, "");
}

void frm_Modify::LeaveStep() {
  if (m_frame.btn_OK->state() == ui::SkinnedButton::kEnabled && !SectionEmpty()) CommitReported();
}

void frm_Modify::HighlightRow(int step) {
  const int row = step - m_page * kStepsPerPage;
  if (QTreeWidgetItem* item = row >= 0 ? lstview_Checklist->topLevelItem(row) : nullptr)
    lstview_Checklist->setCurrentItem(item);
}

void frm_Modify::StepClicked(int row) {
  if (m_openName.isEmpty() || SectionEmpty() || row < 0) return;
  LeaveStep();
  m_step = m_page * kStepsPerPage + row;
  ShowCurrentStep();
}

void frm_Modify::SectionChanged(int index) {
  if (m_openName.isEmpty()) return;
  LeaveStep();
  m_section = comboSection->itemData(index).toInt();
  m_step = 0;
  m_page = 0;
  RefreshStepPage(m_section, m_page);
  lbl_ChecklistSection->setText(comboSection->itemText(index));
  ShowCurrentStep();
}

void frm_Modify::NextPage() { TurnPage(+1); }

void frm_Modify::PrevPage() { TurnPage(-1); }

void frm_Modify::TurnPage(int delta) {
  LeaveStep();
  const int page = m_page + delta;
  if (page < 0 || page > m_lastPage) return;
  m_page = page;
  RefreshStepPage(m_section, m_page);
  lbl_ChecklistSection->setText(SectionTitle());
  comboSection->setFocus();
  m_step = m_page * kStepsPerPage;
  ShowCurrentStep();
  HighlightRow(m_step);
}

void frm_Modify::OpenChecklist(const QString& name) {
  m_openName = name;
  m_ctx.state.openChecklist.name = name;
  lbl_ChecklistName->setText(name);
  comboSection->setCurrentIndex(comboSection->findData(0));
  lbl_ChecklistSection->setText(comboSection->currentText());
  m_section = 0;
  m_page = 0;
  m_step = 0;
  RefreshStepPage(m_section, m_page);
  ShowCurrentStep();
  if (!SectionEmpty()) HighlightRow(0);
}

void frm_Modify::New() {
  m_ctx.dialogs.ShowInput("New Checklist",
                          "Enter the file name for your new checklist file in the space provided below", "File Name",
                          true, true, "", "new_checklist");
}

void frm_Modify::NewChecklistOk(const QString& text) {
  QString name = text.trimmed();
  if (name.endsWith(".dat", Qt::CaseInsensitive)) name = name.chopped(4).trimmed();
  if (name.isEmpty()) return;
  if (const QString problem = ChecklistFileNameProblem(name); !problem.isEmpty()) {
    m_ctx.dialogs.ShowMessage(
        "New Checklist", shell::JoinLines({problem + "  Please choose another name for the checklist file.", kPressOk}),
        shell::kIconWarning, true, false, "");
    return;
  }
  m_ctx.state.openChecklist = data::ChecklistFile{};
  OpenChecklist(name);
}

void frm_Modify::Load() {
  if (!m_ctx.platform.fileDialogs) return;
  const QString picked =
      m_ctx.platform.fileDialogs->OpenFile("Checklist Files (*.dat)|*.dat", m_ctx.state.installDir + "/Checklists");
  if (picked.isEmpty()) return;
  const QString fileName = QFileInfo(picked).fileName();
  if (data::LoadChecklistFile(m_ctx.state, fileName) != 0) {
    m_ctx.dialogs.ShowMessage(
        kErrorTitle,
        shell::JoinLines({"The checklist file \"" + fileName +
                              "\" could not be read.  It must be a checklist file in the Checklists folder.",
                          kPressOk}),
        shell::kIconWarning, true, false, "");
    return;
  }
  OpenChecklist(data::ChecklistNameOf(fileName));
}

void frm_Modify::Insert() {
  if (m_openName.isEmpty()) return;
  auto& steps = m_ctx.state.openChecklist.sections[m_section];
  if (steps.empty()) {
    steps.push_back(NewStep());
    RefreshStepPage(m_section, m_page);
    m_step = 0;
    ShowCurrentStep();
    HighlightRow(m_step);
    return;
  }
  CommitReported();
  if (int(steps.size()) >= kMaxSteps) {
    m_ctx.dialogs.ShowMessage(
        kErrorTitle,
        shell::JoinLines({QString("A checklist section can hold at most %1 steps.").arg(kMaxSteps), kPressOk}),
        shell::kIconInformation, true, false, "");
    return;
  }
  const int at = std::clamp(m_step + 1, 0, int(steps.size()));
  steps.insert(steps.begin() + at, NewStep());
  m_step = at;
  RefreshStepPage(m_section, m_page);
  ShowCurrentStep();
  HighlightRow(m_step);
  btn_Delete->setState("enabled");
}

void frm_Modify::Delete() {
  if (m_openName.isEmpty()) return;
  auto& steps = m_ctx.state.openChecklist.sections[m_section];
  if (steps.size() <= 1) {
    steps.clear();
    m_page = 0;
    RefreshStepPage(m_section, m_page);
    m_step = 0;
    ShowCurrentStep();
    return;
  }
  const int last = int(steps.size()) - 1;
  if (m_step >= last) {
    steps.pop_back();
    m_step = last - 1;
  } else {
    steps.erase(steps.begin() + std::max(0, m_step));
    if (m_step > 0) --m_step;
  }
  if (m_step < m_page * kStepsPerPage && m_page > 0) --m_page;
  RefreshStepPage(m_section, m_page);
  ShowCurrentStep();
  HighlightRow(m_step);
}

void frm_Modify::Play() {
  if (!m_ctx.state.speechReady || !m_speech) {
    m_ctx.dialogs.ShowMessage(
        "Quorvane",
        shell::JoinLines({"Speech output is not available, so the pronunciation cannot be played.", kPressOk}),
        shell::kIconInformation, true, false, "");
    return;
  }
  QByteArray text = base::ToCp1252(txt_Pronunciation->text().trimmed());
  m_speech->fnTTSspeak_Call(1, m_ctx.state.settings.copilotVoice, 100, 50, text);
}

int frm_Modify::SaveChecklist() {
  if (m_openName.isEmpty()) return 1;
  if (!SectionEmpty() && CommitCurrentStep() != 0) return 1;
  m_ctx.state.openChecklist.name = m_openName;
  return data::SaveChecklistFile(m_ctx.state);
}

void frm_Modify::Save() {
  if (SaveChecklist() != 0) {
    m_ctx.dialogs.ShowMessage(kErrorTitle,
                              shell::JoinLines({"There was an error while saving the checklist modifications.  Please "
                                                "contact Veltrane support at www.veltrane.com/support.",
                                                kPressOk}),
                              shell::kIconInformation, true, false, "");
    return;
  }
  const QString title = "Checklist Modifications Saved";
  if (m_launch.SimRunning() && m_launch.RuntimeRunning())
    m_ctx.dialogs.ShowMessage(title,
                              shell::JoinLines({"The checklist modifications have been saved.  In order to use these "
                                                "changes in FSX, the Speech Recognition engine needs to be restarted.",
                                                "Press OK to restart, Cancel to continue without restarting."}),
                              shell::kIconInformation, true, true, "cmod_restart");
  else
    m_ctx.dialogs.ShowMessage(title, shell::JoinLines({"The checklist modifications have been saved.", kPressOk}),
                              shell::kIconInformation, true, false, "");
  m_frame.btn_OK->setState("disabled");
  m_modified = false;
  m_filling = false;
}

void frm_Modify::ResetModifyScreen() {
  lstview_Checklist->clear();
  m_filling = true;
  txt_Challenge->clear();
  txt_Pronunciation->clear();
  txt_Response->clear();
  lst_Responses->clearSelection();
  m_filling = false;
  btn_Insert->setState("disabled");
  btn_Delete->setState("disabled");
  m_openName.clear();
  lbl_ChecklistName->clear();
  lbl_PageNumber->clear();
  lbl_PrevPage->hide();
  lbl_NextPage->hide();
  m_section = m_page = m_lastPage = m_step = 0;
  comboSection->setCurrentIndex(comboSection->findData(0));
  lbl_ChecklistSection->setText(comboSection->currentText());
  m_modified = false;
}

}  // namespace qv::checklists
