#pragma once

#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "gui/kit/Router.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedScreen.h"
#include "gui/kit/clsTransForm.h"

namespace qv::shell {

struct FrameButtonLayout;

// The borderless frame that hosts one screen at a time, with the title
// artwork, version and notice, the tip line and the five frame buttons. It
// loads the screens of the screens table on first use and sets its context
// buttons for each as the table says.
class frm_Parent final : public QWidget, public ui::ScreenHost {
  Q_OBJECT

 public:
  explicit frm_Parent(const ui::ScreenServices& services);
  ~frm_Parent() override;

  // ScreenHost
  void Enter(const QString& name) override;
  void ReturnHome() override;
  void HideEverything() override;
  ui::SmallButton* frameButton(ui::FrameButton which) override;
  QWidget* screen(const QString& name) override;  // loads it on first use

  bool isLoaded(const QString& name) const;
  QWidget* visibleScreen() const;  // the hosted screen shown, if any

  void ShowInParent(QWidget* screen);
  void ShowInParent(const QString& name) { ShowInParent(screen(name)); }
  // Hides the hosted screen of that name, compared without regard to case.
  void HideScreen(const QString& name);
  // Hides every screen, the dialogs and the frame itself.
  void HideAllScreens();

  void Minimize();
  void Close();
  void Timer1Tick();
  // The home screen's launch button, disabled while a launch is under way.
  void SetLaunchEnabled(bool on);
  // Ends the buttons' event tracking on every loaded screen, in the order
  // the shutdown releases them.
  void ReleaseScreens();

  QString currentScreen;

  ui::FormButton* btn_Minimize;
  ui::FormButton* btn_Close;
  ui::SmallButton* btn_OK;
  ui::SmallButton* btn_Cancel;
  ui::SmallButton* btn_Compile;
  QLabel* lbl_Version;
  QLabel* lbl_Copyright;
  QLabel* lbl_TipText;
  QTimer* Timer1;

 signals:
  // "minimize" while the speech runtime runs: the system goes to the tray.
  void trayWanted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Unhost(const QString& name);
  void OrderContextButtons(QWidget* screen);
  void Apply(ui::SmallButton* button, const FrameButtonLayout& layout, QWidget* screen, bool unsaved);

  const ui::ScreenServices m_services;
  ui::Routes m_routes;
  QPixmap m_background;
  ui::clsTransForm m_drag;
  bool m_dragCursor = false;
  QHash<QString, QPointer<ui::SkinnedScreen>> m_screens;
  QHash<QString, QPointer<QWidget>> m_savedParent;
};

}  // namespace qv::shell
