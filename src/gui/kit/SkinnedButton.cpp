#include "gui/kit/SkinnedButton.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

#include "gui/kit/cls_Tooltip.h"

namespace qv::ui {

namespace {

const QColor kCreateColour(127, 155, 187);
const QColor kResizeColour(217, 223, 219);
const QColor kTipText(45, 45, 45);
const QColor kTipBack(231, 231, 231);

QString Norm(const QString& s) { return s.trimmed().toLower(); }

}  // namespace

StripView::StripView(QWidget* parent) : QWidget(parent) {
  setObjectName("pic_BG");
  setMouseTracking(true);
}

void StripView::setStrip(const QPixmap& strip) {
  m_strip = strip;
  resize(strip.size());
  update();
}

void StripView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, m_strip);
}

QString FallbackCaption(const QString& picture) {
  QString name = picture.trimmed();
  if (name.startsWith("btn_", Qt::CaseInsensitive)) name = name.mid(4);
  if (name.startsWith("Parent") && name.size() > 6) name = name.mid(6);
  if (name.compare("Minimize", Qt::CaseInsensitive) == 0) return QStringLiteral("_");
  if (name.compare("Close", Qt::CaseInsensitive) == 0) return QStringLiteral("X");
  // Split "ChecklistAssignments" into words but keep runs of capitals ("OK").
  static const QRegularExpression boundary("(?<=[a-z0-9])(?=[A-Z])");
  return name.replace(u'_', u' ').split(boundary).join(u' ').trimmed();
}

QSize SkinnedButton::KindSize(ButtonKind kind) {
  const ButtonSize size = ui::KindSize(kind);
  return {size.width, size.height};
}

int SkinnedButton::BandOf(const QString& state) {
  const QString s = Norm(state);
  if (s == kEnabled) return 0;
  if (s == kHighlight) return 1;
  if (s == kDown) return 2;
  if (s == kDisabled) return 3;
  return -1;
}

SkinnedButton::SkinnedButton(ButtonKind kind, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_pic(new StripView(this)) {
  const QSize size = KindSize(kind);
  setFixedSize(size);
  m_pic->setGeometry(0, 0, size.width(), size.height());
  SetBackground(kCreateColour);
  m_pic->installEventFilter(this);  // the picture area receives all mouse events
  m_pic->setStrip(FallbackStrip());
  ShowBand();
}

SkinnedButton::~SkinnedButton() { end_sub_class(); }

void SkinnedButton::SetBackground(const QColor& colour) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, colour);
  setPalette(pal);
  setAutoFillBackground(true);
}

void SkinnedButton::resizeEvent(QResizeEvent*) {
  const QSize size = KindSize(m_kind);
  if (this->size() != size) resize(size);
  SetBackground(kResizeColour);
}

void SkinnedButton::SetToolTip(const QString& text) {
  if (m_tip) m_tip->Destroy();
  delete m_tip;
  m_toolTip = text;
  m_tip = new cls_Tooltip(this);
  m_tip->Create(this);
  m_tip->setForeColor(kTipText);
  m_tip->setBackColor(kTipBack);
  m_tip->setMaxWidth(400);
  m_tip->setVisibleTime(10000);
  m_tip->setDelayTime(250);
  m_tip->AddControl(m_pic, text, false);
  m_tip->setFont(font());
}

void SkinnedButton::setPicture(const QString& name) {
  m_picture = name;
  QPixmap strip;
  const QString path = m_installDir + "/Media/Buttons/" + name.trimmed() + ".bmp";
  if (!m_installDir.isEmpty() && QFileInfo::exists(path)) strip.load(path);
  if (!strip.isNull()) {
    m_hasPicture = true;
    m_pic->setStrip(strip);
  } else if (!m_hasPicture) {
    // No bitmap: a plain drawn strip keeps the button usable. A bitmap that
    // was loaded before stays.
    m_pic->setStrip(FallbackStrip());
  }
  ShowBand();
}

void SkinnedButton::setState(const QString& state) {
  m_state = state;
  const int band = BandOf(state);
  if (band >= 0) {
    m_band = band;
    ShowBand();
  }
}

void SkinnedButton::ShowBand() { m_pic->move(0, -m_band * bandHeight()); }

