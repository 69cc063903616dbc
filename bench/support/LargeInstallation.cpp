#include "LargeInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "data/ChecklistFiles.h"
#include "data/IniFile.h"

namespace qv::bench {
namespace {

const char* const kSyllables[] = {"ka",  "lo",  "mir", "ven", "tra", "sol", "dan", "ri", "bel", "or",
                                  "que", "zan", "tor", "vi",  "sa",  "pel", "gar", "nu", "ex",  "lin"};
constexpr int kSyllableCount = 20;

QString Word(int n, int parts) {
  QString w;
  for (int p = 0; p < parts; ++p) {
    w += QLatin1String(kSyllables[n % kSyllableCount]);
    n = n / kSyllableCount + p * 7;
  }
  w[0] = w[0].toUpper();
  return w;
}

QString Letters(int n, int count) {
  QString s(count, u'A');
  for (int i = count - 1; i >= 0; --i) {
    s[i] = QChar(u'A' + n % 26);
    n /= 26;
  }
  return s;
}

bool Write(const QString& path, const QByteArray& bytes, QString& error) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) return true;
  if (error.isEmpty()) error = "cannot write " + path;
  return false;
}

QByteArray Crlf(const QString& text) {
  QString t = text;
  t.replace("\n", "\r\n");
  return t.toLatin1();
}

// The sections a real aircraft configuration file carries besides its fltsim
// entries (flight model, engines, contact points, lights ...), so that files
// have their usual size of several kilobytes.
QString FlightModelSections() {
  static const QString text = [] {
    QString s;
    const char* sections[] = {"General",
                              "weight_and_balance",
                              "flight_tuning",
                              "GeneralEngineData",
                              "piston_engine",
                              "propeller",
                              "contact_points",
                              "flaps.0",
                              "Views",
                              "Radios",
                              "lights",
                              "autopilot",
                              "electrical",
                              "fuel",
                              "airplane_geometry",
                              "Reference Speeds",
                              "brakes",
                              "hydraulic_system",
                              "stall_warning",
                              "keyboard_response",
                              "direction_indicators",
                              "attitude_indicators",
                              "turn_indicators",
                              "exits",
                              "pitot_static",
                              "effects",
                              "smokesystem",
                              "gear_warning_system"};
    int n = 0;
    for (const char* section : sections) {
      s += QString("\n[%1]\n").arg(QLatin1String(section));
      for (int k = 0; k < 10; ++k, ++n)
        s += QString("%1_%2 = %3, %4, %5    // %6\n")
                 .arg(QString::fromLatin1(section).toLower())
                 .arg(k)
                 .arg(n * 0.37, 0, 'f', 3)
                 .arg(-n * 1.25, 0, 'f', 2)
                 .arg(n % 7)
                 .arg("tuned value");
    }
    return s;
  }();
  return text;
}

QString FltsimSection(int n, const QString& title, const QString& sim, const QString& manufacturer, const QString& type,
                      const QString& variation, const QString& texture, const QString& kb) {
  return QString(
             "[fltsim.%1]\ntitle=%2\nsim=%3\nmodel=\npanel=\nsound=\ntexture=%4\nkb_checklists=%5\n"
             "kb_reference=%3_ref\natc_id=N%6QV\natc_airline=\natc_flight_number=\nui_manufacturer=%7\n"
             "ui_type=%8\nui_variation=%9\nui_typerole=\"Single Engine Prop\"\nui_createdby=\"Synthetic\"\n"
             "description=A generated aircraft for measuring the scan.\n\n")
      .arg(n)
      .arg(title, sim, texture, kb)
      .arg(100 + n)
      .arg(manufacturer, type, variation);
}

const char* const kVariations[] = {"House Colors", "Blue, White", "Red Stripe", "Silver", "Cargo", "Retro"};

