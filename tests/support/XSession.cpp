#include "XSession.h"

#include <sys/types.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <csignal>

namespace qv::test {

XSession::XSession() {
  m_hadDisplay = qEnvironmentVariableIsSet("DISPLAY");
  m_savedDisplay = qgetenv("DISPLAY");
  m_hadPlatform = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
  m_savedPlatform = qgetenv("QT_QPA_PLATFORM");
  if (!StartPrivate() && m_hadDisplay) m_display = QString::fromLocal8Bit(m_savedDisplay);
  if (usable()) {
    qputenv("DISPLAY", m_display.toLocal8Bit());
    qunsetenv("QT_QPA_PLATFORM");
  }
}

XSession::~XSession() {
  if (m_xvfb) {
    m_xvfb->terminate();
    if (!m_xvfb->waitForFinished(5000)) m_xvfb->kill();
    m_xvfb->waitForFinished(5000);
  }
  if (m_hadDisplay)
    qputenv("DISPLAY", m_savedDisplay);
  else
    qunsetenv("DISPLAY");
  if (m_hadPlatform) qputenv("QT_QPA_PLATFORM", m_savedPlatform);
}

bool XSession::StartPrivate() {
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  if (xvfb.isEmpty()) return false;
  const int first = 300 + static_cast<int>(getpid() % 500);
  for (int n = first; n < first + 40; ++n) {
    if (QFileInfo::exists(QString("/tmp/.X%1-lock").arg(n))) continue;
    const QString socket = QString("/tmp/.X11-unix/X%1").arg(n);
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(xvfb, {QString(":%1").arg(n), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
    if (!process->waitForStarted(5000)) continue;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process->state() == QProcess::Running && !QFileInfo::exists(socket))
      QThread::msleep(20);
    if (process->state() == QProcess::Running && QFileInfo::exists(socket)) {
      m_xvfb = std::move(process);
      m_display = QString(":%1").arg(n);
      return true;
    }
    process->kill();
    process->waitForFinished(2000);
  }
  return false;
}

platform::LaunchResult TrackingLauncher::Start(const QString& program, const QString& workingDir) {
  platform::LaunchResult result = m_inner->Start(program, workingDir);
  if (result.started) {
    ++m_started;
    if (result.processId > 0) m_pids << result.processId;
  }
  return result;
}

void TrackingLauncher::KillAll() {
  for (qint64 pid : m_pids) KillProcess(pid);
  m_pids.clear();
}

bool ProcessAlive(qint64 pid) {
  QFile stat(QString("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  // A zombie has ended; only its parent has not collected it yet.
  const QByteArray text = stat.readAll();
  const qsizetype close = text.lastIndexOf(')');
  return close < 0 || text.mid(close + 2, 1) != "Z";
}

void KillProcess(qint64 pid) {
  if (pid <= 0 || !ProcessAlive(pid)) return;
  ::kill(static_cast<pid_t>(pid), SIGKILL);
  QDeadlineTimer deadline(5000);
  while (ProcessAlive(pid) && !deadline.hasExpired()) QThread::msleep(10);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(20);
  }
  return true;
}

}  // namespace qv::test
