#pragma once

#include <QPoint>
#include <QPointer>
#include <Qt>

class QWidget;

namespace qv::ui {

// Lets a borderless window be dragged by its background with the left
// button. The window system moves it where it can; elsewhere (offscreen,
// some Wayland compositors refuse) the window follows the pointer itself.
class clsTransForm {
 public:
  // Call on a press and on every move with the buttons held. Returns true
  // when a drag is in progress.
  bool DragForm(QWidget* window, Qt::MouseButtons buttons, const QPoint& globalPos);
  void EndDrag() { m_window = nullptr; }
  bool dragging() const { return m_window != nullptr; }

 private:
  QPointer<QWidget> m_window;
  QPoint m_offset;
  bool m_system = false;
};

}  // namespace qv::ui