void MakeAircraft(const QString& simDir, const LargeInstallationSize& size, LargeInstallation& out) {
  const int rotorcraft = size.aircraftFolders / 10;
  for (int i = 0; i < size.aircraftFolders; ++i) {
    // Repaint packs: every 20th folder repeats the aircraft of the one before,
    // its first variation under the same name (the scan keeps the first).
    const int base = (i % 20 == 19) ? i - 1 : i;
    const int m = base / 10;
    const QString manufacturer =
        Word(m * 7 + 3, 2) + " " + QStringList{"Aircraft", "Aerospace", "Aviation", "Works"}[m % 4];
    const QString type = Letters(m, 2) + "-" + QString::number(100 + base % 10 * 10) + " " + Word(base, 2);
    const QString objectFolder = i < size.aircraftFolders - rotorcraft ? "Airplanes" : "Rotorcraft";
    const QString folderName = QString("%1_%2_%3").arg(Word(m * 7 + 3, 2)).arg(base % 10).arg(i, 4, 10, QChar(u'0'));
    const QString folder = simDir + "/SimObjects/" + objectFolder + "/" + folderName;
    const QString sim = "sim_" + QString::number(i);

    QString cfg = "[General]\natc_type=QVSYNTH\natc_model=SYN\neditable=1\nperformance=\n\n";
    for (int n = 0; n < size.entriesPerFolder; ++n) {
      const QString variation =
          (i != base && n > 0) ? "Repaint " + QString::number(n) : QString(kVariations[(base + n) % 6]);
      const QString texture = n == 0 ? QString() : QString::number(n);
      cfg += FltsimSection(n, QString("%1 %2 Paint%3 #%4").arg(manufacturer, type).arg(n + 1).arg(i), sim, manufacturer,
                           type, variation, texture, sim + "_check");
      QDir().mkpath(folder + (n == 0 ? "/texture" : "/texture." + texture));
    }
    cfg += FlightModelSections();
    const QString cfgName =
        i % 50 == 7 ? "Sim.cfg" : QStringList{"aircraft.cfg", "Aircraft.cfg", "AIRCRAFT.CFG"}[i % 3];
    Write(folder + "/" + cfgName, Crlf(cfg), out.error);
    out.configFiles << folder + "/" + cfgName;
    Write(folder + "/" + (i % 4 == 0 ? sim.toUpper() + ".AIR" : sim + ".air"), "AIR synthetic flight model\r\n",
          out.error);
    Write(folder + "/" + sim + "_check.htm", "<html><body>Checklist</body></html>\r\n", out.error);
  }
  // Ground vehicles: configuration files whose entries have no flight model.
  for (int i = 0; i < size.vehicleFolders; ++i) {
    const QString folder = simDir + "/SimObjects/GroundVehicles/Vehicle_" + QString::number(i);
    QString cfg;
    for (int n = 0; n < size.entriesPerFolder; ++n)
      cfg += FltsimSection(n, "Vehicle " + QString::number(i * 10 + n), "vehicle", "Ground", "Truck",
                           kVariations[n % 6], QString(), QString());
    Write(folder + "/sim.cfg", Crlf(cfg), out.error);
    out.configFiles << folder + "/sim.cfg";
  }
  out.objectPaths = {"SimObjects\\Airplanes", "SimObjects\\Rotorcraft", "SimObjects\\GroundVehicles",
                     "SimObjects\\Boats"};
}

QByteArray NavInfo(int count) {
  QByteArray text;
  for (int i = 0; i < count; ++i) {
    const QString ident = i < 26 * 26 * 26 ? Letters(i, 3) : Letters(i, 4);
    const double frequency = 108.0 + (i % 360) * 0.05;
    text += QString("%1|%2|%3\r\n").arg(ident, Word(i, 3)).arg(frequency, 0, 'f', 2).toLatin1();
  }
  return text;
}

QByteArray IlsInfo(int count) {
  static const char* const kSides[] = {"", "L", "R", "C"};
  QByteArray text;
  for (int i = 0; i < count; ++i) {
    const int runway = (i * 7) % 36 + 1;
    const double frequency = 108.1 + (i % 40) * 0.05;
    text += QString("K%1|%2%3|%4|%5\r\n")
                .arg(Letters(i / 4, 3))
                .arg(runway, 2, 10, QChar(u'0'))
                .arg(QLatin1String(kSides[i % 4]))
                .arg(frequency, 0, 'f', 2)
                .arg(runway * 10)
                .toLatin1();
  }
  return text;
}

