// Lays out the demo installation from the readable sources in demo/:
//
//   OUT/FSX/                          the simulator folder (fsx.exe stand-in)
//   OUT/FSX/SimObjects/...            aircraft folders with .air files,
//                                     thumbnails and original kneeboard pages
//   OUT/AppData/Microsoft/FSX/fsx.cfg the simulator's configuration
//   OUT/FSX/Veltrane Software/Quorvane/  the installation folder
//
// Everything binary (flight-model stubs, thumbnails) is generated here; the
// text sources are copied as they are.
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "DemoSteps.h"
#include "base/FileIo.h"
#include "data/IniFile.h"

namespace {

void Fail(const QString& message) {
  std::fprintf(stderr, "qv_make_demo: %s\n", qPrintable(message));
  std::exit(1);
}

// Programs built with the sanitizers are large; nothing else comes near.
constexpr qint64 kCopyLimit = 1024 * qv::base::kMiB;

void Check(const qv::base::FileResult& result) {
  if (!result) Fail(result.error());
}

void CopyTree(const QString& from, const QString& to) {
  QDir().mkpath(to);
  QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QString target = to + "/" + QDir(from).relativeFilePath(it.filePath());
    if (it.fileInfo().isDir()) {
      QDir().mkpath(target);
    } else {
      Check(qv::base::CopyFileAtomic(it.filePath(), target, kCopyLimit));
    }
  }
}

