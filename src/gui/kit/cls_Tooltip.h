#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class QWidget;

namespace qv::ui {

// A plain tooltip window attached to one control: our own colours, width,
// delay and visible time, which Qt's shared tooltip cannot vary per control.
class cls_Tooltip final : public QObject {
 public:
  explicit cls_Tooltip(QObject* parent = nullptr);
  ~cls_Tooltip() override;

  QColor ForeColor() const { return m_fore; }
  void setForeColor(const QColor& c);
  QColor BackColor() const { return m_back; }
  void setBackColor(const QColor& c);
  int MaxWidth() const { return m_maxWidth; }
  void setMaxWidth(int pixels);
  int VisibleTime() const { return m_visible.interval(); }
  void setVisibleTime(int ms) { m_visible.setInterval(ms); }
  int DelayTime() const { return m_delay.interval(); }
  void setDelayTime(int ms) { m_delay.setInterval(ms); }
  void setFont(const QFont& font);

  void Create(QWidget* owner);
  void Destroy();
  void AddControl(QWidget* control, const QString& text, bool centred);

  bool isCreated() const { return m_window != nullptr; }
  QString text() const { return m_text; }
  // The tip window while it is up (tests look at it), else null.
  QLabel* window() const { return m_window; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Apply();
  void Pop();
  void Hide();

  QColor m_fore{0, 0, 0};
  QColor m_back{255, 255, 225};
  int m_maxWidth = 300;
  QTimer m_delay;
  QTimer m_visible;
  QLabel* m_window = nullptr;
  QPointer<QWidget> m_control;
  QString m_text;
  bool m_centred = false;
};

}  // namespace qv::ui
