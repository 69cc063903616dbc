#include "gui/shell/frm_Parent.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "core/shell/AppState.h"
#include "core/shell/LaunchHooks.h"
#include "core/shell/Shutdown.h"
#include "gui/kit/DialogWindow.h"
#include "gui/kit/SmallFontFix.h"
#include "gui/kit/frm_LC.h"
#include "gui/shell/frm_Home.h"
#include "gui/shell/frm_Placeholder.h"
#include "gui/shell/frm_Splash.h"

namespace qv::shell {

namespace {

// Screens reached from the home screen by the action key of their button.
struct Entry {
  const char* buttonType;
  const char* screen;
};
const Entry kEntries[] = {
    {"checklist_modification", "frm_Modify"},
    {"checklist_assignments", "frm_Assign"},
    {"speech_config", "frm_Configure"},
    {"learning_center", "frm_LC"},
};

const char* const kHomeTip = "Click to return to the main Quorvane screen";

}  // namespace

const QStringList& frm_Parent::HostedScreens() {
  static const QStringList names{"frm_Home",   "frm_Modify", "frm_Assign", "frm_Configure",
                                 "frm_Script", "frm_Test",   "frm_LC"};
  return names;
}

frm_Parent::frm_Parent(AppState& state, ShutdownService& shutdown, LaunchHooks& launch, ui::Router& router)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window),
      m_state(state),
      m_shutdown(shutdown),
      m_launch(launch),
      m_router(router) {
  setObjectName("frm_Parent");
  setWindowTitle("Quorvane");
  setFixedSize(800, 600);
  const QString bg = state.installDir + "/Media/Forms/Main_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);

  lbl_Version = new QLabel(VersionText(), this);
  lbl_Version->setObjectName("lbl_Version");
  lbl_Version->setGeometry(14, 556, 360, 18);
  lbl_Copyright = new QLabel(NoticeText(), this);
  lbl_Copyright->setObjectName("lbl_Copyright");
  lbl_Copyright->setGeometry(14, 574, 440, 18);
  lbl_TipText = new QLabel(this);
  lbl_TipText->setObjectName("lbl_TipText");
  lbl_TipText->setGeometry(300, 8, 410, 88);
  lbl_TipText->setWordWrap(true);
  lbl_TipText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (QLabel* l : {lbl_Version, lbl_Copyright, lbl_TipText}) {
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setTextFormat(Qt::PlainText);
    l->setStyleSheet("background: transparent; color: rgb(255, 255, 255);");
  }

  using ui::ButtonSetup;
  const QString& dir = state.installDir;
  btn_Minimize = ui::MakeButton<ui::FormButton>(this, dir, &router,
                                                ButtonSetup{"btn_Minimize", 726, 12, "minimize", "btn_Minimize",
                                                            "enabled", "Click to minimize the Quorvane inteface"});
  btn_Close = ui::MakeButton<ui::FormButton>(
      this, dir, &router,
      ButtonSetup{"btn_Close", 761, 12, "close", "btn_Close", "enabled", "Click to exit the Quorvane inteface"});
  btn_OK = ui::MakeButton<ui::SmallButton>(
      this, dir, &router, ButtonSetup{"btn_OK", 686, 558, "ok", "btn_ParentOK", "enabled", kHomeTip, nullptr, false});
  btn_Cancel = ui::MakeButton<ui::SmallButton>(
      this, dir, &router,
      ButtonSetup{"btn_Cancel", 581, 558, "cancel", "btn_ParentHome", "enabled", kHomeTip, nullptr, false});
  btn_Compile = ui::MakeButton<ui::SmallButton>(
      this, dir, &router,
      ButtonSetup{"btn_Compile", 686, 558, "compile", "btn_ParentCompile", "enabled",
                  "Click to compile the speech recognition grammar files", nullptr, false});

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(5000);
  connect(Timer1, &QTimer::timeout, this, &frm_Parent::Timer1Tick);

  ui::ApplySmallFontFix(this);
  if (const QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());

  using K = ui::ButtonKind;
  router.Register(K::Form, "frm_Parent", "minimize", [this] { Minimize(); });
  router.Register(K::Form, "frm_Parent", "close", [this] { Close(); });
  for (const Entry& e : kEntries) {
    const QString type = e.buttonType;
    router.Register(K::Large, "frm_Home", type, [this, type] { EnterScreen(type); });
  }
  router.Register(K::Large, "frm_Home", "launch_fsx", [this] { EnterScreen("launch_fsx"); });
  router.Register(K::Small, "frm_LC", "cancel", [this] { ReturnHome(); });

  SetScreen("frm_Home", {[this] { return new frm_Home(m_state.installDir, &m_router); }, {}, {}, {}});
  SetScreen("frm_LC", {[this] { return new ui::frm_LC(m_state.installDir); }, {}, {}, {}});
  for (const char* screenName : {"frm_Modify", "frm_Assign", "frm_Configure", "frm_Script", "frm_Test"}) {
    const QString name = screenName;
    SetScreen(name, {[this, name] { return new frm_Placeholder(name, m_state.installDir); }, {}, {}, {}});
  }
  RegisterPlaceholderRoutes(router, *this);
}