void CopyExecutable(const QString& from, const QString& to) {
  Check(qv::base::CopyFileAtomic(from, to, kCopyLimit));
  QFile::setPermissions(to,
                        QFile::permissions(to) | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
}

void WriteFile(const QString& path, const QByteArray& bytes) { Check(qv::base::WriteFileAtomic(path, bytes)); }

// A small picture of the aircraft's title on a sky gradient, as the
// assignment screen shows it.
void WriteThumbnail(const QString& path, const QString& title, int seed) {
  QImage image(256, 128, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient sky(0, 0, 0, 128);
  sky.setColorAt(0, QColor::fromHsv((200 + seed * 23) % 360, 120, 200));
  sky.setColorAt(1, QColor(235, 240, 245));
  p.fillRect(image.rect(), sky);
  p.setPen(QPen(QColor(40, 40, 40), 3));
  p.setRenderHint(QPainter::Antialiasing);
  // a simple aircraft silhouette
  p.drawLine(70, 70, 190, 70);
  p.drawLine(125, 40, 135, 100);
  p.drawLine(180, 60, 190, 80);
  p.setPen(QColor(20, 20, 20));
  QFont f = p.font();
  f.setPixelSize(13);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(4, 100, 248, 26), Qt::AlignCenter, title);
  p.end();
  QBuffer jpeg;
  jpeg.open(QIODevice::WriteOnly);
  if (!image.save(&jpeg, "JPG", 85)) Fail("cannot encode " + path);
  WriteFile(path, jpeg.data());
}

// The simulator's own kneeboard page: a plain HTML checklist.
QByteArray OriginalKneeboardPage(const QString& title) {
  QByteArray html;
  html += "<html>\r\n<head><title>" + title.toLatin1() + " Checklist</title></head>\r\n<body>\r\n";
  html += "<h2>" + title.toLatin1() + "</h2>\r\n";
  const char* phases[][4] = {{"Before Engine Start", "Parking brake", "SET", "Fuel selector BOTH"},
                             {"Before Takeoff", "Flight controls", "FREE AND CORRECT", "Flaps SET"},
                             {"Landing", "Landing gear", "DOWN", "Landing light ON"}};
  for (auto& ph : phases) {
    html += QByteArray("<h3>") + ph[0] + "</h3>\r\n<table>\r\n";
    html += QByteArray("<tr><td>") + ph[1] + "</td><td>" + ph[2] + "</td></tr>\r\n";
    html += QByteArray("<tr><td colspan=\"2\">") + ph[3] + "</td></tr>\r\n</table>\r\n";
  }
  html += "</body>\r\n</html>\r\n";
  return html;
}

// Completes each aircraft folder: the flight-model file, the texture folder
// with its thumbnail and the original kneeboard page of every fltsim entry.
void CompleteAircraft(const QString& simObjects) {
  QDirIterator it(simObjects, {"aircraft.cfg", "sim.cfg"}, QDir::Files, QDirIterator::Subdirectories);
  int seed = 0;
  while (it.hasNext()) {
    const QString cfgPath = it.next();
    const QString folder = QFileInfo(cfgPath).absolutePath();
    const qv::data::IniFile cfg = qv::data::IniFile::Load(cfgPath);
    for (int n = 0;; ++n) {
      const QString section = "fltsim." + QString::number(n);
      bool found = false;
      const QString title = qv::data::CleanIniValue(cfg.value(section, "title", &found));
      if (!found) break;
      const QString sim = qv::data::CleanIniValue(cfg.value(section, "sim"));
      const QString texture = qv::data::CleanIniValue(cfg.value(section, "texture"));
      const QString kb = qv::data::CleanIniValue(cfg.value(section, "kb_checklists"));
      if (!sim.isEmpty() && !QFileInfo::exists(folder + "/" + sim + ".air"))
        WriteFile(folder + "/" + sim + ".air", "AIR stand-in flight model for " + sim.toLatin1() + "\r\n");
      const QString textureDir = folder + "/" + (texture.isEmpty() ? "texture" : "texture." + texture);
      QDir().mkpath(textureDir);
      if (!QFileInfo::exists(textureDir + "/thumbnail.jpg"))
        WriteThumbnail(textureDir + "/thumbnail.jpg", title, seed++);
      if (!kb.isEmpty() && !QFileInfo::exists(folder + "/" + kb + ".htm"))
        WriteFile(folder + "/" + kb + ".htm", OriginalKneeboardPage(title));
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCommandLineParser parser;
  parser.addOptions({{"source", "demo sources", "dir"},
                     {"out", "output folder", "dir"},
                     {"quorvane", "GUI executable", "file"},
                     {"cli", "command-line executable", "file"},
                     {"fsx", "simulator stand-in", "file"},
                     {"murmex", "runtime stand-in", "file"}});
  parser.process(app);
  const QString source = QFileInfo(parser.value("source")).absoluteFilePath();
  const QString out = QFileInfo(parser.value("out")).absoluteFilePath();
  if (source.isEmpty() || out.isEmpty()) Fail("--source and --out are required");

  QDir(out).removeRecursively();
  const QString fsx = out + "/FSX";
  const QString install = fsx + "/Veltrane Software/Quorvane";
  const QString appData = out + "/AppData/Microsoft/FSX";
  CopyTree(source + "/SimObjects", fsx + "/SimObjects");
  CompleteAircraft(fsx + "/SimObjects");
  QDir().mkpath(appData);
  CopyTree(source + "/AppData", appData);

  QDir().mkpath(install);
  for (const char* sub : {"Data", "Checklists", "Grammars", "Grammars/Test", "Media", "Help"})
    QDir().mkpath(install + "/" + sub);
  if (QFileInfo::exists(source + "/Installation")) CopyTree(source + "/Installation", install);

  if (parser.isSet("fsx")) CopyExecutable(parser.value("fsx"), fsx + "/fsx.exe");
  if (parser.isSet("murmex")) CopyExecutable(parser.value("murmex"), install + "/murmexr.exe");
  if (parser.isSet("quorvane")) CopyExecutable(parser.value("quorvane"), install + "/quorvane");
  if (parser.isSet("cli")) CopyExecutable(parser.value("cli"), install + "/quorvane-cli");

  const QString settings = install + "/QV_Information.cfg";
  Check(qv::data::WriteIniString("Main", "PathFSXConfig", appData + "/fsx.cfg", settings));

  // Later steps turn readable sources into the program's own binary files.
  for (const DemoStep& step : DemoSteps()) {
    const QString error = step.run(source, install);
    if (!error.isEmpty()) Fail(step.name + ": " + error);
  }
  std::printf("Demo installation laid out in %s\n", qPrintable(out));
  return 0;
}
