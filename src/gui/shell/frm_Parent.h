#pragma once

#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "gui/kit/ScreenHost.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/clsTransForm.h"

namespace qv::shell {

struct AppState;
struct LaunchHooks;
class ShutdownService;

// The borderless frame that hosts one screen at a time, with the title
// artwork, version and notice, the tip line and the five frame buttons.
class frm_Parent final : public QWidget, public ui::ScreenHost {
 public:
  // How a hosted screen is built and what entering it involves. Screens
  // that are not built yet get a placeholder with the right name.
  struct ScreenSlot {
    std::function<QWidget*()> create;
    std::function<void()> beforeEnter;     // e.g. fill the configuration screen
    std::function<void()> afterEnter;      // e.g. reset the modification screen
    std::function<bool()> unsavedChanges;  // save and compile start enabled when true
  };

  frm_Parent(AppState& state, ShutdownService& shutdown, LaunchHooks& launch, ui::Router& router);
  ~frm_Parent() override;

  // frm_Home, frm_Modify, frm_Assign, frm_Configure, frm_Script, frm_Test, frm_LC.
  static const QStringList& HostedScreens();

  void SetScreen(const QString& name, ScreenSlot slot);
  QWidget* screen(const QString& name);  // loads it on first use
  bool isLoaded(const QString& name) const;
  QWidget* visibleScreen() const;  // the hosted screen shown, if any

  void ShowInParent(QWidget* screen);
  void ShowInParent(const QString& name) { ShowInParent(screen(name)); }
  void HideScreen(const QString& name) override;
  void HideAllScreens() override;
  QWidget* frameWindow() override { return this; }

  // The home screen's large buttons: enter the screen of `buttonType`.
  void EnterScreen(const QString& buttonType);
  // HideScreen (currentScreen), ShowInParent (frm_Home), hide the context buttons.
  void ReturnHome();

  void Minimize();
  void Close();
  void Timer1Tick();
  // Ends the buttons' event tracking on every loaded screen, in the order
  // the shutdown releases them.
  void ReleaseScreens();

  // Top-level windows that HideAllScreens also hides (dialogs, splash).
  std::function<QList<QWidget*>()> otherWindows;

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

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Unhost(const QString& name);
  void RewireForWork(QWidget* target, int cancelLeft, int okLeft, const QString& okTip, bool compile, bool enabled);

  AppState& m_state;
  ShutdownService& m_shutdown;
  LaunchHooks& m_launch;
  ui::Router& m_router;
  QPixmap m_background;
  ui::clsTransForm m_drag;
  bool m_dragCursor = false;
  QHash<QString, ScreenSlot> m_slots;
  QHash<QString, QPointer<QWidget>> m_screens;
  QHash<QString, QPointer<QWidget>> m_savedParent;
};

}  // namespace qv::shell
