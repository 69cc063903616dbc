#include "gui/kit/Skin.h"

#include <QLabel>
#include <QPainter>

namespace qv::ui {

void StyleLabel(QLabel* label, const QColor& colour) {
  label->setTextFormat(Qt::PlainText);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setStyleSheet(QString("background: transparent; color: rgb(%1, %2, %3);")
                           .arg(colour.red())
                           .arg(colour.green())
                           .arg(colour.blue()));
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                  const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (geometry.isValid()) label->setGeometry(geometry);
  StyleLabel(label, colour);
  return label;
}

void PaintPlainPanel(QPainter& painter, const QRect& rect) { painter.fillRect(rect, QColor(214, 222, 230)); }

}  // namespace qv::ui
