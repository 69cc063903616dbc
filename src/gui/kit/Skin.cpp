#include "gui/kit/Skin.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <algorithm>

namespace qv::ui {

void StyleLabel(QLabel* label, const QColor& colour) {
  label->setTextFormat(Qt::PlainText);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setStyleSheet(QString("background: transparent; color: rgb(%1, %2, %3);")
                           .arg(colour.red())
                           .arg(colour.green())
                           .arg(colour.blue()));
}

void SetFittedText(QLabel* label, const QString& text, QFont font) {
  const QRect box = label->contentsRect();
  const auto fits = [&] {
    return QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), 1 << 20), Qt::TextWordWrap, text).height() <=
           box.height();
  };
  while (!fits()) {
    if (font.pointSizeF() > 6)
      font.setPointSizeF(std::max(6.0, font.pointSizeF() - 0.5));
    else if (font.pointSizeF() <= 0 && font.pixelSize() > 8)
      font.setPixelSize(font.pixelSize() - 1);
    else
      break;
  }
  label->setFont(font);
  label->setText(text);
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
