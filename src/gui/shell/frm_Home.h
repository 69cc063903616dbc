#pragma once

#include <QPixmap>
#include <QWidget>

#include "gui/kit/SkinnedButton.h"

namespace qv::shell {

// The home screen: five large buttons leading to the other screens.
class frm_Home final : public QWidget {
 public:
  frm_Home(const QString& installDir, ui::Router* router);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap m_background;
};

}  // namespace qv::shell
