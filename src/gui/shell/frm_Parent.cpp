#include "gui/shell/frm_Parent.h"

#include <QFileInfo>
#include <algorithm>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Launch.h"
#include "core/shell/Shutdown.h"
#include "gui/kit/Accessibility.h"
#include "gui/kit/DialogWindow.h"
#include "gui/kit/Skin.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/kit/SmallFontFix.h"
#include "gui/shell/ScreenTable.h"
#include "gui/shell/frm_Splash.h"

namespace qv::shell {

namespace {

const char* const kHomeTip = "Click to return to the main Quorvane screen";

}  // namespace

frm_Parent::frm_Parent(const ui::ScreenServices& services)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window),
      m_services(services),
      m_routes(services.router, "frm_Parent") {
  setObjectName("frm_Parent");
  setWindowTitle("Quorvane");
  setFixedSize(800, 600);
  const QString dir = services.ctx.state.installDir;
  const QString bg = dir + "/Media/Forms/Main_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);

  lbl_Version = ui::MakeLabel(this, "lbl_Version", VersionText(), {14, 556, 360, 18}, ui::kArtworkText);
  lbl_Copyright = ui::MakeLabel(this, "lbl_Copyright", NoticeText(), {14, 574, 440, 18}, ui::kArtworkText);
  // Between the title and the frame buttons, above the band's rule: room
  // for seven lines, the longest tip's.
  lbl_TipText = ui::MakeLabel(this, "lbl_TipText", {}, {262, 3, 456, 89}, ui::kArtworkText);
  lbl_TipText->setWordWrap(true);
  lbl_TipText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  using ui::ButtonSetup;
  ui::Router* router = &services.router;
  btn_Minimize = ui::MakeButton<ui::FormButton>(this, dir, router,
                                                ButtonSetup{"btn_Minimize", 726, 12, "minimize", "btn_Minimize",
                                                            "enabled", "Click to minimize the Quorvane inteface"});
  btn_Close = ui::MakeButton<ui::FormButton>(
      this, dir, router,
      ButtonSetup{"btn_Close", 761, 12, "close", "btn_Close", "enabled", "Click to exit the Quorvane inteface"});
  btn_OK = ui::MakeButton<ui::SmallButton>(
      this, dir, router, ButtonSetup{"btn_OK", 686, 558, "ok", "btn_ParentOK", "enabled", kHomeTip, nullptr, false});
  btn_Cancel = ui::MakeButton<ui::SmallButton>(
      this, dir, router,
      ButtonSetup{"btn_Cancel", 581, 558, "cancel", "btn_ParentHome", "enabled", kHomeTip, nullptr, false});
  btn_Compile = ui::MakeButton<ui::SmallButton>(
      this, dir, router,
      ButtonSetup{"btn_Compile", 686, 558, "compile", "btn_ParentCompile", "enabled",
                  "Click to compile the speech recognition grammar files", nullptr, false});

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(5000);
  connect(Timer1, &QTimer::timeout, this, &frm_Parent::Timer1Tick);

  ui::ApplySmallFontFix(this);
  if (const QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());

  m_routes.Add(ui::ButtonKind::Form, "minimize", [this] { Minimize(); });
  m_routes.Add(ui::ButtonKind::Form, "close", [this] { Close(); });
}

frm_Parent::~frm_Parent() {
  for (const QPointer<ui::SkinnedScreen>& s : std::as_const(m_screens))
    if (s) delete s.data();
}

QWidget* frm_Parent::screen(const QString& name) {
  QPointer<ui::SkinnedScreen>& s = m_screens[name];
  if (!s) {
    const ScreenRow* row = FindScreen(name);
    if (!row) return nullptr;
    s = row->create(m_services, *this);
    s->FinishLoading();
  }
  return s;
}

bool frm_Parent::isLoaded(const QString& name) const {
  const auto it = m_screens.constFind(name);
  return it != m_screens.constEnd() && *it;
}

QWidget* frm_Parent::visibleScreen() const {
  for (const ScreenRow& row : ScreenTable()) {
    const auto it = m_screens.constFind(row.name);
    if (it != m_screens.constEnd() && *it && (*it)->isVisible()) return *it;
  }
  return nullptr;
}

