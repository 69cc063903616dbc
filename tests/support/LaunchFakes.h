#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/ProcessLauncher.h"
#include "platform/WindowProbe.h"

namespace qv::test {

// The windows of other programs as a list the test sets up. Close requests
// are logged as "close:<title>" and, unless refused, take the window away.
class FakeWindowProbe final : public platform::WindowProbe {
 public:
  explicit FakeWindowProbe(QStringList& log) : m_log(log) {}
  QStringList classes, titles;
  bool refuseClose = false;
  bool HasWindowOfClass(const QString& windowClass) override { return classes.contains(windowClass); }
  bool HasWindowTitled(const QString& title) override { return titles.contains(title); }
  bool CloseWindowTitled(const QString& title) override {
    if (!titles.contains(title)) return false;
    m_log << "close:" + title;
    if (!refuseClose) titles.removeOne(title);
    return true;
  }

 private:
  QStringList& m_log;
};

// Records each start as "start:<file name>". Started programs show their
// windows in the probe (the simulator its class, the runtime its title)
// unless their file name is listed in `failing`.
class FakeProcessLauncher final : public platform::ProcessLauncher {
 public:
  FakeProcessLauncher(QStringList& log, FakeWindowProbe& probe) : m_log(log), m_probe(probe) {}
  struct Started {
    QString program, workingDir;
  };
  std::vector<Started> starts;
  QStringList failing;
  platform::LaunchResult Start(const QString& program, const QString& workingDir) override {
    const QString name = QFileInfo(program).fileName();
    starts.push_back({program, workingDir});
    m_log << "start:" + name;
    if (failing.contains(name, Qt::CaseInsensitive)) return {false, 0, "refused"};
    if (name.compare("fsx.exe", Qt::CaseInsensitive) == 0) m_probe.classes << "FS98MAIN";
    if (name.compare("murmexr.exe", Qt::CaseInsensitive) == 0) m_probe.titles << "VT Murmex";
    return {true, 4242, {}};
  }

 private:
  QStringList& m_log;
  FakeWindowProbe& m_probe;
};

}  // namespace qv::test