frm_Parent::~frm_Parent() {
  for (const QPointer<QWidget>& s : std::as_const(m_screens))
    if (s) delete s.data();
}

void frm_Parent::SetScreen(const QString& name, ScreenSlot slot) { m_slots.insert(name, std::move(slot)); }

QWidget* frm_Parent::screen(const QString& name) {
  QPointer<QWidget>& s = m_screens[name];
  if (!s) {
    const auto it = m_slots.constFind(name);
    if (it == m_slots.constEnd() || !it->create) return nullptr;
    s = it->create();
    if (s) s->setObjectName(name);
  }
  return s;
}

bool frm_Parent::isLoaded(const QString& name) const {
  const auto it = m_screens.constFind(name);
  return it != m_screens.constEnd() && *it;
}

QWidget* frm_Parent::visibleScreen() const {
  for (const QString& name : HostedScreens()) {
    const auto it = m_screens.constFind(name);
    if (it != m_screens.constEnd() && *it && (*it)->isVisible()) return *it;
  }
  return nullptr;
}

void frm_Parent::ShowInParent(QWidget* target) {
  if (!target) return;
  for (const QString& name : HostedScreens())
    if (isLoaded(name) && m_screens.value(name)->isVisible()) HideScreen(name);
  const QString name = target->objectName();
  m_savedParent[name] = target->parentWidget();
  target->setParent(this, Qt::Widget);
  target->move(5, 101);
  target->show();
  target->raise();
  target->setFocus();
  currentScreen = name;
  lbl_TipText->clear();
}

void frm_Parent::Unhost(const QString& name) {
  for (const QString& hosted : HostedScreens()) {
    if (hosted.compare(name, Qt::CaseInsensitive) != 0) continue;
    QWidget* s = m_screens.value(hosted);
    if (!s) return;
    QWidget* back = m_savedParent.value(hosted);
    if (s->parentWidget() != back) s->setParent(back, back ? Qt::Widget : Qt::Window);
    s->hide();
    return;
  }
}

void frm_Parent::HideScreen(const QString& name) {
  Unhost(name);
  if (isVisible()) {
    raise();
    activateWindow();
    setFocus();
  }
}

void frm_Parent::HideAllScreens() {
  static const QStringList order{"frm_Home",   "frm_Assign", "frm_Configure", "frm_Input",  "frm_LC",     "frm_Message",
                                 "frm_Modify", "frm_Parent", "frm_Progress",  "frm_Script", "frm_Splash", "frm_Test"};
  const QList<QWidget*> others = otherWindows ? otherWindows() : QList<QWidget*>{};
  for (const QString& name : order) {
    if (name == "frm_Parent") {
      if (isVisible()) hide();
    } else if (HostedScreens().contains(name)) {
      if (isLoaded(name) && m_screens.value(name)->isVisible()) Unhost(name);
    } else {
      for (QWidget* w : others)
        if (w && w->objectName() == name && w->isVisible()) w->hide();
    }
  }
}

void frm_Parent::RewireForWork(QWidget* target, int cancelLeft, int okLeft, const QString& okTip, bool compile,
                               bool enabled) {
  btn_Cancel->move(cancelLeft, 558);
  btn_Cancel->setFormName(target);
  btn_Cancel->setButtonType("cancel");
  btn_Cancel->setPicture("btn_ParentHome");
  btn_Cancel->SetToolTip(kHomeTip);
  btn_Cancel->setState("enabled");
  btn_Cancel->show();
  btn_OK->move(okLeft, 558);
  btn_OK->setButtonType("save");
  btn_OK->setFormName(target);
  btn_OK->setPicture("btn_ParentSave");
  btn_OK->setState(enabled ? "enabled" : "disabled");
  btn_OK->SetToolTip(okTip);
  btn_OK->show();
  btn_Compile->move(686, 558);
  btn_Compile->setFormName(target);
  btn_Compile->setButtonType("compile");
  btn_Compile->setState(compile && enabled ? "enabled" : "disabled");
  btn_Compile->setVisible(compile);
}

