#include "gui/kit/QtFileDialogs.h"

#include <QFileDialog>

namespace qv::ui {

QStringList QtNameFilters(const QString& windowsFilter) {
  const QStringList parts = windowsFilter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString patterns = parts.value(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ').trimmed();
    if (patterns.isEmpty() || description.endsWith("(" + patterns + ")"))
      filters << description;
    else
      filters << description + " (" + patterns + ")";
  }
  return filters;
}

QString QtFileDialogs::OpenFile(const QString& title, const QString& filter, const QString& startFolder) {
  QFileDialog dialog(nullptr, title, startFolder);
  dialog.setObjectName("fileOpenDialog");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(QtNameFilters(filter));
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

}  // namespace qv::ui
