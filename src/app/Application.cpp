#include "app/Application.h"

#include <QCoreApplication>

#include "core/checklists/KneeboardChecklist.h"
#include "core/shell/Startup.h"
#include "gui/kit/SkinnedScreen.h"
#include "gui/shell/frm_Parent.h"
#include "gui/shell/frm_Starter.h"

namespace qv::app {

Application::Application(const QString& installDir, Backends backends)
    : m_dialogs(m_state, m_router, backends.joystick.get(), *this),
      m_splash(installDir),
      m_services(m_state, std::move(backends), m_dialogs, m_splash) {
  m_state.installDir = installDir;
  shell::Launcher& launcher = m_services.launcher;
  shell::ShutdownSequence& shutdown = m_services.shutdown;

  connect(&m_dialogs, &ui::SkinnedDialogs::shutdownRequested, &shutdown, &shell::ShutdownSequence::Shutdown);
  connect(&m_dialogs, &ui::SkinnedDialogs::restartRequested, this, &Application::Restart);
  // The first-use prompt's OK updates the kneeboard pages.
  connect(&m_dialogs, &ui::SkinnedDialogs::messageAccepted, this, [this](const QString& tag) {
    if (tag == "checklist_backup") checklists::RunChecklistBackup(m_services.ctx);
  });

  connect(&launcher, &shell::Launcher::interfaceWanted, this, &Application::ShowInterface);
  connect(&launcher, &shell::Launcher::starterWanted, this, [this] { starter().ShowLaunching(); });
  connect(&launcher, &shell::Launcher::starterArmed, this, [this] { starter().ArmTimer1(); });
  connect(&launcher, &shell::Launcher::launchButtonEnabled, this, [this](bool on) { frame().SetLaunchEnabled(on); });

  connect(&shutdown, &shell::ShutdownSequence::removingTrayIcon, this, [this] {
    if (m_starter) m_starter->TrayRemove();
  });
  connect(&shutdown, &shell::ShutdownSequence::releasingScreens, this, [this] {
    if (m_frame) m_frame->ReleaseScreens();
  });
}

Application::~Application() {
  m_starter.reset();
  m_frame.reset();
}

shell::frm_Parent& Application::frame() {
  if (!m_frame) {
    m_frame = std::make_unique<shell::frm_Parent>(
        ui::ScreenServices{m_services.ctx, m_services.launcher, m_services.speech, m_router, m_dialogs});
    connect(m_frame.get(), &shell::frm_Parent::trayWanted, this, [this] { starter().GoToTray(); });
  }
  return *m_frame;
}

shell::frm_Starter& Application::starter() {
  if (!m_starter) {
    m_starter = std::make_unique<shell::frm_Starter>(m_state, m_services.launcher);
    connect(m_starter.get(), &shell::frm_Starter::restoreRequested, this, [this] {
      frame().Timer1->start();
      ShowInterface();
    });
  }
  return *m_starter;
}

QWidget* Application::frameWindow() { return m_frame.get(); }

void Application::ShowInterface() {
  // The way home hides the context buttons: the frame may come back from
  // the tray still set for the screen it was left on.
  shell::frm_Parent& f = frame();
  f.show();
  f.ReturnHome();
}

void Application::Restart(const QString& screen) {
  if (m_frame) {
    m_frame->HideScreen(screen);
    m_frame->HideAllScreens();
  }
  m_services.launcher.RestartRuntime();
}

bool Application::Start(const QString& commandLine) {
  shell::StartupSteps steps = shell::DefaultStartupSteps(m_services.ctx);
  // The frame with the home screen is painted before the assignment screen
  // is built behind it: with thousands of aircraft that takes a moment, and
  // the user should not look at an empty window meanwhile.
  steps.loadAssignScreen = [this] {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    frame().screen("frm_Assign");
  };
  steps.launchDecision = [this] { m_services.launcher.LaunchDecision(); };
  return shell::RunStartup(m_services.ctx, m_services.speech, commandLine, steps);
}

}  // namespace qv::app
