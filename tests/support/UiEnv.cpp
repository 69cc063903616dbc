#include "UiEnv.h"

#include <QMouseEvent>
#include <QTimer>

namespace qv::test {

UiEnv::UiEnv() {
  env.state.installDir = install.installDir;
  dialogs = std::make_unique<ui::SkinnedDialogs>(env.state, launch, router, &joystick);
  dialogs->SetShutdown(&env.shutdown);
  frame = std::make_unique<shell::frm_Parent>(env.state, env.shutdown, launch, router);
  frame->otherWindows = [this] { return dialogs->loadedDialogs(); };
  dialogs->SetHost(frame.get());
}

UiEnv::~UiEnv() {
  frame.reset();
  dialogs.reset();
}

void UiEnv::AnswerWith(const QString& button) {
  dialogs->autoAnswer = [this, button](ui::DialogWindow* d) {
    answered << d->objectName();
    Click(d->findChild<ui::SkinnedButton*>(button));
  };
}

namespace {
QPoint Inside(ui::SkinnedButton* b) { return QPoint(4, b->visibleBand() * b->bandHeight() + 4); }
}  // namespace

void Click(ui::SkinnedButton* button) {
  if (!button) return;
  QTest::mousePress(button->picBG(), Qt::LeftButton, {}, Inside(button));
  QTest::mouseRelease(button->picBG(), Qt::LeftButton, {}, Inside(button));
}

namespace {
void Send(ui::SkinnedButton* b, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
  const QPointF at = Inside(b);
  QMouseEvent e(type, at, b->picBG()->mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(b->picBG(), &e);
}
}  // namespace

// What the window system delivers for a double click: press, release,
// double click, release.
void DoubleClick(ui::SkinnedButton* b) {
  Send(b, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
  Send(b, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
  Send(b, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
  Send(b, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

void Hover(ui::SkinnedButton* b) { Send(b, QEvent::MouseMove, Qt::NoButton, Qt::NoButton); }

}  // namespace qv::test
