#pragma once

#include <QStringList>

#include "platform/FileDialogs.h"

namespace qv::ui {

// Qt's filters from one written the Windows way: each pair "Description|*.a;*.b"
// becomes "Description (*.a *.b)", and a description that already names its
// patterns ("Checklist Files (*.dat)") is kept as it is.
QStringList QtNameFilters(const QString& windowsFilter);

// The file-open dialog for the GUI.
class QtFileDialogs final : public platform::FileDialogs {
 public:
  QString OpenFile(const QString& title, const QString& filter, const QString& startFolder) override;
};

}  // namespace qv::ui
