#pragma once

class QWidget;

namespace qv::ui {

// Results of the small-fonts correction of the last screen it ran on.
struct SmallFontFix {
  int screenDpi = 96;
  float dpiScale = 1.0f;
  int captionHeight = 0;  // twips
};

// Screens are laid out in pixels at 96 dots per inch. On a display with
// another setting, fonts given in points grow with it while our bitmaps do
// not, so every control's font is scaled back by 96 / dpi. Positions and
// sizes are pixels here already and keep their pixel values (in twips they
// shrink by the same factor, as the caption keeps its height). `dpi` 0 reads
// the display's vertical logical dots per inch; tests inject other values.
// The scale applied stays on the window as its property kScaleProperty.
SmallFontFix ApplySmallFontFix(QWidget* screen, int dpi = 0);
inline constexpr const char* kScaleProperty = "smallFontFixScale";

// Pixels to twips at the given dots per inch (15 twips per pixel at 96).
int PixelsToTwips(int pixels, int dpi);

}  // namespace qv::ui
