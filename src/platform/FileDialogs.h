#pragma once

#include <QString>

namespace qv::platform {

// The platform's file-open dialog. Returns the chosen file's full path, or an
// empty text when the user cancelled or the dialog failed.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual QString OpenFile(const QString& filter, const QString& startFolder) = 0;
};

}  // namespace qv::platform