void frm_Parent::EnterScreen(const QString& buttonType) {
  const QString type = buttonType.trimmed().toLower();
  if (type == "launch_fsx") {
    if (!m_launch.launchAndMonitor) return;  // nothing to launch with: stay on the home screen
    HideScreen("frm_Home");
    HideAllScreens();
    m_launch.launchAndMonitor();
    return;
  }
  QString name;
  for (const Entry& e : kEntries)
    if (type == QLatin1String(e.buttonType)) name = e.screen;
  QWidget* target = screen(name);
  if (!target) return;
  const ScreenSlot slot = m_slots.value(name);
  if (slot.beforeEnter) slot.beforeEnter();
  HideScreen(currentScreen);
  ShowInParent(target);
  if (name == "frm_LC") {
    btn_Cancel->move(686, 558);
    btn_Cancel->setFormName(target);
    btn_Cancel->setButtonType("cancel");
    btn_Cancel->setPicture("btn_ParentReturn");
    btn_Cancel->setState("enabled");
    btn_Cancel->SetToolTip("Click to return to the main Quorvane screen");
    btn_Cancel->show();
    btn_Compile->hide();
    btn_OK->hide();
  } else if (name == "frm_Configure") {
    RewireForWork(target, 476, 581, "Click to save current changes made to the speech recognition configuration.", true,
                  slot.unsavedChanges && slot.unsavedChanges());
  } else if (name == "frm_Modify") {
    RewireForWork(target, 581, 686, "Click to save current changes made to the checklist.", false, false);
  } else {
    RewireForWork(target, 581, 686, "Click to save current changes made to the checklist assignments.", false, false);
  }
  lbl_TipText->setText(ui::DialogWindow::DisplayText(m_state.screenTips.value(name)));
  if (slot.afterEnter) slot.afterEnter();
}

void frm_Parent::ReturnHome() {
  HideScreen(currentScreen);
  ShowInParent("frm_Home");
  btn_OK->hide();
  btn_Cancel->hide();
  btn_Compile->hide();
}

void frm_Parent::Minimize() {
  if (m_launch.RuntimeRunning() && m_launch.goToTray) {
    Timer1->stop();
    HideScreen(currentScreen);
    HideAllScreens();
    m_launch.goToTray();
    return;
  }
  showMinimized();
}

void frm_Parent::Close() {
  if (m_launch.RuntimeRunning() && m_launch.closeRuntime) m_launch.closeRuntime();
  m_shutdown.Shutdown();
}

void frm_Parent::Timer1Tick() {
  if (m_launch.RuntimeRunning()) return;
  if (auto* home = m_screens.value("frm_Home").data())
    if (auto* launch = home->findChild<ui::SkinnedButton*>("btn_Launch")) launch->setState("enabled");
}

void frm_Parent::ReleaseScreens() {
  static const QStringList order{"frm_Parent",    "frm_Home",    "frm_Modify", "frm_Assign",
                                 "frm_Configure", "frm_Message", "frm_Input",  "frm_Script",
                                 "frm_Progress",  "frm_Test",    "frm_LC"};
  const QList<QWidget*> others = otherWindows ? otherWindows() : QList<QWidget*>{};
  for (const QString& name : order) {
    QWidget* w = name == "frm_Parent" ? this : m_screens.value(name).data();
    if (!w)
      for (QWidget* o : others)
        if (o && o->objectName() == name) w = o;
    if (!w) continue;
    for (ui::SkinnedButton* b : w->findChildren<ui::SkinnedButton*>()) b->end_sub_class();
  }
}

void frm_Parent::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull()) {
    p.drawPixmap(0, 0, m_background);
    return;
  }
  // Drawn stand-in for the frame artwork.
  QLinearGradient head(0, 0, 0, 101);
  head.setColorAt(0, QColor(36, 58, 86));
  head.setColorAt(1, QColor(22, 38, 58));
  p.fillRect(QRect(0, 0, 800, 101), head);
  p.fillRect(QRect(0, 101, 800, 447), QColor(196, 206, 216));
  QLinearGradient foot(0, 548, 0, 600);
  foot.setColorAt(0, QColor(28, 46, 70));
  foot.setColorAt(1, QColor(18, 30, 46));
  p.fillRect(QRect(0, 548, 800, 52), foot);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f = font();
  f.setPixelSize(34);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(232, 238, 246));
  p.drawText(QRect(24, 16, 260, 50), Qt::AlignLeft | Qt::AlignVCenter, "Quorvane");
  f.setPixelSize(13);
  f.setBold(false);
  p.setFont(f);
  p.setPen(QColor(150, 176, 204));
  p.drawText(QRect(26, 62, 260, 22), Qt::AlignLeft | Qt::AlignVCenter, "Speech recognition for FSX");
  p.setPen(QColor(80, 104, 132));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void frm_Parent::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    setCursor(Qt::SizeAllCursor);
    m_dragCursor = true;
    // Every press starts a new drag: the release of the last one may have gone
    // to a screen that replaced the one under the mouse.
    m_drag.EndDrag();
    m_drag.DragForm(this, event->buttons(), event->globalPosition().toPoint());
  }
}

void frm_Parent::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) m_drag.DragForm(this, event->buttons(), event->globalPosition().toPoint());
}

void frm_Parent::mouseReleaseEvent(QMouseEvent*) {
  m_drag.EndDrag();
  if (m_dragCursor) {
    unsetCursor();
    m_dragCursor = false;
  }
}

}  // namespace qv::shell
