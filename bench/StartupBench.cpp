// The figures of a big hangar, each printed beside its floor measured in the
// same run (medians of paired runs, so that a busy machine slows both):
//   - `quorvane-cli scan` of the large installation (2,000 aircraft folders)
//     against a plain libc reader that lists the same folders and reads the
//     same configuration files;
//   - the program's start until its frame with the home screen is mapped, on
//     the large installation and on the demo, against a trivial Qt window;
//   - the expansion of a phrase of 10 optional and 3 alternatives groups.
// The start figures need an X server:  xvfb-run -a bench_StartupBench [ROUNDS]
// Build in release; the output says when this build or the benchmark library
// is a debug build. With --before BUILD_DIR an older build's programs are
// measured in the same rounds too.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <vector>

#include "LargeInstallation.h"
#include "base/FixedText.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "data/CommandList.h"

#ifdef QV_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#endif

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

pid_t Spawn(const QStringList& command, bool quiet) {
  std::vector<QByteArray> args;
  for (const QString& a : command) args.push_back(QFile::encodeName(a));
  std::vector<char*> argv;
  for (QByteArray& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Wall-clock and processor seconds of one run (processor: every thread,
// user and system); negative when it failed.
struct Timing {
  double wall = -1, cpu = -1;
};

// From start to exit of a command.
Timing TimeRun(const QStringList& command) {
  const auto start = Clock::now();
  const pid_t pid = Spawn(command, true);
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
  return {std::chrono::duration<double>(Clock::now() - start).count(),
          seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

// The processor time a running process has used so far.
double CpuSeconds(pid_t pid) {
  clockid_t clock;
  timespec t{};
  if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &t) != 0) return -1;
  return double(t.tv_sec) + t.tv_nsec / 1e9;
}

void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 500; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    usleep(10000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

#ifdef QV_HAVE_X11
// Watches the X server for the first normal top-level window titled
// "Quorvane" that a given process maps: the frame of the program (its splash
// screen and dialogs are other kinds of window) or the trivial window.
class MapWatch {
 public:
  MapWatch() : m_display(XOpenDisplay(nullptr)) {
    if (m_display) XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
  }
  ~MapWatch() {
    if (m_display) XCloseDisplay(m_display);
  }
  bool ok() const { return m_display != nullptr; }

  // From the start of the command to the mapping of its window; negative
  // when none came within the time allowed.
  Timing TimeToWindow(const QStringList& command, double timeout = 30) {
    while (XPending(m_display)) {
      XEvent e;
      XNextEvent(m_display, &e);
    }
    const auto start = Clock::now();
    const pid_t pid = Spawn(command, true);
    if (pid < 0) return {};
    Timing seen;
    while (seen.wall < 0 && std::chrono::duration<double>(Clock::now() - start).count() < timeout) {
      if (!XPending(m_display)) {
        pollfd p{ConnectionNumber(m_display), POLLIN, 0};
        poll(&p, 1, 50);
        continue;
      }
      XEvent e;
      XNextEvent(m_display, &e);
      if (e.type == MapNotify && IsFrameOf(e.xmap.window, pid))
        seen = {std::chrono::duration<double>(Clock::now() - start).count(), CpuSeconds(pid)};
    }
    Stop(pid);
    return seen;
  }

 private:
  // The 32-bit values of a window property (cardinals, atoms).
  std::vector<long> Values(Window w, const char* property) {
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(m_display, w, XInternAtom(m_display, property, False), 0, 16, False, AnyPropertyType, &type,
                           &format, &items, &after, &data) == Success &&
        data && format == 32)
      values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + items);
    if (data) XFree(data);
    return values;
  }

  bool IsFrameOf(Window w, pid_t pid) {
    if (Values(w, "_NET_WM_PID") != std::vector<long>{pid}) return false;
    const std::vector<long> types = Values(w, "_NET_WM_WINDOW_TYPE");
    const auto has = [&](const char* type) {
      return std::find(types.begin(), types.end(), long(XInternAtom(m_display, type, False))) != types.end();
    };
    if (!has("_NET_WM_WINDOW_TYPE_NORMAL") || has("_NET_WM_WINDOW_TYPE_SPLASH") || has("_NET_WM_WINDOW_TYPE_DIALOG"))
      return false;
    char* name = nullptr;
    const bool titled = XFetchName(m_display, w, &name) && name && QByteArray(name) == "Quorvane";
    if (name) XFree(name);
    return titled;
  }

  Display* m_display;
};
#endif

// The large installation made ready for the program itself: the demo's
// media, help and checklists beside it, the program and the runtime stand-in
// in the installation folder, the command list made from its readable form.
QString PrepareLargeInstallation(const QString& root, qv::bench::LargeInstallation& large) {
  large = qv::bench::MakeLargeInstallation(root);
  if (!large.error.isEmpty()) return large.error;
  const QString demo = QStringLiteral(QV_DEMO_INSTALL_DIR);
  QDirIterator it(demo, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString from = it.next();
    const QString to = large.installDir + "/" + QDir(demo).relativeFilePath(from);
    if (QFileInfo::exists(to)) continue;
    QDir().mkpath(QFileInfo(to).path());
    if (!QFile::copy(from, to)) return "cannot copy " + from;
  }
  for (const char* program : {QV_GUI_PATH, QV_CLI_PATH}) {
    const QString to = large.installDir + "/" + QFileInfo(program).fileName();
    QFile::remove(to);
    if (!QFile::copy(program, to)) return QString("cannot copy ") + program;
  }
  if (TimeRun({QV_CLI_PATH, "import", "commands", large.installDir + "/Data/CommandList.json",
               large.installDir + "/Data/CommandList.dat"})
          .wall < 0)
    return "the command list could not be imported";
  return {};
}

// Medians of runs; a failed run makes the figure fail.
Timing Median(const std::vector<Timing>& runs) {
  std::vector<double> wall, cpu;
  for (const Timing& t : runs) {
    if (t.wall < 0) return {};
    wall.push_back(t.wall), cpu.push_back(t.cpu);
  }
  return {Median(wall), Median(cpu)};
}

struct Figure {
  const char* what;
  const char* floorName;
  Timing floor;  // wall < 0 when there is none
  Timing ours;
  QString target;
};

QString Seconds(double s) {
  return s < 0.01 ? QString("%1 ms").arg(s * 1000, 0, 'f', 2) : QString("%1 s").arg(s, 0, 'f', 3);
}

void Print(const Figure& f) {
  const bool hasFloor = f.floor.wall > 0;
  const QString floor =
      hasFloor ? QString("%1 %2 (%3)").arg(f.floorName, Seconds(f.floor.wall), Seconds(f.floor.cpu)) : QString("-");
  const QString ours = f.ours.wall < 0  ? QString("failed")
                       : f.ours.cpu < 0 ? Seconds(f.ours.wall)
                                        : QString("%1 (%2)").arg(Seconds(f.ours.wall), Seconds(f.ours.cpu));
  const QString ratio =
      hasFloor && f.ours.wall > 0
          ? QString("%1x (%2x)").arg(f.ours.wall / f.floor.wall, 0, 'f', 2).arg(f.ours.cpu / f.floor.cpu, 0, 'f', 2)
          : QString("-");
  std::printf("%-42s %-30s %-22s %-15s %s\n", f.what, qPrintable(floor), qPrintable(ours), qPrintable(ratio),
              qPrintable(f.target));
}

// The expansion, through the benchmark library: the median of its runs, and
// whether the library is a debug build.
Timing Expansion(bool& libraryIsDebug) {
  static const QString phrase = qv::base::Fixed(
      "(please) (now) set (the) [left|right|centre] (number) (one) [flaps|slats|spoilers] (to) (ten) (degrees) "
      "[down|up|out] (thanks) (captain)",
      qv::data::kGrammarWidth);
  benchmark::RegisterBenchmark("expand",
                               [](benchmark::State& st) {
                                 QStringList sentences;
                                 for (auto _ : st) qv::grammar::ExpandToSentences(phrase, sentences);
                               })
      ->Repetitions(7)
      ->ReportAggregatesOnly(true)
      ->Unit(benchmark::kMillisecond);
  std::ostringstream json, ignored;
  benchmark::JSONReporter reporter;
  reporter.SetOutputStream(&json);
  reporter.SetErrorStream(&ignored);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.str())).object();
  libraryIsDebug = doc["context"].toObject()["library_build_type"].toString() == "debug";
  for (const QJsonValue b : doc["benchmarks"].toArray()) {
    const QJsonObject o = b.toObject();
    if (o["aggregate_name"].toString() == "median")
      return {o["real_time"].toDouble() / 1000, o["cpu_time"].toDouble() / 1000};
  }
  return {};
}

}  // namespace

