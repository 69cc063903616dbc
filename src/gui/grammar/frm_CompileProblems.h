#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "core/grammar/CompileProblems.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace qv::shell {
struct AppState;
}

namespace qv::grammar {

// The problems of the last compile, in a small window beside the
// configuration screen. Choosing one (Enter or a double click) takes the
// configuration screen to the category, command and phrase it belongs to;
// the window stays open so that the user can go through them all.
class frm_CompileProblems final : public QWidget {
 public:
  explicit frm_CompileProblems(QWidget* parent);

  // Lists the problems, errors first; `compiled` tells whether the compile
  // succeeded (then they are warnings only).
  void Show(const std::vector<CompileProblem>& problems, const shell::AppState& state, bool compiled);
  const std::vector<CompileProblem>& problems() const { return m_problems; }

  std::function<void(const CompileProblem&)> choose;

  QLabel* lbl_ProblemsCaption;
  QListWidget* listProblems;
  QPushButton* btn_CloseProblems;

 private:
  std::vector<CompileProblem> m_problems;
};

}  // namespace qv::grammar
