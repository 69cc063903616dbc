#include "gui/kit/DialogWindow.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "gui/kit/Skin.h"
#include "gui/kit/SmallFontFix.h"

namespace qv::ui {

namespace {

QPixmap FallbackIcon(char kind) {
  QPixmap pm(44, 44);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QColor fill(52, 96, 150);
  QString glyph = "i";
  switch (kind) {
    case '!': fill = QColor(214, 150, 30), glyph = "!"; break;
    case 'x': fill = QColor(178, 48, 44), glyph = QString(QChar(0x00D7)); break;
    case '?': fill = QColor(52, 110, 96), glyph = "?"; break;
    case 'w': fill = QColor(90, 104, 122), glyph = "..."; break;
    default: break;
  }
  p.setPen(QPen(fill.darker(140), 2));
  p.setBrush(fill);
  if (kind == '!') {
    QPainterPath tri;
    tri.moveTo(22, 3);
    tri.lineTo(41, 40);
    tri.lineTo(3, 40);
    tri.closeSubpath();
    p.drawPath(tri);
  } else {
    p.drawEllipse(QRectF(3, 3, 38, 38));
  }
  QFont f;
  f.setBold(true);
  f.setPixelSize(kind == 'w' ? 16 : 24);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(0, kind == '!' ? 8 : 0, 44, 40), Qt::AlignCenter, glyph);
  return pm;
}

}  // namespace

DialogWindow::DialogWindow(const QString& name, const QString& installDir)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      m_installDir(installDir),
      m_title(new QLabel(this)),
      m_message(new QLabel(this)),
      m_icon(new QLabel(this)) {
  setObjectName(name);
  setFixedSize(kWidth, kHeight);
  ApplySmallFontFix(this);
  const QString bg = installDir + "/Media/Forms/Msg_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);

  m_title->setObjectName("lbl_Title");
  m_message->setObjectName("lbl_Message");
  m_icon->setObjectName("pic_Icon");
  QFont tf = m_title->font();
  tf.setBold(true);
  tf.setPointSize(tf.pointSize() + 2);
  m_title->setFont(tf);
  m_title->setGeometry(76, 14, 410, 26);
  m_message->setGeometry(76, 46, 410, 150);
  m_message->setWordWrap(true);
  m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_icon->setGeometry(18, 16, 48, 48);
  m_icon->setAlignment(Qt::AlignCenter);
  m_messageFont = m_message->font();
  for (QLabel* l : {m_title, m_message, m_icon}) StyleLabel(l, kDialogText);
}

QString DialogWindow::DisplayText(const QString& text) {
  QString t = text;
  t.replace("\r\n", "\n");
  t.replace(u'\r', u'\n');
  return t;
}

void DialogWindow::SetFittedMessage(const QString& text) {
  const QString shown = DisplayText(text);
  QFont font = m_messageFont;
  const auto tooTall = [&] {
    return QFontMetrics(font).boundingRect(QRect(0, 0, m_message->width(), 10000), Qt::TextWordWrap, shown).height() >
           m_message->height();
  };
  const auto smaller = [&font] {
    if (font.pointSize() > 0) {
      if (font.pointSize() <= 6) return false;
      font.setPointSize(font.pointSize() - 1);
    } else {
      if (font.pixelSize() <= 8) return false;
      font.setPixelSize(font.pixelSize() - 1);
    }
    return true;
  };
  while (tooTall() && smaller()) {
  }
  m_message->setFont(font);
  m_message->setText(shown);
}

void DialogWindow::LoadIcon(const QString& file, char fallback) {
  const QString path = m_installDir + "/Media/Icons/" + file;
  QPixmap pm;
  if (QFileInfo::exists(path)) pm.load(path);
  // A bitmap has no transparency of its own: its corner colour is the
  // background, left out so that the title band shows around the icon.
  if (!pm.isNull() && !pm.hasAlphaChannel())
    pm.setMask(pm.createMaskFromColor(pm.toImage().pixelColor(0, 0), Qt::MaskInColor));
  m_icon->setPixmap(pm.isNull() ? FallbackIcon(fallback) : pm);
  // The icon says what kind of message this is: "icon_Warning.bmp" -> "Warning".
  m_icon->setAccessibleName(QFileInfo(file).completeBaseName().section(u'_', 1));
}

void DialogWindow::CentreOver(QWidget* over, bool always) {
  QRect area;
  if (over && (always || over->isVisible())) {
    area = over->frameGeometry();
  } else if (const QScreen* s = QGuiApplication::primaryScreen()) {
    area = s->geometry();
  }
  if (area.isValid()) move(area.left() + area.width() / 2 - width() / 2, area.top() + area.height() / 2 - height() / 2);
}

void DialogWindow::RunModal() {
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  QEventLoop loop;
  m_loops.push_back(&loop);
  loop.exec(QEventLoop::DialogExec);
}

void DialogWindow::CloseDialog() {
  if (isVisible()) {
    hide();  // hideEvent ends the modal show
  } else if (!m_loops.empty()) {
    m_loops.back()->quit();
    m_loops.pop_back();
  }
}

void DialogWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous() && !m_loops.empty()) {
    m_loops.back()->quit();
    m_loops.pop_back();
  }
}

void DialogWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull()) {
    p.drawPixmap(0, 0, m_background);
    return;
  }
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0, QColor(236, 240, 244));
  g.setColorAt(1, QColor(208, 216, 224));
  p.fillRect(rect(), g);
  p.fillRect(QRect(0, 0, width(), 4), QColor(49, 82, 117));
  p.setPen(QColor(49, 82, 117));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace qv::ui
