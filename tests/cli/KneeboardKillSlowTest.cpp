// The kneeboard update and restore killed at points spread over their run:
// every page is then the simulator's or a whole generated one, every backup
// holds the simulator's page, and the next run puts things right (the flags
// of the killed run were never saved).
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "FaultSupport.h"
#include "base/FixedText.h"
#include "core/data/ChecklistStore.h"

using namespace qv;

namespace {

constexpr int kAircraft = 60;

QString Folder(const test::SampleInstallation& s, int i) { return s.aircraft(QString("Kill_%1").arg(i)); }

// Starts a kneeboard command and kills it after `ms` milliseconds; the time it
// ran, or -1 when it had ended by itself.
qint64 KillDuring(const QString& verb, const QString& dir, int ms) {
  QProcess p;
  QElapsedTimer clock;
  clock.start();
  p.start(QStringLiteral(QV_CLI_PATH), {"kneeboards", verb, dir});
  if (!p.waitForStarted()) return -1;
  if (p.waitForFinished(ms)) return -1;
  p.kill();
  p.waitForFinished();
  return clock.elapsed();
}

class KneeboardKill : public testing::Test {
 protected:
  void SetUp() override {
    QByteArray records;
    for (int i = 0; i < kAircraft; ++i) {
      const QString f = Folder(sample, i);
      test::WriteBytes(f + "/kill.air", "AIR");
      test::WriteBytes(f + "/aircraft.cfg",
                       QString("[fltsim.0]\r\ntitle=Kill %1\r\nsim=kill\r\nkb_checklists=Kill_Check"
                               "\r\nui_manufacturer=Kill\r\nui_type=Kill %1\r\nui_variation=One\r\n")
                           .arg(i)
                           .toUtf8());
      test::WriteBytes(f + "/Kill_Check.htm", "the simulator's page " + QByteArray::number(i));
    }
    // Every aircraft gets a checklist.
    auto env = sample.Load();
    for (auto& a : env->state.assignments) a.checklistName = base::Fixed("Jet Checks", data::kAssignmentNameWidth);
    ASSERT_EQ(data::SaveAssignments(env->state, env->dialogs), 0);
    original = test::TakeSnapshot(sample.inst.simDir + "/SimObjects");
  }

  // Every page is the simulator's or a whole one of ours; every backup holds
  // its page's original.
  void ExpectNothingLost(const QString& when) {
    SCOPED_TRACE(when.toStdString());
    const test::Snapshot now = test::TakeSnapshot(sample.inst.simDir + "/SimObjects");
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
      const QString& f = it.key();
      if (f.endsWith(".htm")) {
        EXPECT_TRUE(it.value() == original.value(f) ||
                    (it.value().startsWith("<html>") && it.value().endsWith("</html>\r\n")))
            << qPrintable(f);
      } else if (f.endsWith(".qvb")) {
        QString page = f;
        page.chop(4);
        for (const QString& o : original.keys()) {
          if (o.compare(page + ".htm", Qt::CaseInsensitive) == 0) {
            EXPECT_EQ(it.value(), original.value(o)) << qPrintable(f);
          }
        }
      }
    }
  }

  void Run(const QString& verb) {
    const test::CliResult r = test::RunCli({"kneeboards", verb, sample.inst.installDir});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
  }

  void ExpectOriginals() {
    const test::Snapshot now = test::TakeSnapshot(sample.inst.simDir + "/SimObjects");
    for (auto it = original.cbegin(); it != original.cend(); ++it) EXPECT_EQ(now.value(it.key()), it.value());
    for (const QString& f : now.keys()) EXPECT_FALSE(f.endsWith(".qvb")) << qPrintable(f);
  }

  void ExpectAllGenerated() {
    for (int i = 0; i < kAircraft; ++i)
      EXPECT_TRUE(test::ReadBytes(Folder(sample, i) + "/Kill_Check.htm").contains("Jet Checks Checklist")) << i;
  }

  test::SampleInstallation sample;
  test::Snapshot original;
};

TEST_F(KneeboardKill, KilledUpdatesAndRestoresLoseNothing) {
  QElapsedTimer clock;
  clock.start();
  Run("update");
  const int full = static_cast<int>(clock.elapsed());
  Run("restore");
  ExpectOriginals();
  if (HasFailure()) return;

  int kills = 0;
  for (int step = 0; step < 6; ++step) {
    const int ms = full * step / 6;
    const bool updateKilled = KillDuring("update", sample.inst.installDir, ms) >= 0;
    ExpectNothingLost(QString("update killed after %1 ms").arg(ms));
    Run("restore");  // finds what the killed run wrote, though its flags were never saved
    ExpectOriginals();
    Run("update");
    const bool restoreKilled = KillDuring("restore", sample.inst.installDir, ms) >= 0;
    ExpectNothingLost(QString("restore killed after %1 ms").arg(ms));
    Run("update");  // rewrites the pages the killed restore put back
    ExpectAllGenerated();
    Run("restore");
    ExpectOriginals();
    kills += updateKilled + restoreKilled;
    if (HasFailure() || (!updateKilled && !restoreKilled)) break;
  }
  EXPECT_GE(kills, 4);  // the kills fell inside the runs
}

}  // namespace
