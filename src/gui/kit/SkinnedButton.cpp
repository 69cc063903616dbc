#include "gui/kit/SkinnedButton.h"

#include <QAccessible>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>

#include "gui/kit/Accessibility.h"
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
  // The keyboard focus shows as a dotted ring inside the band on show (the
  // strip is moved up by the band, so the band starts at -y()).
  const auto* button = static_cast<const SkinnedButton*>(parentWidget());
  if (button && button->hasFocus() && button->showsFocus()) {
    const QRect band(2, -y() + 2, button->width() - 5, button->height() - 5);
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.drawRect(band);
    p.setPen(QPen(QColor(20, 28, 40), 1, Qt::DotLine));
    p.drawRect(band);
  }
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

namespace {

// "add_grammar" -> {"Add", "Grammar"}; abbreviations in keys read in full.
QStringList ActionWords(const QString& action) {
  static const QHash<QString, QString> spelled{
      {"ok", "OK"}, {"fsx", "FSX"}, {"config", "Configuration"}, {"lc", "Learning Center"}};
  QStringList words;
  for (const QString& w : action.trimmed().toLower().split(QRegularExpression("[_\\s]+"), Qt::SkipEmptyParts))
    words << spelled.value(w, w.left(1).toUpper() + w.mid(1));
  return words;
}

// "btn_ParentSave" -> {"Save"}, "btn_smlPlay" -> {"Play"}: the words drawn
// on the strip.
QStringList PictureWords(const QString& picture) {
  QString name = picture.trimmed();
  if (name.startsWith("btn_", Qt::CaseInsensitive)) name = name.mid(4);
  if (name.startsWith("Parent") && name.size() > 6) name = name.mid(6);
  static const QRegularExpression sizePrefix("^[a-z]+(?=[A-Z])");
  name.remove(sizePrefix);
  static const QRegularExpression boundary("(?<=[a-z0-9])(?=[A-Z])|[_\\s]+");
  return name.split(boundary, Qt::SkipEmptyParts);
}

}  // namespace

QString ButtonName(const QString& action, const QString& picture, const QString& objectName) {
  const QStringList act = ActionWords(action);
  const QStringList pic = PictureWords(picture);
  if (act.isEmpty() && pic.isEmpty()) return PictureWords(objectName).join(u' ');
  const QString said = act.join(u' ');
  const bool saysWhatShows = std::all_of(pic.begin(), pic.end(), [&](const QString& w) {
    return said.split(u' ').contains(w, Qt::CaseInsensitive);
  });
  return act.isEmpty() || !saysWhatShows ? pic.join(u' ') : said;
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
  // Every kind is reached with Tab and pressed with Enter or Space.
  setFocusPolicy(Qt::StrongFocus);
  InstallButtonAccessibility();
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
  Announce(QAccessible::DescriptionChanged);
}

void SkinnedButton::setButtonType(const QString& type) {
  m_type = type;
  Announce(QAccessible::NameChanged);
}

QString SkinnedButton::caption() const { return ButtonName(m_type, m_picture, objectName()); }

void SkinnedButton::Announce(int accessibleEvent) {
  // The frame's context buttons change their action, picture and tooltip
  // with each screen; screen readers follow those changes.
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(this, static_cast<QAccessible::Event>(accessibleEvent));
  QAccessible::updateAccessibility(&event);
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
  Announce(QAccessible::NameChanged);
}

void SkinnedButton::setState(const QString& state) {
  const bool wasDisabled = Norm(m_state) == kDisabled;
  m_state = state;
  const int band = BandOf(state);
  if (band >= 0) {
    m_band = band;
    ShowBand();
  }
  if (wasDisabled != (Norm(m_state) == kDisabled) && QAccessible::isActive()) {
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
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
  m_showsFocus = event->reason() != Qt::MouseFocusReason;  // a click needs no ring
  m_pic->update();
  if (m_followsFocus && Norm(m_state) != kDisabled) setState(kHighlight);
}

void SkinnedButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  m_pic->update();
  if (m_followsFocus && Norm(m_state) == kHighlight) setState(kEnabled);
}

FormButton::FormButton(QWidget* parent) : SkinnedButton(ButtonKind::Form, parent) {}
LargeButton::LargeButton(QWidget* parent) : SkinnedButton(ButtonKind::Large, parent) {}
MediumButton::MediumButton(QWidget* parent) : SkinnedButton(ButtonKind::Medium, parent) {}

SmallButton::SmallButton(QWidget* parent) : SkinnedButton(ButtonKind::Small, parent) {}

void SmallButton::button_pressed() { Release(Qt::LeftButton); }

void SkinnedButton::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_Space && !event->isAutoRepeat())) {
    Release(Qt::LeftButton);
    return;
  }
  QWidget::keyPressEvent(event);
}

QString SmallButton::AfterActionState(bool succeeded) const { return succeeded ? kEnabled : kHighlight; }

}  // namespace qv::ui
