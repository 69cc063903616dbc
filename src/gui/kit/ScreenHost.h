#pragma once

#include <QString>

class QWidget;

namespace qv::ui {

// The parent frame as the dialogs see it: what they centre over and the
// screen hiding that the restart prompts do.
class ScreenHost {
 public:
  virtual ~ScreenHost() = default;
  virtual QWidget* frameWindow() = 0;
  virtual void HideScreen(const QString& name) = 0;
  virtual void HideAllScreens() = 0;
};

}  // namespace qv::ui
