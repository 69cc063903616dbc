#pragma once

#include <QString>

namespace qv::platform {

struct LaunchResult {
  bool started = false;
  qint64 processId = 0;  // of the started program, when the platform tells it
  QString error;         // why it could not be started
};

// Starts another program detached from this one, in a normal window that
// gets the focus. The program keeps running when this one ends.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  virtual LaunchResult Start(const QString& program, const QString& workingDir) = 0;
};

}  // namespace qv::platform