void frm_Parent::ShowInParent(QWidget* target) {
  if (!target) return;
  for (const ScreenRow& row : ScreenTable())
    if (isLoaded(row.name) && m_screens.value(row.name)->isVisible()) HideScreen(row.name);
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
  for (const ScreenRow& row : ScreenTable()) {
    if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) != 0) continue;
    QWidget* s = m_screens.value(row.name);
    if (!s) return;
    QWidget* back = m_savedParent.value(row.name);
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
  for (const ScreenRow& row : ScreenTable())
    if (isLoaded(row.name) && m_screens.value(row.name)->isVisible()) Unhost(row.name);
  for (QWidget* dialog : m_services.dialogs.loadedDialogs())
    if (dialog->isVisible()) dialog->hide();
  if (isVisible()) hide();
}

void frm_Parent::HideEverything() {
  HideScreen(currentScreen);
  HideAllScreens();
}

ui::SmallButton* frm_Parent::frameButton(ui::FrameButton which) {
  switch (which) {
    case ui::FrameButton::OK: return btn_OK;
    case ui::FrameButton::Cancel: return btn_Cancel;
    case ui::FrameButton::Compile: return btn_Compile;
  }
  return nullptr;
}

void frm_Parent::Apply(ui::SmallButton* button, const FrameButtonLayout& layout, QWidget* target, bool unsaved) {
  if (layout.left < 0 && !layout.type) {
    button->hide();
    return;
  }
  if (layout.left >= 0) button->move(layout.left, 558);
  button->setFormName(target);
  if (layout.type) button->setButtonType(layout.type);
  if (layout.picture) button->setPicture(layout.picture);
  if (layout.toolTip) button->SetToolTip(layout.toolTip);
  const bool enabled =
      layout.state == FrameButtonLayout::Enabled || (layout.state == FrameButtonLayout::WhenUnsaved && unsaved);
  button->setState(enabled ? "enabled" : "disabled");
  button->setVisible(layout.left >= 0);
}

void frm_Parent::OrderContextButtons(QWidget* target) {
  // Reading order: the title bar's buttons (first in the frame's chain),
  // the hosted screen, then the context buttons along the bottom, left to
  // right. A hosted screen joins the chain at its end, as one block.
  QWidget* last = nullptr;
  for (QWidget* w = target->nextInFocusChain(); w != target && target->isAncestorOf(w); w = w->nextInFocusChain())
    if (w->focusPolicy() != Qt::NoFocus) last = w;
  QList<QWidget*> chain{btn_Cancel, btn_OK, btn_Compile};
  std::sort(chain.begin(), chain.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
  if (last) chain.prepend(last);
  ui::SetTabChain(chain);
}

void frm_Parent::Enter(const QString& name) {
  const ScreenRow* row = FindScreen(name);
  auto* target = static_cast<ui::SkinnedScreen*>(screen(name));
  if (!row || !target) return;
  target->Entering();
  HideScreen(currentScreen);
  ShowInParent(target);
  const bool unsaved = target->unsavedChanges();
  Apply(btn_Cancel, row->cancel, target, unsaved);
  Apply(btn_OK, row->ok, target, unsaved);
  Apply(btn_Compile, row->compile, target, unsaved);
  OrderContextButtons(target);
  // The frame's font follows the small-fonts correction; the tip starts from it.
  ui::SetFittedText(lbl_TipText, ui::DialogWindow::DisplayText(m_services.ctx.state.screenTips.value(name)), font());
  target->Entered();
}

void frm_Parent::ReturnHome() {
  HideScreen(currentScreen);
  ShowInParent("frm_Home");
  btn_OK->hide();
  btn_Cancel->hide();
  btn_Compile->hide();
}

void frm_Parent::Minimize() {
  if (m_services.launcher.RuntimeRunning()) {
    Timer1->stop();
    HideEverything();
    emit trayWanted();
    return;
  }
  showMinimized();
}

void frm_Parent::Close() {
  if (m_services.launcher.RuntimeRunning()) m_services.launcher.CloseRuntime();
  m_services.ctx.shutdown.Shutdown();
}

void frm_Parent::Timer1Tick() {
  if (!m_services.launcher.RuntimeRunning()) SetLaunchEnabled(true);
}

void frm_Parent::SetLaunchEnabled(bool on) {
  if (auto* launch = screen("frm_Home")->findChild<ui::SkinnedButton*>("btn_Launch"))
    launch->setState(on ? "enabled" : "disabled");
}

void frm_Parent::ReleaseScreens() {
  QList<QWidget*> windows{this};
  for (const ScreenRow& row : ScreenTable())
    if (isLoaded(row.name)) windows << m_screens.value(row.name);
  windows << m_services.dialogs.loadedDialogs();
  for (QWidget* w : windows)
    for (ui::SkinnedButton* b : w->findChildren<ui::SkinnedButton*>()) b->end_sub_class();
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
