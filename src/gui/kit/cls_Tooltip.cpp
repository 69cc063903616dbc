#include "gui/kit/cls_Tooltip.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace qv::ui {

cls_Tooltip::cls_Tooltip(QObject* parent) : QObject(parent) {
  m_delay.setSingleShot(true);
  m_visible.setSingleShot(true);
  connect(&m_delay, &QTimer::timeout, this, &cls_Tooltip::Pop);
  connect(&m_visible, &QTimer::timeout, this, &cls_Tooltip::Hide);
}

cls_Tooltip::~cls_Tooltip() { Destroy(); }

void cls_Tooltip::setForeColor(const QColor& c) {
  m_fore = c;
  Apply();
}

void cls_Tooltip::setBackColor(const QColor& c) {
  m_back = c;
  Apply();
}

void cls_Tooltip::setMaxWidth(int pixels) {
  m_maxWidth = pixels;
  Apply();
}

void cls_Tooltip::setFont(const QFont& font) {
  if (m_window) m_window->setFont(font);
}

void cls_Tooltip::Create(QWidget* owner) {
  Destroy();
  // A tool window of its own, so that the tip shows even when the owner is
  // not the active window; plain text keeps ampersands literal.
  m_window = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  m_window->setObjectName("cls_Tooltip");
  m_window->setTextFormat(Qt::PlainText);
  m_window->setWordWrap(true);
  m_window->setMargin(4);
  m_window->setAttribute(Qt::WA_ShowWithoutActivating);
  if (owner) m_window->setFont(owner->font());
  Apply();
}

void cls_Tooltip::Destroy() {
  m_delay.stop();
  m_visible.stop();
  if (m_control) m_control->removeEventFilter(this);
  m_control = nullptr;
  delete m_window;
  m_window = nullptr;
}

void cls_Tooltip::AddControl(QWidget* control, const QString& text, bool centred) {
  if (!m_window || !control) return;
  if (m_control) m_control->removeEventFilter(this);
  m_control = control;
  m_text = text;
  m_centred = centred;
  m_window->setText(text);
  control->installEventFilter(this);
}

void cls_Tooltip::Apply() {
  if (!m_window) return;
  m_window->setMaximumWidth(m_maxWidth);
  m_window->setStyleSheet(QString("QLabel { color: %1; background: %2; border: 1px solid %3; }")
                              .arg(m_fore.name(), m_back.name(), m_fore.lighter(250).name()));
}

bool cls_Tooltip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_control) {
    switch (event->type()) {
      case QEvent::Enter:
        if (!m_text.isEmpty()) m_delay.start();
        break;
      case QEvent::Leave:
      case QEvent::MouseButtonPress:
      case QEvent::Hide: Hide(); break;
      default: break;
    }
  }
  return false;
}

void cls_Tooltip::Pop() {
  if (!m_window || !m_control || !m_control->isVisible()) return;
  // Word wrap alone would pick a narrow width: use the text's own width up
  // to the maximum.
  const QFontMetrics fm(m_window->font());
  const int margins = 2 * m_window->margin() + 4;
  const int natural = fm.boundingRect(QRect(0, 0, 10000, 10000), Qt::TextExpandTabs, m_text).width() + margins;
  const int w = std::min(m_maxWidth, natural);
  m_window->setFixedWidth(w);
  m_window->setFixedHeight(m_window->heightForWidth(w));
  QPoint at;
  int above;  // the top of the tip when it has to go above its anchor
  if (m_centred) {
    at = m_control->mapToGlobal(QPoint(m_control->width() / 2 - m_window->width() / 2, m_control->height() + 2));
    above = m_control->mapToGlobal(QPoint(0, 0)).y() - m_window->height() - 2;
  } else {
    const QPoint cursor = QCursor::pos();
    at = cursor + QPoint(2, 20);
    above = cursor.y() - m_window->height() - 2;
  }
  // The whole tip stays on the screen: to the left at its right edge, above
  // the pointer at its bottom.
  const QScreen* screen = QGuiApplication::screenAt(at);
  if (!screen) screen = m_control->screen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    if (at.x() + m_window->width() > area.right() + 1) at.setX(area.right() + 1 - m_window->width());
    if (at.y() + m_window->height() > area.bottom() + 1) at.setY(above);
    at.setX(std::max(at.x(), area.left()));
    at.setY(std::max(at.y(), area.top()));
  }
  m_window->move(at);
  m_window->show();
  m_visible.start();
}

void cls_Tooltip::Hide() {
  m_delay.stop();
  m_visible.stop();
  if (m_window) m_window->hide();
}

}  // namespace qv::ui