// An older build measured beside this one in the same rounds, when given:
// its programs are copied next to ours under another name.
bool CopyBefore(const QString& buildDir, const QString& program, const QString& to) {
  QFile::remove(to);
  return QFile::copy(buildDir + "/src/" + program, to);
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int rounds = 11;
  QString before;  // --before BUILD_DIR
  for (int i = 1; i < argc; ++i) {
    if (QByteArray(argv[i]) == "--before" && i + 1 < argc) {
      before = QString::fromLocal8Bit(argv[++i]);
    } else {
      rounds = std::max(1, atoi(argv[i]));
    }
  }
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toUtf8());
  qputenv("QT_QPA_PLATFORM", "xcb");

  QTemporaryDir root;
  std::printf("Laying out the large installation in %s ...\n", qPrintable(root.path()));
  qv::bench::LargeInstallation large;
  const QString error = PrepareLargeInstallation(root.path(), large);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  const QString demoDir = QStringLiteral(QV_DEMO_INSTALL_DIR);
  if (!before.isEmpty() && (!CopyBefore(before, "quorvane-cli", large.installDir + "/quorvane-cli-before") ||
                            !CopyBefore(before, "quorvane", large.installDir + "/quorvane-before") ||
                            !CopyBefore(before, "quorvane", demoDir + "/quorvane-before"))) {
    std::fprintf(stderr, "The programs of %s cannot be copied.\n", qPrintable(before));
    return 1;
  }
  const auto variants = [&](const QString& program) {
    QStringList v{program};
    if (!before.isEmpty()) v << program + "-before";
    return v;
  };
  std::vector<Figure> figures;

  // The scan: the program and the floor take turns, after one warm-up run
  // each to bring the files into the cache.
  QStringList objectFolders;
  for (const QString& p : large.objectPaths) objectFolders << large.simDir + "/" + QString(p).replace('\\', '/');
  const QStringList raw = QStringList{QV_RAW_READ_PATH} + objectFolders;
  const QStringList scans = variants(large.installDir + "/quorvane-cli");
  std::vector<Timing> rawTimes;
  std::vector<std::vector<Timing>> scanTimes(scans.size());
  TimeRun(raw);
  for (const QString& s : scans) TimeRun({s, "scan", large.installDir});
  for (int r = 0; r < rounds; ++r) {
    rawTimes.push_back(TimeRun(raw));
    for (int v = 0; v < scans.size(); ++v) scanTimes[v].push_back(TimeRun({scans[v], "scan", large.installDir}));
  }
  for (int v = 0; v < scans.size(); ++v)
    figures.push_back({v ? "  the same, before" : "quorvane-cli scan, 2,000 aircraft folders", "libc read",
                       Median(rawTimes), Median(scanTimes[v]), v ? "" : "<= 2x"});

