#include "gui/kit/clsTransForm.h"

#include <QWidget>
#include <QWindow>

namespace qv::ui {

bool clsTransForm::DragForm(QWidget* window, Qt::MouseButtons buttons, const QPoint& globalPos) {
  if (!window || !(buttons & Qt::LeftButton) || (buttons & ~Qt::LeftButton)) {
    m_window = nullptr;
    return false;
  }
  if (m_window != window) {
    m_window = window;
    m_offset = globalPos - window->frameGeometry().topLeft();
    QWindow* handle = window->windowHandle();
    m_system = handle && handle->startSystemMove();
    return true;
  }
  if (!m_system) window->move(globalPos - m_offset);
  return true;
}

}  // namespace qv::ui
