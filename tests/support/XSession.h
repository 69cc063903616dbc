#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <functional>
#include <memory>

#include "platform/ProcessLauncher.h"

namespace qv::test {

// An X server of the test's own (Xvfb), so that tests running side by side
// never see each other's windows; without Xvfb the display the test runs
// under is used. While it lives, DISPLAY points at it and QT_QPA_PLATFORM is
// cleared, so that the Qt programs the test starts open real X windows.
// Destroy every X client of the test (window probes) before it.
class XSession {
 public:
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool usable() const { return !m_display.isEmpty(); }
  QString display() const { return m_display; }

 private:
  bool StartPrivate();
  std::unique_ptr<QProcess> m_xvfb;
  QString m_display;
  QByteArray m_savedDisplay, m_savedPlatform;
  bool m_hadDisplay = false, m_hadPlatform = false;
};

// Wraps a real launcher and ends every program it started when destroyed.
class TrackingLauncher final : public platform::ProcessLauncher {
 public:
  explicit TrackingLauncher(std::unique_ptr<platform::ProcessLauncher> inner) : m_inner(std::move(inner)) {}
  ~TrackingLauncher() override { KillAll(); }
  platform::LaunchResult Start(const QString& program, const QString& workingDir) override;
  void KillAll();
  int started() const { return m_started; }
  QList<qint64> processIds() const { return m_pids; }

 private:
  std::unique_ptr<platform::ProcessLauncher> m_inner;
  QList<qint64> m_pids;
  int m_started = 0;
};

// Ends a process and waits (bounded) until it is gone.
void KillProcess(qint64 pid);
bool ProcessAlive(qint64 pid);

// Runs the event loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15000);

}  // namespace qv::test