#ifdef QV_HAVE_X11
  MapWatch watch;
  if (watch.ok()) {
    const QStringList trivial = {QV_TRIVIAL_WINDOW_PATH};
    const QStringList guis = variants(large.installDir + "/quorvane") + variants(demoDir + "/quorvane");
    std::vector<Timing> trivialTimes;
    std::vector<std::vector<Timing>> guiTimes(guis.size());
    watch.TimeToWindow(trivial);
    for (const QString& g : guis) watch.TimeToWindow({g});
    for (int r = 0; r < rounds; ++r) {
      trivialTimes.push_back(watch.TimeToWindow(trivial));
      for (int g = 0; g < guis.size(); ++g) guiTimes[g].push_back(watch.TimeToWindow({guis[g]}));
    }
    const int perInstallation = int(guis.size()) / 2;
    for (int g = 0; g < guis.size(); ++g) {
      const bool demo = g >= perInstallation, old = g % perInstallation;
      figures.push_back({old    ? "  the same, before"
                         : demo ? "start to home screen, demo"
                                : "start to home screen, large installation",
                         "Qt window", Median(trivialTimes), Median(guiTimes[g]),
                         old    ? ""
                         : demo ? "~2x"
                                : "<= 0.5 s and <= 3x"});
    }
  } else {
    std::printf("No X server (run under xvfb-run -a): the start figures are left out.\n");
  }
#else
  std::printf("Built without X11: the start figures are left out.\n");
#endif
  if (!before.isEmpty()) QFile::remove(demoDir + "/quorvane-before");

  bool libraryIsDebug = false;
  figures.push_back({"expand 10 optional + 3 alternatives groups", "", {}, Expansion(libraryIsDebug), "< 5 ms"});

  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("\nMedians of %d paired runs; load average %.2f at the end.\n", rounds, load[0]);
#ifndef NDEBUG
  std::printf("This is a DEBUG build of the program: the figures mean little.\n");
#endif
  if (libraryIsDebug)
    std::printf(
        "The benchmark library is a debug build (it measures only the expansion; the others are wall "
        "clocks of whole processes).\n");
  std::printf(
      "\nWall clock, and in brackets the processor time of every thread (a busy machine stretches the first).\n");
  std::printf("%-42s %-30s %-22s %-15s %s\n", "what", "floor", "ours", "ratio", "target");
  for (const Figure& f : figures) Print(f);
  return 0;
}
