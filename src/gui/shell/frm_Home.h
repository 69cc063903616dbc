#pragma once

#include "gui/kit/SkinnedScreen.h"

namespace qv::shell {

// The home screen: five large buttons leading to the other screens and to
// the launch.
class frm_Home final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Home(const ui::ScreenServices& services, ui::ScreenHost& host);

 protected:
  void PaintWithoutArtwork(QPainter& painter) override;
};

}  // namespace qv::shell
