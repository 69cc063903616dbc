#include "gui/kit/SmallFontFix.h"

#include <QApplication>
#include <QHash>
#include <QListWidget>
#include <QStyle>
#include <QWidget>
#include <cmath>

namespace qv::ui {

int PixelsToTwips(int pixels, int dpi) { return static_cast<int>(std::lround(pixels * 1440.0 / (dpi > 0 ? dpi : 96))); }

SmallFontFix ApplySmallFontFix(QWidget* screen, int dpi) {
  SmallFontFix fix;
  if (!screen) return fix;
  fix.screenDpi = dpi > 0 ? dpi : screen->logicalDpiY();
  if (fix.screenDpi <= 0) fix.screenDpi = 96;
  const int captionPx = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
  fix.captionHeight = static_cast<int>(std::lround(captionPx * 1440.0 / fix.screenDpi));
  fix.dpiScale = 96.0f / static_cast<float>(fix.screenDpi == 96 ? 96 : fix.screenDpi);

  // Read every font first: a control inherits its parent's font, so scaling
  // in place would scale children twice.
  const QList<QWidget*> controls = screen->findChildren<QWidget*>();
  QHash<QWidget*, QFont> fonts;
  fonts.insert(screen, screen->font());
  for (QWidget* c : controls) fonts.insert(c, c->font());
  auto scaled = [&](QFont f) {
    if (f.pointSizeF() > 0)
      f.setPointSizeF(f.pointSizeF() * fix.dpiScale);
    else if (f.pixelSize() > 0)
      f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pixelSize() * fix.dpiScale))));
    return f;
  };
  if (fix.dpiScale != 1.0f) screen->setFont(scaled(fonts.value(screen)));
  for (QWidget* c : controls) {
    if (auto* list = qobject_cast<QListWidget*>(c)) list->setUniformItemSizes(false);  // no integral height
    if (fix.dpiScale != 1.0f) c->setFont(scaled(fonts.value(c)));
  }
  screen->setProperty(kScaleProperty, fix.dpiScale);
  return fix;
}

}  // namespace qv::ui
