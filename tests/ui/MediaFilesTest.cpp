// The skin and help files that the screens load from the installation folder,
// checked on a demo installation laid out by the demo builder.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

#include "TestEnv.h"

namespace {

// One demo installation for the whole file: laying it out takes a moment.
class DemoInstallation {
 public:
  static const DemoInstallation& Get() {
    static DemoInstallation demo;
    return demo;
  }
  QString installDir;
  QString error;

 private:
  DemoInstallation() {
    m_dir = std::make_unique<QTemporaryDir>();
    QProcess builder;
    builder.start(QStringLiteral(QV_TOOLS_DIR) + "/qv_make_demo",
                  {"--source", qv::test::DemoSourceDir(), "--out", m_dir->path()});
    if (!builder.waitForFinished(120000) || builder.exitStatus() != QProcess::NormalExit || builder.exitCode() != 0) {
      error = "demo builder failed: " + builder.errorString() + " " +
              QString::fromLocal8Bit(builder.readAllStandardError());
      return;
    }
    installDir = m_dir->path() + "/FSX/Veltrane Software/Quorvane";
  }
  std::unique_ptr<QTemporaryDir> m_dir;
};

QString InstallDir() {
  const DemoInstallation& demo = DemoInstallation::Get();
  EXPECT_TRUE(demo.error.isEmpty()) << demo.error.toStdString();
  return demo.installDir;
}

// ------------------------------------------------------------ button strips

struct Strip {
  const char* picture;
  int width;
  int band;  // band height; the strip holds four bands
};

constexpr int kForm = 33, kLargeW = 308, kLargeH = 58, kSmallW = 95, kSmallH = 35, kMediumW = 182;

// Every `picture` the frame, the home screen, the dialogs and the screens give
// their buttons, with the size of the button kind that shows it.
const Strip kStrips[] = {
    {"btn_Minimize", kForm, kForm},
    {"btn_Close", kForm, kForm},
    {"btn_smlPlay", kForm, kForm},
    {"btn_LearningCenter", kLargeW, kLargeH},
    {"btn_Configuration", kLargeW, kLargeH},
    {"btn_ChecklistAssignments", kLargeW, kLargeH},
    {"btn_ChecklistModification", kLargeW, kLargeH},
    {"btn_Launch", kLargeW, kLargeH},
    {"btn_Microphone", kMediumW, kSmallH},
    {"btn_ParentOK", kSmallW, kSmallH},
    {"btn_ParentCancel", kSmallW, kSmallH},
    {"btn_ParentHome", kSmallW, kSmallH},
    {"btn_ParentReturn", kSmallW, kSmallH},
    {"btn_ParentSave", kSmallW, kSmallH},
    {"btn_ParentCompile", kSmallW, kSmallH},
    {"btn_ParentStart", kSmallW, kSmallH},
    {"btn_Add", kSmallW, kSmallH},
    {"btn_Edit", kSmallW, kSmallH},
    {"btn_Delete", kSmallW, kSmallH},
    {"btn_Test", kSmallW, kSmallH},
    {"btn_Script", kSmallW, kSmallH},
    {"btn_Play", kSmallW, kSmallH},
    {"btn_Load", kSmallW, kSmallH},
    {"btn_New", kSmallW, kSmallH},
    {"btn_Insert", kSmallW, kSmallH},
    {"btn_Assign", kSmallW, kSmallH},
};

// Mean saturation and the spread of perceived brightness of a band, inside
// its edge: a caption shows as bright pixels on a darker face.
struct BandStats {
  double saturation = 0;
  int lightnessSpread = 0;
};

int Luma(const QColor& c) { return int(0.2126 * c.red() + 0.7152 * c.green() + 0.0722 * c.blue()); }

BandStats Measure(const QImage& band) {
  BandStats stats;
  int lo = 255, hi = 0;
  double sum = 0;
  int n = 0;
  for (int y = 3; y < band.height() - 3; ++y)
    for (int x = 3; x < band.width() - 3; ++x) {
      const QColor c = band.pixelColor(x, y);
      sum += c.hsvSaturationF();
      lo = std::min(lo, Luma(c));
      hi = std::max(hi, Luma(c));
      ++n;
    }
  stats.saturation = sum / n;
  stats.lightnessSpread = hi - lo;
  return stats;
}

class ButtonStripTest : public ::testing::TestWithParam<Strip> {};

TEST_P(ButtonStripTest, HasFourDistinctReadableBandsOfTheKindsSize) {
  const Strip s = GetParam();
  const QString path = InstallDir() + "/Media/Buttons/" + s.picture + ".bmp";
  const QImage strip(path);
  ASSERT_FALSE(strip.isNull()) << path.toStdString();
  ASSERT_EQ(strip.width(), s.width);
  ASSERT_EQ(strip.height(), 4 * s.band);

  QImage bands[4];
  BandStats stats[4];
  for (int i = 0; i < 4; ++i) {
    bands[i] = strip.copy(0, i * s.band, s.width, s.band);
    stats[i] = Measure(bands[i]);
    // A caption or glyph stands out from the face of every band; less so,
    // but still readable, on the disabled one.
    EXPECT_GT(stats[i].lightnessSpread, i == 3 ? 55 : 100) << s.picture << " band " << i;
  }
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) EXPECT_NE(bands[i], bands[j]) << s.picture << " bands " << i << " and " << j;
  // The disabled band is greyed out compared with the enabled one.
  EXPECT_LT(stats[3].saturation, stats[0].saturation * 0.6) << s.picture;
}

