#include "gui/shell/frm_Splash.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/kit/Skin.h"
#include "gui/kit/SmallFontFix.h"

namespace qv::shell {

QString VersionText() { return "Version: " + QCoreApplication::applicationVersion(); }

QString NoticeText() { return QStringLiteral("Copyright (c) Veltrane Software. All rights reserved."); }

frm_Splash::frm_Splash(const QString& installDir, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_status(ui::MakeLabel(this, "lbl_Status", {}, {}, ui::kArtworkText)) {
  setObjectName("frm_Splash");
  m_background.load(installDir + "/Media/Forms/Splash_BG.bmp");
  setFixedSize(m_background.isNull() ? QSize(480, 300) : m_background.size());

  QLabel* version = ui::MakeLabel(this, "lbl_Version", VersionText(), {}, ui::kArtworkText);
  QLabel* notice = ui::MakeLabel(this, "lbl_Copyright", NoticeText(), {}, ui::kArtworkText);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->addStretch();
  layout->addWidget(m_status);
  layout->addWidget(version);
  layout->addWidget(notice);
  ui::ApplySmallFontFix(this);
}

void PaintSplashBackground(QWidget& widget, const QPixmap& background) {
  QPainter p(&widget);
  if (!background.isNull()) {
    p.drawPixmap(0, 0, background);
    return;
  }
  // No artwork installed: a plain panel with the name, still legible.
  QLinearGradient g(0, 0, 0, widget.height());
  g.setColorAt(0, QColor(28, 44, 64));
  g.setColorAt(1, QColor(12, 20, 32));
  p.fillRect(widget.rect(), g);
  p.setPen(QColor(230, 236, 244));
  QFont f = widget.font();
  f.setPointSize(28);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(0, 60, widget.width(), 60), Qt::AlignCenter, "Quorvane");
}

void frm_Splash::paintEvent(QPaintEvent*) { PaintSplashBackground(*this, m_background); }

void frm_Splash::ShowSplash() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
  show();
  raise();
  repaint();
  QCoreApplication::processEvents();
}

void frm_Splash::SetStatus(const QString& text) {
  m_status->setText(text);
  if (isVisible()) {
    repaint();
    QCoreApplication::processEvents();
  }
}

void frm_Splash::HideSplash() { hide(); }

}  // namespace qv::shell
