#include "gui/shell/frm_Starter.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "core/shell/AppState.h"
#include "core/shell/Launch.h"
#include "gui/kit/Skin.h"
#include "gui/kit/SmallFontFix.h"
#include "gui/shell/frm_Splash.h"

namespace qv::shell {
namespace {

const QString kTrayTip = QStringLiteral("Quorvane");

// The starter's icon, drawn rather than shipped: any icon will do, and the
// notification area needs one to show anything at all.
QIcon StarterIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(28, 60, 104));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    QFont f;
    f.setBold(true);
    f.setPixelSize(size * 3 / 4);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, "Q");
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

frm_Starter::frm_Starter(const AppState& state, Launcher& launcher, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      Timer1(new QTimer(this)),
      Timer2(new QTimer(this)),
      mnuForm(new QMenu("File", this)),
      m_launcher(launcher),
      m_icon(StarterIcon()),
      m_trayAvailable(QSystemTrayIcon::isSystemTrayAvailable()) {
  setObjectName("frm_Starter");
  setWindowTitle("Quorvane");
  setWindowIcon(m_icon);
  m_background.load(state.installDir + "/Media/Forms/Splash_BG.bmp");
  setFixedSize(m_background.isNull() ? QSize(480, 300) : m_background.size());

  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kStarterTrayDelayMs);
  Timer2->setObjectName("Timer2");
  Timer2->setInterval(kStarterWatchMs);
  connect(Timer1, &QTimer::timeout, this, &frm_Starter::Timer1Tick);
  connect(Timer2, &QTimer::timeout, this, &frm_Starter::Timer2Tick);

  mnuForm->setObjectName("mnuForm");
  mnuRestore = mnuForm->addAction("Restore");
  mnuRestore->setObjectName("mnuRestore");
  mnuSep1 = mnuForm->addSeparator();
  mnuSep1->setObjectName("mnuSep1");
  mnuClose = mnuForm->addAction("Exit");
  mnuClose->setObjectName("mnuClose");
  connect(mnuRestore, &QAction::triggered, this, &frm_Starter::Restore);
  connect(mnuClose, &QAction::triggered, this, &frm_Starter::Exit);

  lbl_Version = ui::MakeLabel(this, "lbl_Version", VersionText(), {}, ui::kArtworkText);
  lbl_Copyright = ui::MakeLabel(this, "lbl_Copyright", NoticeText(), {}, ui::kArtworkText);
  lbl_Reach =
      ui::MakeLabel(this, "lbl_Reach", "Right-click this window to restore Quorvane or to exit.", {}, ui::kArtworkText);
  lbl_Reach->setWordWrap(true);
  lbl_Reach->setVisible(!m_trayAvailable);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->addStretch();
  layout->addWidget(lbl_Reach);
  layout->addWidget(lbl_Version);
  layout->addWidget(lbl_Copyright);
  ui::ApplySmallFontFix(this);
}

frm_Starter::~frm_Starter() { TrayRemove(); }

void frm_Starter::ShowLaunching() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
}

void frm_Starter::ArmTimer1() {
  if (!Timer1->isActive()) Timer1->start();
}

void frm_Starter::GoToTray() {
  show();
  TrayAdd();
  MinimiseAway();
  Timer2->start();
}

void frm_Starter::TrayAdd() {
  if (!m_tray) {
    m_tray = new QSystemTrayIcon(m_icon, this);
    m_tray->setObjectName("trayIcon");
    // The platform pops the menu up on the right button; other clicks do nothing.
    m_tray->setContextMenu(mnuForm);
  }
  m_tray->setToolTip(kTrayTip);
  m_tray->show();
  m_trayAdded = true;
}

void frm_Starter::TrayRemove() {
  if (m_tray) m_tray->hide();
  m_trayAdded = false;
}

void frm_Starter::MinimiseAway() {
  if (windowState() & Qt::WindowMinimized) return;
  showMinimized();
  // Without a notification area the task bar is the only way back.
  if (m_trayAvailable) hide();
}

void frm_Starter::Timer1Tick() {
  TrayAdd();
  MinimiseAway();
  Timer1->stop();
  Timer2->start();
}

void frm_Starter::Timer2Tick() { m_launcher.WatchPrograms(); }

void frm_Starter::Restore() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  hide();
  TrayRemove();
  Timer2->stop();
  emit restoreRequested();
}

void frm_Starter::Exit() { m_launcher.ExitWithRuntime(); }

void frm_Starter::contextMenuEvent(QContextMenuEvent* event) { mnuForm->popup(event->globalPos()); }

void frm_Starter::paintEvent(QPaintEvent*) { PaintSplashBackground(*this, m_background); }

}  // namespace qv::shell
