#include "gui/kit/SkinnedScreen.h"

#include <QFileInfo>
#include <QPainter>

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "gui/kit/Accessibility.h"
#include "gui/kit/Skin.h"
#include "gui/kit/SmallFontFix.h"

namespace qv::ui {

SkinnedScreen::SkinnedScreen(const QString& name, const ScreenServices& services, ScreenHost& host,
                             const QString& background)
    : m_services(services),
      m_ctx(services.ctx),
      m_host(host),
      m_installDir(services.ctx.state.installDir),
      m_routes(services.router, name) {
  setObjectName(name);
  setFixedSize(kWidth, kHeight);  // 11850 x 6705 twips
  const QString path = m_installDir + "/Media/Forms/" + background;
  if (QFileInfo::exists(path)) m_background.load(path);
}

void SkinnedScreen::FinishLoading() {
  if (m_loaded) return;
  m_loaded = true;
  ApplySmallFontFix(this);
  NameFieldsByCaptions(this);
}

void SkinnedScreen::Route(ButtonKind kind, const QString& action, Router::Handler handler) {
  m_routes.Add(kind, action, std::move(handler));
}

void SkinnedScreen::PaintWithoutArtwork(QPainter& painter) { PaintPlainPanel(painter, rect()); }

void SkinnedScreen::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull())
    p.drawPixmap(0, 0, m_background);
  else
    PaintWithoutArtwork(p);
}

}  // namespace qv::ui
