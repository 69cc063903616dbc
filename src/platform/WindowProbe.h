#pragma once

#include <QString>

namespace qv::platform {

// Looks for the top-level windows of other programs. The simulator is
// recognised by its window class, the speech runtime by its window title;
// neither program offers any other way to tell that it runs.
class WindowProbe {
 public:
  virtual ~WindowProbe() = default;
  // True when a top-level window of this class exists.
  virtual bool HasWindowOfClass(const QString& windowClass) = 0;
  // True when a top-level window with exactly this title exists.
  virtual bool HasWindowTitled(const QString& title) = 0;
  // Asks the first top-level window with this title to close and waits until
  // the request has been handled. False when there was no such window.
  virtual bool CloseWindowTitled(const QString& title) = 0;
};

}  // namespace qv::platform
