#pragma once

#include <QLabel>
#include <QWidget>

#include "core/shell/StatusSink.h"

namespace qv::shell {

// The start-up splash: the splash artwork, version and notice, and one status
// line that every loader writes and repaints.
class frm_Splash final : public QWidget, public StatusSink {
 public:
  explicit frm_Splash(const QString& installDir, QWidget* parent = nullptr);

  void ShowSplash() override;
  void SetStatus(const QString& text) override;
  void HideSplash() override;

  QString status() const { return m_status->text(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap m_background;
  QLabel* m_status;
};

// The version text of the frame, splash and starter: "Version: 1.0.0".
QString VersionText();
QString NoticeText();

// The splash artwork, or a plain panel with the name when it is missing; the
// starter window shares it.
void PaintSplashBackground(QWidget& widget, const QPixmap& background);

}  // namespace qv::shell
