#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "app/Services.h"
#include "core/shell/AppState.h"
#include "gui/kit/Router.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/shell/frm_Splash.h"

namespace qv::shell {
class frm_Parent;
class frm_Starter;
}  // namespace qv::shell

namespace qv::app {

// Builds and wires the whole interface: the process-wide tables, the
// services over the given backends, the routing table, the skinned dialogs,
// the splash, the frame with its screens and the starter window, and the
// launch road between them. Every object gets what it needs in its
// constructor; what one part must tell another is a signal, connected here
// and nowhere else. main() and the interface tests build it the same way,
// the tests with fake backends.
//
// The frame and the starter are loaded on first use, as the launch decision
// or the first-use prompt needs them; the frame loads its screens likewise.
class Application final : public QObject, private ui::DialogHost {
  Q_OBJECT

 public:
  Application(const QString& installDir, Backends backends);
  ~Application() override;

  // Start-up with the program's command line. False when it ended in
  // Shutdown (the caller then returns), true when the user drives it now.
  bool Start(const QString& commandLine);

  shell::AppState& state() { return m_state; }
  shell::Context& context() { return m_services.ctx; }
  ui::Router& router() { return m_router; }
  ui::SkinnedDialogs& dialogs() { return m_dialogs; }
  shell::frm_Splash& splash() { return m_splash; }
  Services& services() { return m_services; }
  shell::frm_Parent& frame();
  shell::frm_Starter& starter();
  bool frameLoaded() const { return m_frame != nullptr; }

 private:
  QWidget* frameWindow() override;
  void ShowInterface();
  void Restart(const QString& screen);

  shell::AppState m_state;
  ui::Router m_router;
  ui::SkinnedDialogs m_dialogs;
  shell::frm_Splash m_splash;
  Services m_services;
  std::unique_ptr<shell::frm_Parent> m_frame;
  std::unique_ptr<shell::frm_Starter> m_starter;
};

}  // namespace qv::app