QPixmap SkinnedButton::FallbackStrip() const {
  const QSize size = KindSize(m_kind);
  const int h = size.height();
  QPixmap strip(size.width(), h * 4);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  struct Band {
    QColor top, bottom, text;
  };
  const Band bands[4] = {
      {QColor(92, 118, 148), QColor(58, 80, 106), QColor(240, 244, 248)},     // enabled
      {QColor(122, 152, 186), QColor(78, 106, 138), QColor(255, 255, 255)},   // highlight
      {QColor(44, 62, 84), QColor(64, 86, 112), QColor(220, 228, 236)},       // down
      {QColor(170, 176, 182), QColor(150, 156, 162), QColor(112, 118, 124)},  // disabled
  };
  QFont f = font();
  f.setBold(true);
  f.setPixelSize(m_kind == ButtonKind::Large ? 17 : m_kind == ButtonKind::Form ? 15 : 12);
  p.setFont(f);
  const QString caption = FallbackCaption(m_picture);
  for (int i = 0; i < 4; ++i) {
    const QRectF r(0.5, i * h + 0.5, size.width() - 1.0, h - 1.0);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, bands[i].top);
    g.setColorAt(1, bands[i].bottom);
    p.setBrush(g);
    p.setPen(QColor(30, 42, 56));
    p.drawRect(r);  // square: the corners would show the button's own background
    p.setPen(bands[i].text);
    p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignCenter | Qt::TextWordWrap, caption);
  }
  return strip;
}

void SkinnedButton::refresh_controls(QWidget* screen) {
  if (!screen) return;
  for (SkinnedButton* b : screen->findChildren<SkinnedButton*>()) {
    if (b->m_kind != m_kind || b == this) continue;
    if (Norm(b->m_state) == kDisabled || Norm(b->m_type) == Norm(m_type)) continue;
    b->setState(kEnabled);
  }
}

void SkinnedButton::click_event() { Down(); }

void SkinnedButton::end_sub_class() {
  if (m_tip) m_tip->Destroy();
  if (m_subclassed && m_pic) m_pic->removeEventFilter(this);
  m_subclassed = false;
}

void SkinnedButton::Move() {
  if (m_kind != ButtonKind::Form) refresh_controls(m_form);
  if (!m_tracking) {
    m_tracking = true;  // the leave event clears it
    if (Norm(m_state) != kDisabled) setState(kHighlight);
  }
}

void SkinnedButton::Leave() {
  m_tracking = false;
  if (Norm(m_state) != kDisabled) setState(kEnabled);
}

void SkinnedButton::Down() {
  if (Norm(m_state) != kDisabled) setState(kDown);
}

QString SkinnedButton::AfterActionState(bool) const { return kHighlight; }

void SkinnedButton::Release(Qt::MouseButton) {
  if (Norm(m_state) == kDisabled) return;
  setState(kHighlight);
  QPointer<SkinnedButton> self(this);
  bool ok = true;
  if (m_form && m_router) ok = m_router->Route(m_kind, m_form->objectName(), m_type);
  if (!self) return;  // the action released the screen
  m_tracking = false;
  if (Norm(m_state) != kDisabled) setState(ok ? AfterActionState(true) : QString(kHighlight));
}

bool SkinnedButton::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_pic) return false;
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove: Move(); break;
    case QEvent::Leave: Leave(); break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: Down(); break;
    case QEvent::MouseButtonRelease: Release(static_cast<QMouseEvent*>(event)->button()); return true;
    default: break;
  }
  return false;
}

void SkinnedButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (m_followsFocus && Norm(m_state) != kDisabled) setState(kHighlight);
}

void SkinnedButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (m_followsFocus && Norm(m_state) == kHighlight) setState(kEnabled);
}

FormButton::FormButton(QWidget* parent) : SkinnedButton(ButtonKind::Form, parent) {}
LargeButton::LargeButton(QWidget* parent) : SkinnedButton(ButtonKind::Large, parent) {}
MediumButton::MediumButton(QWidget* parent) : SkinnedButton(ButtonKind::Medium, parent) {}

SmallButton::SmallButton(QWidget* parent) : SkinnedButton(ButtonKind::Small, parent) {
  setFocusPolicy(Qt::StrongFocus);
}

void SmallButton::button_pressed() { Release(Qt::LeftButton); }

void SmallButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Release(Qt::LeftButton);
    return;
  }
  SkinnedButton::keyPressEvent(event);
}

QString SmallButton::AfterActionState(bool succeeded) const { return succeeded ? kEnabled : kHighlight; }

}  // namespace qv::ui
