#include "gui/kit/QtFileDialogs.h"

#include <QFileDialog>

namespace qv::ui {

QString QtFileDialogs::OpenFile(const QString& filter, const QString& startFolder) {
  QString qtFilter = filter;
  const qsizetype bar = filter.indexOf(u'|');
  if (bar >= 0) qtFilter = filter.left(bar).trimmed() + " (" + filter.mid(bar + 1).trimmed() + ")";
  return QFileDialog::getOpenFileName(nullptr, QString(), startFolder, qtFilter);
}

}  // namespace qv::ui