// The commands in the readable form that the export and import commands use.
QByteArray Commands(int count) {
  static const char* const kCategories[] = {"Radios", "Autopilot", "Lights",     "Engines", "Flight Controls",
                                            "Fuel",   "Views",     "Navigation", "Systems", "Cabin"};
  static const char* const kLists[] = {"<HEADING>", "<ALTITUDE>", "<SPEED>", "<FREQUENCY>", "<FLAP_SETTING>"};
  QJsonArray commands;
  for (int i = 0; i < count; ++i) {
    const QString thing = Word(i * 3 + 1, 2).toLower() + " " + Word(i * 5 + 2, 1).toLower();
    QJsonArray grammars{QString("[set|select] (the) %1 [on|off]").arg(thing),
                        QString("%1 (to) %2").arg(thing, QLatin1String(kLists[i % 5])),
                        QString("(please) [turn|switch] %1 [up|down|]").arg(thing)};
    QJsonArray readbacks{thing + " set", QString("%1 is %2").arg(thing, QLatin1String(kLists[i % 5]))};
    commands.append(QJsonObject{{"category", kCategories[i % 10]},
                                {"name", "Set " + thing},
                                {"eventName", QString("SYNTH_EVENT_%1").arg(i, 4, 10, QChar(u'0'))},
                                {"helpText", "Sets the " + thing},
                                {"functionNumber", 1000 + i},
                                {"grammars", grammars},
                                {"readbacks", readbacks}});
  }
  return QJsonDocument(commands).toJson(QJsonDocument::Indented);
}

}  // namespace

LargeInstallation MakeLargeInstallation(const QString& root, const LargeInstallationSize& size) {
  LargeInstallation out;
  out.simDir = QDir::cleanPath(QFileInfo(root).absoluteFilePath() + "/FSX");
  out.installDir = out.simDir + "/Veltrane Software/Quorvane";
  out.fsxCfg = QDir::cleanPath(QFileInfo(root).absoluteFilePath() + "/AppData/Microsoft/FSX/fsx.cfg");

  Write(out.simDir + "/fsx.exe", "MZ stand-in", out.error);
  MakeAircraft(out.simDir, size, out);

  QString fsx = "[Main]\nUser Objects=Airplane, Helicopter\n";
  for (int i = 0; i < out.objectPaths.size(); ++i)
    fsx += QString("SimObjectPaths.%1=%2\n").arg(i).arg(out.objectPaths[i]);
  fsx += "\n[DISPLAY]\nUPPER_FRAMERATE_LIMIT=30\n";
  Write(out.fsxCfg, Crlf(fsx), out.error);

  for (const char* sub : {"Data", "Checklists", "Grammars/Test", "Media", "Help"})
    QDir().mkpath(out.installDir + "/" + sub);
  QFile settings(QStringLiteral(QV_DEMO_SOURCE_DIR "/Installation/QV_Information.cfg"));
  if (!settings.open(QIODevice::ReadOnly)) out.error = "cannot read the demo settings " + settings.fileName();
  const QString settingsPath = out.installDir + "/QV_Information.cfg";
  Write(settingsPath, settings.readAll(), out.error);
  if (!data::WriteIniString("Main", "PathFSXConfig", out.fsxCfg, settingsPath) && out.error.isEmpty())
    out.error = "cannot write " + settingsPath;
  Write(data::AssignmentsFilePath(out.installDir), data::SerializeAssignments({}), out.error);
  Write(out.installDir + "/Data/Nav_Info.txt", NavInfo(size.navaids), out.error);
  Write(out.installDir + "/Data/ILS_Info.txt", IlsInfo(size.ilsApproaches), out.error);
  Write(out.installDir + "/Data/CommandList.json", Commands(size.commands), out.error);
  return out;
}

}  // namespace qv::bench
