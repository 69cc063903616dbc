#include "LargeInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/FixedText.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/IniFile.h"
#include "data/JsonFormats.h"

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

// A small deterministic generator (the standard distributions are not the
// same on every library, and the installation must be).
class Rng {
 public:
  explicit Rng(uint32_t seed) : m_state(seed * 2654435761u + 1) {}
  uint32_t Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t m_state;
};

QString RandomLetters(Rng& rng, int count) {
  QString s;
  for (int i = 0; i < count; ++i) s += QChar(u'A' + rng.Below(26));
  return s;
}

// Identifiers spread like real ones: mostly three letters taken at random
// (so some repeat, as they do between countries), some two or four.
QByteArray NavInfo(int count) {
  Rng rng(11);
  QByteArray text;
  for (int i = 0; i < count; ++i) {
    const int kind = rng.Below(10);
    const QString ident = RandomLetters(rng, kind < 2 ? 2 : kind < 9 ? 3 : 4);
    QString name = Word(static_cast<int>(rng.Next() % 64000), 2 + rng.Below(2));
    if (rng.Below(8) == 0) name += " " + Word(static_cast<int>(rng.Next() % 400), 1 + rng.Below(2));
    const double frequency = 108.0 + rng.Below(200) * 0.05;
    text += QString("%1|%2|%3\r\n").arg(ident, name).arg(frequency, 0, 'f', 2).toLatin1();
  }
  return text;
}

// Approaches at airports with a few runways each.
QByteArray IlsInfo(int count) {
  static const char* const kSides[] = {"", "L", "R", "C"};
  Rng rng(13);
  QByteArray text;
  QString airport;
  int left = 0;
  for (int i = 0; i < count; ++i) {
    if (left == 0) {
      airport = "K" + RandomLetters(rng, 3);
      left = 1 + rng.Below(6);
    }
    --left;
    const int runway = 1 + rng.Below(36);
    const double frequency = 108.1 + rng.Below(40) * 0.05;
    text += QString("%1|%2%3|%4|%5\r\n")
                .arg(airport)
                .arg(runway, 2, 10, QChar(u'0'))
                .arg(QLatin1String(kSides[rng.Below(4)]))
                .arg(frequency, 0, 'f', 2)
                .arg(runway * 10)
                .toLatin1();
  }
  return text;
}

// The commands, with phrases that use the lists of the delivered
// Generic Lists.bnf and, in "Radios", the three navaid commands.
std::vector<data::CommandRecord> Commands(int count) {
  static const char* const kCategories[] = {"Radios", "Autopilot", "Lights",     "Engines", "Flight Controls",
                                            "Fuel",   "Views",     "Navigation", "Systems", "Cabin"};
  static const char* const kLists[] = {"<HDG>", "<ALT>", "<SPD>",  "<COMM_FREQ>", "<FLAP_SETTING>",
                                       "<VS>",  "<CRS>", "<MACH>", "<NAV_FREQ>",  "<XPNDR_CODE>"};
  auto record = [](const QString& category, const QString& name, const QString& event, int function,
                   const QStringList& grammars, const QStringList& readbacks) {
    data::CommandRecord c;
    c.category = base::Fixed(category, data::kCategoryWidth);
    c.name = base::Fixed(name, data::kNameWidth);
    c.eventName = base::Fixed(event, data::kEventNameWidth);
    c.helpText = base::Fixed("Sets the " + name.toLower(), data::kHelpTextWidth);
    c.functionNumber = static_cast<int16_t>(function);
    for (const QString& g : grammars) c.grammars << base::Fixed(g, data::kGrammarWidth);
    for (const QString& r : readbacks) c.readbacks << base::Fixed(r, data::kReadbackWidth);
    return c;
  };
  std::vector<data::CommandRecord> commands;
  commands.push_back(record("Radios", "Nav 1 VOR", "RADIO_NAV1_SELECT_VOR", 900,
                            {"[tune|select] nav one (to) <NAV_ID>", "[tune|select] nav one (to) <NAV_NAME> (vor)"},
                            {"nav one set"}));
  commands.push_back(record("Radios", "Nav 2 VOR", "RADIO_NAV2_SELECT_VOR", 901,
                            {"[tune|select] nav two (to) <NAV_ID>", "[tune|select] nav two (to) <NAV_NAME> (vor)"},
                            {"nav two set"}));
  commands.push_back(record("Radios", "Nav 1 ILS", "RADIO_NAV1_SELECT_ILS", 902,
                            {"(tune) (the) ILS (for) (runway) <RWY_APT_ID>"}, {"ILS tuned"}));
  for (int i = static_cast<int>(commands.size()); i < count; ++i) {
    const QString thing = Word(i * 3 + 1, 2).toLower() + " " + Word(i * 5 + 2, 1).toLower();
    const QString list = QLatin1String(kLists[i % 10]);
    commands.push_back(
        record(kCategories[i % 10], "Set " + thing, QString("SYNTH_EVENT_%1").arg(i, 4, 10, QChar(u'0')), 1000 + i,
               {QString("[set|select] (the) %1 [on|off]").arg(thing), QString("%1 (to) %2").arg(thing, list),
                QString("(please) [turn|switch] %1 [up|down|]").arg(thing)},
               {thing + " set", QString("%1 is %2").arg(thing, list)}));
  }
  return commands;
}

QByteArray Utf16Grammar(const QByteArray& utf8) {
  QString text = QString::fromUtf8(utf8);
  text.replace("\r\n", "\n").replace("\n", "\r\n");
  QByteArray bytes("\xff\xfe", 2);
  bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  return bytes;
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
  const std::vector<data::CommandRecord> commands = Commands(size.commands);
  QByteArray binary;
  data::SerializeCommandList(commands, binary);
  Write(data::CommandListFilePath(out.installDir), binary, out.error);
  Write(out.installDir + "/Data/CommandList.json", data::CommandsToJson(commands), out.error);
  QFile lists(QStringLiteral(QV_DEMO_SOURCE_DIR "/Installation/Data/Generic Lists.bnf"));
  if (!lists.open(QIODevice::ReadOnly)) out.error = "cannot read the delivered list grammar " + lists.fileName();
  Write(out.installDir + "/Data/Generic Lists.bnf", Utf16Grammar(lists.readAll()), out.error);
  return out;
}

}  // namespace qv::bench
