#pragma once

#include <QObject>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "TestEnv.h"
#include "app/Application.h"
#include "gui/kit/DialogWindow.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/shell/frm_Parent.h"

namespace qv::test {

// Answers the skinned dialogs through their own buttons, as a user would,
// and records what each one showed. Replies are taken in order; a dialog
// without one gets OK.
class DialogScript {
 public:
  explicit DialogScript(ui::SkinnedDialogs& dialogs);

  struct Shown {
    QString dialog, title, message, defaultText, tag;
    bool cancelShown;
  };
  std::vector<Shown> shown;

  void Ok() { m_replies.push_back({true, {}, false}); }
  void Cancel() { m_replies.push_back({false, {}, false}); }
  void Type(const QString& text) { m_replies.push_back({true, text, true}); }  // an input: the text, then OK
  // Answers the next dialogs with this instead, until cleared.
  std::function<void(ui::DialogWindow*)> custom;

  const Shown& last() const { return shown.back(); }
  QStringList titles() const;

 private:
  void Answer(ui::DialogWindow* dialog);
  struct Reply {
    bool ok;
    QString text;
    bool typed;
  };
  ui::SkinnedDialogs& m_dialogs;
  std::deque<Reply> m_replies;
};

// The application built as main() builds it, over fake backends and a
// temporary installation (or the given folder), with its dialogs scripted.
// Start-up is not run: tests fill the tables they need and open the frame.
struct AppHarness {
  explicit AppHarness(const QString& installDir = QString(),
                      const std::function<void(app::Backends&)>& adjust = nullptr);

  TestInstallation install;
  QStringList log;
  FakeHandles fakes;
  std::unique_ptr<app::Application> app;
  std::unique_ptr<DialogScript> dialogs;

  shell::AppState& state() { return app->state(); }
  shell::frm_Parent& frame() { return app->frame(); }
  // The frame shown with the home screen, as after start-up.
  shell::frm_Parent& ShowFrame();
  template <class T>
  T* screen(const char* name) {
    return dynamic_cast<T*>(frame().screen(name));
  }
  void SetRunning(bool sim, bool runtime);
};

// A left click on the button's picture area where its band shows.
void Click(ui::SkinnedButton* button);
void DoubleClick(ui::SkinnedButton* button);
void Hover(ui::SkinnedButton* button);
// The button called `name` on `screen`, clicked.
void Press(QWidget* screen, const char* name);
// A key pressed on `widget` once its window is active and it has the focus,
// as the keyboard delivers it.
void KeyOn(QWidget* widget, Qt::Key key);

}  // namespace qv::test
