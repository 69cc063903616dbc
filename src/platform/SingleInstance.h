#pragma once

namespace qv::platform {

// Detects a previous instance of the program started from the same folder.
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  // Claims the instance; true when another instance already holds it.
  virtual bool AnotherInstanceRunning() = 0;
};

}  // namespace qv::platform