INSTANTIATE_TEST_SUITE_P(Media, ButtonStripTest, ::testing::ValuesIn(kStrips),
                         [](const auto& info) { return std::string(info.param.picture); });

// ------------------------------------------------------------ backgrounds, icons, tree images

struct Picture {
  const char* path;  // below Media/
  int width;
  int height;
};

const Picture kPictures[] = {
    {"Forms/Main_BG.bmp", 800, 600},    {"Forms/Home_BG.bmp", 790, 447},    {"Forms/Sub_BG.bmp", 790, 447},
    {"Forms/Assign_BG.bmp", 790, 447},  {"Forms/Modify_BG.bmp", 790, 447},  {"Forms/Test_BG.bmp", 790, 447},
    {"Forms/Msg_BG.bmp", 500, 250},     {"Forms/Splash_BG.bmp", 480, 300},  {"Icons/icon_Information.bmp", 48, 48},
    {"Icons/icon_Warning.bmp", 48, 48}, {"Icons/icon_Error.bmp", 48, 48},   {"Icons/icon_Question.bmp", 48, 48},
    {"Icons/icon_Wait.bmp", 48, 48},    {"Icons/icon_ready.bmp", 64, 64},   {"Icons/icon_Begin.bmp", 64, 64},
    {"Icons/icon_Result.bmp", 64, 64},  {"Icons/icon_Problem.bmp", 64, 64}, {"Icons/icon_Quorvane.bmp", 32, 32},
    {"Tree/LC_1.bmp", 16, 16},          {"Tree/LC_2.bmp", 16, 16},          {"Tree/LC_3.bmp", 16, 16},
    {"Tree/LC_4.bmp", 16, 16},          {"Tree/LC_5.bmp", 16, 16},          {"Tree/Assign_1.bmp", 16, 16},
    {"Tree/Assign_2.bmp", 16, 16},      {"Tree/Assign_3.bmp", 16, 16},      {"Tree/Assign_4.bmp", 16, 16},
    {"Tree/Assign_5.bmp", 16, 16},      {"Tree/Assign_6.bmp", 16, 16},      {"Tree/Assign_7.bmp", 16, 16},
};

class PictureTest : public ::testing::TestWithParam<Picture> {};

TEST_P(PictureTest, IsABitmapOfItsSizeWithSomethingDrawn) {
  const Picture pic = GetParam();
  const QString path = InstallDir() + "/Media/" + pic.path;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  EXPECT_EQ(file.read(2), QByteArray("BM"));
  const QImage image(path);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(pic.width, pic.height));
  EXPECT_GT(Measure(image).lightnessSpread, 12) << "blank picture " << pic.path;
}

