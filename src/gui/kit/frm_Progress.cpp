#include "gui/kit/frm_Progress.h"

#include <cmath>

namespace qv::ui {

frm_Progress::frm_Progress(const QString& installDir)
    : DialogWindow("frm_Progress", installDir), m_percentage(new QLabel(this)), m_bar(new QProgressBar(this)) {
  m_percentage->setObjectName("lbl_Percentage");
  m_bar->setObjectName("pb");
  message()->setGeometry(76, 46, 410, 110);
  m_bar->setGeometry(76, 176, 340, 22);
  m_bar->setTextVisible(false);
  m_bar->setRange(0, 100);
  m_percentage->setGeometry(426, 176, 60, 22);
  m_percentage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_percentage->setAttribute(Qt::WA_TranslucentBackground);
  m_percentage->setStyleSheet("background: transparent; color: rgb(35, 42, 52); font-weight: bold;");
  LoadIcon("icon_Wait.bmp", 'w');
}

QString frm_Progress::PercentText(double percent) {
  return QString::number(static_cast<long long>(std::llround(percent))) + u'%';
}

int frm_Progress::BarValue(double percent) {
  return static_cast<int>(std::clamp<long long>(std::llround(percent), 0, 100));
}

}  // namespace qv::ui
