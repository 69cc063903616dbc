#include "gui/grammar/frm_CompileProblems.h"

#include <algorithm>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/shell/AppState.h"
#include "gui/kit/SmallFontFix.h"

namespace qv::grammar {

namespace {

QString Count(int n, const char* one, const char* many) { return QString::number(n) + " " + (n == 1 ? one : many); }

}  // namespace

frm_CompileProblems::frm_CompileProblems(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setObjectName("frm_CompileProblems");
  setWindowTitle("Compile Problems");
  resize(800, 240);
  auto* layout = new QVBoxLayout(this);
  lbl_ProblemsCaption = new QLabel(this);
  lbl_ProblemsCaption->setObjectName("lbl_ProblemsCaption");
  lbl_ProblemsCaption->setWordWrap(true);
  lbl_ProblemsCaption->setTextFormat(Qt::PlainText);
  listProblems = new QListWidget(this);
  listProblems->setObjectName("listProblems");
  listProblems->setAccessibleName("Problems");
  listProblems->setSelectionMode(QAbstractItemView::SingleSelection);
  listProblems->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  btn_CloseProblems = new QPushButton("Close", this);
  btn_CloseProblems->setObjectName("btn_CloseProblems");
  layout->addWidget(lbl_ProblemsCaption);
  layout->addWidget(listProblems, 1);
  layout->addWidget(btn_CloseProblems, 0, Qt::AlignRight);
  setStyleSheet(
      "QWidget#frm_CompileProblems { background: rgb(214, 222, 230); }"
      "QLabel { color: rgb(45, 45, 45); }");
  connect(btn_CloseProblems, &QPushButton::clicked, this, &QWidget::hide);
  connect(listProblems, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int index = item ? item->data(Qt::UserRole).toInt() : -1;
    if (index < 0 || index >= static_cast<int>(m_problems.size()) || !choose) return;
    // The line under a problem that concerns two phrases leads to the second.
    choose(item->data(Qt::UserRole + 1).toBool() ? m_problems[index].AtOther() : m_problems[index]);
  });
  ui::ApplySmallFontFix(this);
}

void frm_CompileProblems::Show(const std::vector<CompileProblem>& problems, const shell::AppState& state,
                               bool compiled) {
  m_problems = problems;
  int errors = 0;
  for (const auto& p : problems) errors += p.error ? 1 : 0;
  const int warnings = static_cast<int>(problems.size()) - errors;
  QString caption = compiled ? "The grammar files compiled with " + Count(warnings, "warning", "warnings") + "."
                             : "The grammar files did not compile: " + Count(errors, "error", "errors") + ", " +
                                   Count(warnings, "warning", "warnings") + ".";
  caption += " Choose a problem (Enter or a double click) to go to its phrase.";
  lbl_ProblemsCaption->setText(caption);
  listProblems->clear();
  for (int i = 0; i < static_cast<int>(problems.size()); ++i) {
    auto* item = new QListWidgetItem(problems[i].Text(state), listProblems);
    item->setData(Qt::UserRole, i);
    item->setToolTip(item->text());
    item->setForeground(problems[i].error ? QColor(150, 30, 30) : QColor(120, 90, 0));
    if (problems[i].HasOther()) {
      auto* other = new QListWidgetItem("        the other phrase: " + problems[i].OtherText(state), listProblems);
      other->setData(Qt::UserRole, i);
      other->setData(Qt::UserRole + 1, true);
      other->setForeground(QColor(120, 90, 0));
    }
  }
  listProblems->setCurrentRow(problems.empty() ? -1 : 0);
  // Below the frame, as wide as it, so that the whole screen (and its
  // compile button) stays in view; above it when there is no room below;
  // over the frame's title band when there is room on neither side.
  if (QWidget* top = parentWidget() ? parentWidget()->window() : nullptr) {
    const QRect frame = top->frameGeometry();
    const QScreen* screen = top->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(frame.left(), 0, frame.width(), 1 << 20);
    constexpr int kTallest = 240, kLeast = 150, kGap = 6;
    const int below = room.bottom() - frame.bottom() - kGap, above = frame.top() - room.top() - kGap;
    int y = frame.top(), h = 200;
    if (below >= kLeast) {
      h = std::min(kTallest, below);
      y = frame.bottom() + kGap;
    } else if (above >= kLeast) {
      h = std::min(kTallest, above);
      y = frame.top() - kGap - h;
    }
    resize(frame.width(), h);
    move(std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - width())), y);
  }
  show();
  raise();
  activateWindow();
  listProblems->setFocus();
}

}  // namespace qv::grammar
