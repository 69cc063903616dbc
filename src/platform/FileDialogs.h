#pragma once

#include <QString>

namespace qv::platform {

// The platform's file-open dialog. The filter is written the Windows way:
// pairs of description and patterns joined by "|" ("Checklist Files
// (*.dat)|*.dat"). Returns the chosen file's full path, or an empty text
// when the user cancelled or the dialog failed.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual QString OpenFile(const QString& title, const QString& filter, const QString& startFolder) = 0;
};

}  // namespace qv::platform
