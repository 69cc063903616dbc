#pragma once

namespace qv::ui {

enum class ButtonKind { Form, Large, Small, Medium };

// The pixel size of each kind of skinned button. A kind's bitmap strip is as
// wide as the button and holds four bands as high as it. This is the one
// place the sizes are written down; the demo builder draws its strips from it.
struct ButtonSize {
  int width;
  int height;
};

constexpr ButtonSize KindSize(ButtonKind kind) {
  switch (kind) {
    case ButtonKind::Form: return {33, 33};
    case ButtonKind::Large: return {308, 58};
    case ButtonKind::Small: return {95, 35};
    case ButtonKind::Medium: return {182, 35};
  }
  return {0, 0};
}

}  // namespace qv::ui
