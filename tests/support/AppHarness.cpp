#include "AppHarness.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>

#include "gui/kit/SkinnedDialogs.h"
#include "gui/kit/frm_Input.h"
#include "gui/kit/frm_Message.h"

namespace qv::test {

DialogScript::DialogScript(ui::SkinnedDialogs& dialogs) : m_dialogs(dialogs) {
  QObject::connect(&dialogs, &ui::SkinnedDialogs::dialogUp, &dialogs, [this](ui::DialogWindow* d) { Answer(d); });
}

QStringList DialogScript::titles() const {
  QStringList t;
  for (const Shown& s : shown) t << s.title;
  return t;
}

void DialogScript::Answer(ui::DialogWindow* d) {
  auto* input = dynamic_cast<ui::frm_Input*>(d);
  auto* message = dynamic_cast<ui::frm_Message*>(d);
  ui::SmallButton* cancel = input ? input->cancelButton() : message->cancelButton();
  shown.push_back({d->objectName(), d->title()->text(), d->message()->text(),
                   input ? input->input()->text() : QString(), input ? m_dialogs.inputName : m_dialogs.dialogName,
                   cancel->isVisible()});
  if (custom) return custom(d);
  Reply r{true, {}, false};
  if (!m_replies.empty()) {
    r = m_replies.front();
    m_replies.pop_front();
  }
  if (input && r.typed) input->input()->setText(r.text);
  Click(r.ok ? d->findChild<ui::SkinnedButton*>("btn_OK") : cancel);
}

AppHarness::AppHarness(const QString& installDir, const std::function<void(app::Backends&)>& adjust) {
  app::Backends backends = FakeBackends(log, fakes);
  if (adjust) adjust(backends);
  app = std::make_unique<app::Application>(installDir.isEmpty() ? install.installDir : installDir, std::move(backends));
  dialogs = std::make_unique<DialogScript>(app->dialogs());
}

shell::frm_Parent& AppHarness::ShowFrame() {
  shell::frm_Parent& f = frame();
  f.show();
  f.ShowInParent("frm_Home");
  return f;
}

void AppHarness::SetRunning(bool sim, bool runtime) {
  fakes.windowProbe->classes.clear();
  fakes.windowProbe->titles.clear();
  if (sim) fakes.windowProbe->classes << "FS98MAIN";
  if (runtime) fakes.windowProbe->titles << "VT Murmex";
}

namespace {

QPoint Inside(ui::SkinnedButton* b) { return QPoint(4, b->visibleBand() * b->bandHeight() + 4); }

void Send(ui::SkinnedButton* b, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
  const QPointF at = Inside(b);
  QMouseEvent e(type, at, b->picBG()->mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(b->picBG(), &e);
}

}  // namespace

void Click(ui::SkinnedButton* button) {
  if (!button) return;
  QTest::mousePress(button->picBG(), Qt::LeftButton, {}, Inside(button));
  QTest::mouseRelease(button->picBG(), Qt::LeftButton, {}, Inside(button));
}

// What the window system delivers for a double click: press, release,
// double click, release.
void DoubleClick(ui::SkinnedButton* b) {
  Send(b, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
  Send(b, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
  Send(b, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
  Send(b, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

void Hover(ui::SkinnedButton* b) { Send(b, QEvent::MouseMove, Qt::NoButton, Qt::NoButton); }

void Press(QWidget* screen, const char* name) {
  auto* b = screen->findChild<ui::SkinnedButton*>(name);
  EXPECT_NE(b, nullptr) << name;
  Click(b);
}

void KeyOn(QWidget* widget, Qt::Key key) {
  QWidget* window = widget->window();
  if (!window->isActiveWindow()) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
  }
  widget->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), widget);
  QTest::keyClick(QApplication::focusWidget(), key);
}

}  // namespace qv::test
