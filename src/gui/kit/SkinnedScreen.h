#pragma once

#include <QPixmap>
#include <QWidget>

#include "gui/kit/Router.h"
#include "gui/kit/SkinnedButton.h"

namespace qv::grammar {
class SpeechFacade;
}
namespace qv::shell {
struct Context;
class Launcher;
}  // namespace qv::shell

namespace qv::ui {

class ScreenHost;
class SkinnedDialogs;

// What every hosted screen is built with. The composition fills it once; the
// frame adds itself as the host when it loads a screen.
struct ScreenServices {
  shell::Context& ctx;
  shell::Launcher& launcher;
  grammar::SpeechFacade& speech;
  Router& router;
  SkinnedDialogs& dialogs;  // the same object as ctx.dialogs, for its signals
};

// The common body of the screens hosted in the frame: the name the routing
// compares, the fixed size of the work area, the background artwork (or a
// plain panel without it), the small-fonts correction once the controls
// exist, and the screen's own rows of the routing table, which go with it.
//
// A screen is a view: it shows what the core holds, forwards the user's
// actions to the core, and asks its host for the way to other screens.
class SkinnedScreen : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 790;
  static constexpr int kHeight = 447;

  // Called by the frame when it enters the screen: before it is shown (the
  // configuration screen fills its lists here) and once the context buttons
  // are set for it (the modification screen resets here).
  virtual void Entering() {}
  virtual void Entered() {}
  // The frame's save and compile buttons start enabled when this is true.
  virtual bool unsavedChanges() const { return false; }

  // Runs the small-fonts correction once; the frame calls it right after
  // loading the screen, when every control exists.
  void FinishLoading();

 protected:
  // `background` is a file of installation folder + "/Media/Forms/".
  SkinnedScreen(const QString& name, const ScreenServices& services, ScreenHost& host, const QString& background);

  // Registers one of this screen's own rows of the routing table.
  void Route(ButtonKind kind, const QString& action, Router::Handler handler);
  // A button of kind T on this screen, hosted by it, with its properties.
  template <class T>
  T* Button(const ButtonSetup& setup) {
    return MakeButton<T>(this, m_installDir, &m_services.router, setup);
  }

  // Paints the screen when its artwork is missing.
  virtual void PaintWithoutArtwork(QPainter& painter);
  void paintEvent(QPaintEvent* event) override;
  bool hasArtwork() const { return !m_background.isNull(); }

  const ScreenServices m_services;
  shell::Context& m_ctx;
  ScreenHost& m_host;
  const QString m_installDir;

 private:
  QPixmap m_background;
  Routes m_routes;
  bool m_loaded = false;
};

}  // namespace qv::ui
