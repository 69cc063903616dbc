// The interface's backends live apart from the shared ones, so that the
// command-line program, which has no widgets, does not load the widget
// libraries at start.
#include "app/Services.h"
#include "gui/kit/QtFileDialogs.h"

namespace qv::app {

Backends SystemBackends(const QString& installDir, Program program) {
  Backends b = CommandLineBackends(installDir);
  if (program == Program::Interface) {
    b.platform.fileDialogs = std::make_unique<ui::QtFileDialogs>();
    b.joystick = platform::CreateJoystick();
  }
  return b;
}

}  // namespace qv::app
