#pragma once

#include <QString>

namespace qv::platform {

// The two application-data folders the simulator keeps its configuration in.
// An empty result means the system could not supply the folder.
class AppDataFolders {
 public:
  virtual ~AppDataFolders() = default;
  virtual QString CommonAppData() const = 0;  // shared by all users
  virtual QString UserAppData() const = 0;    // the current user's
};

}  // namespace qv::platform
