#pragma once

#include <QString>

class QWidget;

namespace qv::ui {

class SmallButton;

// The frame's three context buttons, which act for the screen shown.
enum class FrameButton { OK, Cancel, Compile };

// What a hosted screen asks of the parent frame. Screens never show or hide
// themselves: they ask the frame to enter a screen (hiding the one shown and
// setting the context buttons as the screens table says) or to go home.
class ScreenHost {
 public:
  virtual ~ScreenHost() = default;
  // Enters the hosted screen `name`: its Entering(), the screen shown now
  // hidden, `name` shown, the context buttons set, the tip, its Entered().
  virtual void Enter(const QString& name) = 0;
  // The current screen hidden, the home screen shown, the context buttons hidden.
  virtual void ReturnHome() = 0;
  // Before the launch: the current screen, every screen and the frame hidden.
  virtual void HideEverything() = 0;
  virtual SmallButton* frameButton(FrameButton which) = 0;
  // The hosted screen of that name, loaded on first use.
  virtual QWidget* screen(const QString& name) = 0;
};

}  // namespace qv::ui
