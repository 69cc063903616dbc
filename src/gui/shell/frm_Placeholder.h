#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

#include "gui/kit/Router.h"

namespace qv::shell {

class frm_Parent;

// Stands in for a hosted screen that this build does not have yet, under the
// screen's own name, so that navigation and routing work end to end.
class frm_Placeholder final : public QWidget {
 public:
  frm_Placeholder(const QString& name, const QString& installDir);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap m_background;
};

// The ways back from the stand-in screens: home, or to the configuration
// screen from the script and test screens.
void RegisterPlaceholderRoutes(ui::Router& router, frm_Parent& frame);

}  // namespace qv::shell
