#pragma once

namespace qv::platform {

class OsVersion {
 public:
  virtual ~OsVersion() = default;
  // True on the old consumer platform family (platform identifier 1 of the
  // version query). Never true outside Windows.
  virtual bool IsLegacyPlatform() const = 0;
};

}  // namespace qv::platform
