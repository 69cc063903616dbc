#pragma once

#include <QProgressBar>

#include "gui/kit/DialogWindow.h"

namespace qv::ui {

// The modeless progress dialog: a bar and a percentage.
class frm_Progress final : public DialogWindow {
 public:
  explicit frm_Progress(const QString& installDir);
  QLabel* percentage() const { return m_percentage; }
  QProgressBar* bar() const { return m_bar; }

  // "##0%": 37.6 -> "38%", 99.5 -> "100%".
  static QString PercentText(double percent);
  static int BarValue(double percent);

 private:
  QLabel* m_percentage;
  QProgressBar* m_bar;
};

}  // namespace qv::ui
