#pragma once

#include "platform/FileDialogs.h"

namespace qv::ui {

// The file-open dialog for the GUI. The filter is written the Windows way,
// "Description |*.ext"; it is turned into Qt's "Description (*.ext)".
class QtFileDialogs final : public platform::FileDialogs {
 public:
  QString OpenFile(const QString& filter, const QString& startFolder) override;
};

}  // namespace qv::ui