INSTANTIATE_TEST_SUITE_P(Media, PictureTest, ::testing::ValuesIn(kPictures), [](const auto& info) {
  return QString(info.param.path).replace(QRegularExpression("[^A-Za-z0-9]"), "_").toStdString();
});

// The tree's closed and open book and the aircraft marks must be told apart.
TEST(TreeImages, AreAllDifferent) {
  QList<QImage> images;
  for (const char* name : {"LC_1", "LC_2", "LC_3", "LC_4", "LC_5"})
    images << QImage(InstallDir() + "/Media/Tree/" + QString(name) + ".bmp");
  for (int i = 1; i <= 7; ++i) images << QImage(InstallDir() + "/Media/Tree/Assign_" + QString::number(i) + ".bmp");
  for (int i = 0; i < images.size(); ++i)
    for (int j = i + 1; j < images.size(); ++j) EXPECT_NE(images[i], images[j]) << i << " " << j;
}

// ------------------------------------------------------------ help pages

// Keys of the learning center's topic tree.
const char* const kTopicKeys[] = {
    "KEY_Welcome",
    "KEY_WhyUse",
    "KEY_SysReq",
    "KEY_HelpUse",
    "KEY_InterfaceMain",
    "KEY_ConfigurationOverview",
    "KEY_ConfigurationMain",
    "KEY_ConfigurationTest",
    "KEY_ConfigurationScript",
    "KEY_ChecklistAssignments",
    "KEY_ChecklistModification",
    "KEY_ScriptingOverview",
    "KEY_Scripting",
    "KEY_Tutorials",
    "KEY_TutorialsNewChecklist",
    "KEY_UseOverview",
    "KEY_ChecklistUseInFSX",
    "KEY_GenericUseInFSX",
    "KEY_SpecialUseInFSX",
    "KEY_TechRef",
    "KEY_Microphone",
    "KEY_Legal",
    "KEY_EULA",
    "KEY_Credits",
    "KEY_CompanyInfo",
};

class HelpTopicTest : public ::testing::TestWithParam<const char*> {};

TEST_P(HelpTopicTest, HasItsPageInTheHelpFolder) {
  const QString page = QString(GetParam()).remove("KEY_", Qt::CaseInsensitive).trimmed() + ".htm";
  const QString path = InstallDir() + "/Help/" + page;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  const QString html = QString::fromLatin1(file.readAll());
  EXPECT_TRUE(html.contains("<h1>")) << page.toStdString();
  EXPECT_GT(html.size(), 600) << "page too short to help: " << page.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Help, HelpTopicTest, ::testing::ValuesIn(kTopicKeys),
                         [](const auto& info) { return std::string(info.param).substr(4); });

// Pages link to each other; a renamed page must not leave dead links behind.
TEST(HelpPages, EveryLocalLinkAndAnchorResolves) {
  const QDir help(InstallDir() + "/Help");
  const QRegularExpression href(R"re(href="([^"]+)")re");
  int links = 0;
  for (const QString& name : help.entryList({"*.htm"}, QDir::Files)) {
    QFile file(help.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromLatin1(file.readAll());
    for (auto it = href.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      if (target.contains(':')) continue;  // outside the help folder
      ++links;
      const QString fileName = target.section('#', 0, 0);
      const QString anchor = target.section('#', 1);
      const QString targetPath = help.filePath(fileName.isEmpty() ? name : fileName);
      ASSERT_TRUE(QFileInfo::exists(targetPath)) << name.toStdString() << " links to " << target.toStdString();
      if (!anchor.isEmpty()) {
        QFile targetFile(targetPath);
        ASSERT_TRUE(targetFile.open(QIODevice::ReadOnly));
        EXPECT_TRUE(targetFile.readAll().contains("name=\"" + anchor.toLatin1() + "\""))
            << name.toStdString() << " links to missing anchor " << target.toStdString();
      }
    }
  }
  EXPECT_GT(links, 50);
}

}  // namespace
