#pragma once

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace qv::shell {

struct AppState;
class Launcher;

// The small window that stands for the system while the simulator flies: it
// shows while the programs start, then moves into the notification area and
// watches that both programs keep running. Its menu restores the interface
// or exits.
//
// Where the desktop has no notification area the starter stays reachable as
// a minimised window in the task bar instead of hiding: it says so on its
// face, and a right click on it opens the same menu.
class frm_Starter final : public QWidget {
  Q_OBJECT

 public:
  frm_Starter(const AppState& state, Launcher& launcher, QWidget* parent = nullptr);
  ~frm_Starter() override;

  // Launching: the starter shows, and once armed moves into the tray.
  void ShowLaunching();
  void ArmTimer1();
  // The frame's minimise while the runtime runs: straight into the tray.
  void GoToTray();

  void TrayAdd();
  void TrayRemove();
  bool trayIconAdded() const { return m_trayAdded; }
  // False where the desktop has no notification area.
  bool trayAvailable() const { return m_trayAvailable; }
  QSystemTrayIcon* trayIcon() const { return m_tray; }

  void Timer1Tick();
  void Timer2Tick();
  void Restore();
  void Exit();

  QTimer* Timer1;
  QTimer* Timer2;
  QMenu* mnuForm;
  QAction* mnuRestore;
  QAction* mnuSep1;
  QAction* mnuClose;
  QLabel* lbl_Version;
  QLabel* lbl_Copyright;
  QLabel* lbl_Reach;  // only without a notification area

 signals:
  // "Restore": the frame's timer back on, the frame with the home screen.
  void restoreRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void MinimiseAway();

  Launcher& m_launcher;
  QPixmap m_background;
  QIcon m_icon;
  QSystemTrayIcon* m_tray = nullptr;
  bool m_trayAdded = false;
  bool m_trayAvailable;
};

}  // namespace qv::shell
