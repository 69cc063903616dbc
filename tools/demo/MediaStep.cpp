// Draws the interface skin of the demo installation: form backgrounds,
// four-band button strips, dialog and test icons and the tree images, all as
// BMP files under Media/. Everything is painted here so that the look can be
// changed in one place and reviewed as code.
//
// Look: dark slate frame, light blue-grey work panels (the screens put dark
// text on them), slate buttons with white captions, an amber edge and caption
// on hover, and a flat grey band for disabled buttons.
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "DemoSteps.h"
#include "base/FileIo.h"
#include "gui/kit/ButtonKind.h"

namespace {

namespace ui = qv::ui;

enum class Kind { Form, Strip, Icon, Tree };

enum class Glyph {
  None,
  Minimize,
  Close,
  Play,
  Book,
  Microphone,
  Aircraft,
  Checklist,
  Launch,
  // dialog and test icons
  Information,
  Warning,
  Error,
  Question,
  Wait,
  Ready,
  Listening,
  Recognised,
  Problem,
  AppIcon,
  // learning-center tree
  BookClosed,
  BookOpen,
  Page,
  InfoPage,
  Star,
  // assignment tree marks
  MarkNone,
  MarkAssigned,
  MarkSomeAssigned,
  MarkWritten,
  MarkSomeWritten,
  MarkWrittenAssigned,
  MarkMixed
};

// Every file the generator produces. Strips are `width` wide and four bands
// of `height` pixels tall: enabled, highlight, down, disabled.
struct MediaFile {
  const char* path;  // below the installation folder
  Kind kind;
  int width;
  int height;
  const char* caption;
  const char* subtitle;
  Glyph glyph;
};

constexpr int kFormW = ui::KindSize(ui::ButtonKind::Form).width;
constexpr int kLargeW = ui::KindSize(ui::ButtonKind::Large).width, kLargeH = ui::KindSize(ui::ButtonKind::Large).height;
constexpr int kSmallW = ui::KindSize(ui::ButtonKind::Small).width, kSmallH = ui::KindSize(ui::ButtonKind::Small).height;
constexpr int kMediumW = ui::KindSize(ui::ButtonKind::Medium).width;
constexpr int kScreenW = 790, kScreenH = 447;

const MediaFile kMediaFiles[] = {
    // Backgrounds of the frame, the hosted screens, the dialogs and the splash/starter window.
    {"Media/Forms/Main_BG.bmp", Kind::Form, 800, 600, nullptr, nullptr, Glyph::None},
    {"Media/Forms/Home_BG.bmp", Kind::Form, kScreenW, kScreenH, nullptr, nullptr, Glyph::None},
    {"Media/Forms/Sub_BG.bmp", Kind::Form, kScreenW, kScreenH, nullptr, nullptr, Glyph::None},
    {"Media/Forms/Assign_BG.bmp", Kind::Form, kScreenW, kScreenH, nullptr, nullptr, Glyph::Aircraft},
    {"Media/Forms/Modify_BG.bmp", Kind::Form, kScreenW, kScreenH, nullptr, nullptr, Glyph::Checklist},
    {"Media/Forms/Test_BG.bmp", Kind::Form, kScreenW, kScreenH, nullptr, nullptr, Glyph::Microphone},
    {"Media/Forms/Msg_BG.bmp", Kind::Form, 500, 250, nullptr, nullptr, Glyph::None},
    {"Media/Forms/Splash_BG.bmp", Kind::Form, 480, 300, nullptr, nullptr, Glyph::None},
    // Frame buttons (33 x 33).
    {"Media/Buttons/btn_Minimize.bmp", Kind::Strip, kFormW, kFormW, nullptr, nullptr, Glyph::Minimize},
    {"Media/Buttons/btn_Close.bmp", Kind::Strip, kFormW, kFormW, nullptr, nullptr, Glyph::Close},
    {"Media/Buttons/btn_smlPlay.bmp", Kind::Strip, kFormW, kFormW, nullptr, nullptr, Glyph::Play},
    // Home screen (308 x 58).
    {"Media/Buttons/btn_LearningCenter.bmp", Kind::Strip, kLargeW, kLargeH, "Learning Center",
     "Help, phrase language and tutorials", Glyph::Book},
    {"Media/Buttons/btn_Configuration.bmp", Kind::Strip, kLargeW, kLargeH, "Speech Configuration",
     "Phrases, readbacks and copilot voice", Glyph::Microphone},
    {"Media/Buttons/btn_ChecklistAssignments.bmp", Kind::Strip, kLargeW, kLargeH, "Checklist Assignments",
     "Give each aircraft its checklist", Glyph::Aircraft},
    {"Media/Buttons/btn_ChecklistModification.bmp", Kind::Strip, kLargeW, kLargeH, "Checklist Modification",
     "Create and edit spoken checklists", Glyph::Checklist},
    {"Media/Buttons/btn_Launch.bmp", Kind::Strip, kLargeW, kLargeH, "Launch FSX", "Fly with speech recognition running",
     Glyph::Launch},
    // Microphone set-up (182 x 35).
    {"Media/Buttons/btn_Microphone.bmp", Kind::Strip, kMediumW, kSmallH, "Microphone Setup", nullptr,
     Glyph::Microphone},
    // Frame context buttons, dialog buttons and screen commands (95 x 35).
    {"Media/Buttons/btn_ParentOK.bmp", Kind::Strip, kSmallW, kSmallH, "OK", nullptr, Glyph::None},
    {"Media/Buttons/btn_ParentCancel.bmp", Kind::Strip, kSmallW, kSmallH, "Cancel", nullptr, Glyph::None},
    {"Media/Buttons/btn_ParentHome.bmp", Kind::Strip, kSmallW, kSmallH, "Home", nullptr, Glyph::None},
    {"Media/Buttons/btn_ParentReturn.bmp", Kind::Strip, kSmallW, kSmallH, "Return", nullptr, Glyph::None},
    {"Media/Buttons/btn_ParentSave.bmp", Kind::Strip, kSmallW, kSmallH, "Save", nullptr, Glyph::None},
    {"Media/Buttons/btn_ParentCompile.bmp", Kind::Strip, kSmallW, kSmallH, "Compile", nullptr, Glyph::None},
    {"Media/Buttons/btn_ParentStart.bmp", Kind::Strip, kSmallW, kSmallH, "Start", nullptr, Glyph::None},
    {"Media/Buttons/btn_Add.bmp", Kind::Strip, kSmallW, kSmallH, "Add", nullptr, Glyph::None},
    {"Media/Buttons/btn_Edit.bmp", Kind::Strip, kSmallW, kSmallH, "Edit", nullptr, Glyph::None},
    {"Media/Buttons/btn_Delete.bmp", Kind::Strip, kSmallW, kSmallH, "Delete", nullptr, Glyph::None},
    {"Media/Buttons/btn_Test.bmp", Kind::Strip, kSmallW, kSmallH, "Test", nullptr, Glyph::None},
    {"Media/Buttons/btn_Rehearse.bmp", Kind::Strip, kSmallW, kSmallH, "Rehearse", nullptr, Glyph::None},
    {"Media/Buttons/btn_Script.bmp", Kind::Strip, kSmallW, kSmallH, "Script", nullptr, Glyph::None},
    {"Media/Buttons/btn_Play.bmp", Kind::Strip, kSmallW, kSmallH, "Play", nullptr, Glyph::None},
    {"Media/Buttons/btn_Pronounce.bmp", Kind::Strip, kSmallW, kSmallH, "Words", nullptr, Glyph::None},
    {"Media/Buttons/btn_Load.bmp", Kind::Strip, kSmallW, kSmallH, "Load", nullptr, Glyph::None},
    {"Media/Buttons/btn_New.bmp", Kind::Strip, kSmallW, kSmallH, "New", nullptr, Glyph::None},
    {"Media/Buttons/btn_Insert.bmp", Kind::Strip, kSmallW, kSmallH, "Insert", nullptr, Glyph::None},
    {"Media/Buttons/btn_Assign.bmp", Kind::Strip, kSmallW, kSmallH, "Assign", nullptr, Glyph::None},
    // Dialog icons (48 x 48) and the test screen's icons (64 x 64).
    {"Media/Icons/icon_Information.bmp", Kind::Icon, 48, 48, nullptr, nullptr, Glyph::Information},
    {"Media/Icons/icon_Warning.bmp", Kind::Icon, 48, 48, nullptr, nullptr, Glyph::Warning},
    {"Media/Icons/icon_Error.bmp", Kind::Icon, 48, 48, nullptr, nullptr, Glyph::Error},
    {"Media/Icons/icon_Question.bmp", Kind::Icon, 48, 48, nullptr, nullptr, Glyph::Question},
    {"Media/Icons/icon_Wait.bmp", Kind::Icon, 48, 48, nullptr, nullptr, Glyph::Wait},
    {"Media/Icons/icon_ready.bmp", Kind::Icon, 64, 64, nullptr, nullptr, Glyph::Ready},
    {"Media/Icons/icon_Begin.bmp", Kind::Icon, 64, 64, nullptr, nullptr, Glyph::Listening},
    {"Media/Icons/icon_Result.bmp", Kind::Icon, 64, 64, nullptr, nullptr, Glyph::Recognised},
    {"Media/Icons/icon_Problem.bmp", Kind::Icon, 64, 64, nullptr, nullptr, Glyph::Problem},
    // The starter window's and tray's picture.
    {"Media/Icons/icon_Quorvane.bmp", Kind::Icon, 32, 32, nullptr, nullptr, Glyph::AppIcon},
    // Learning-center topic tree, images 1 to 5 (16 x 16, on the tree's white).
    {"Media/Tree/LC_1.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::BookClosed},
    {"Media/Tree/LC_2.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::BookOpen},
    {"Media/Tree/LC_3.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::Page},
    {"Media/Tree/LC_4.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::InfoPage},
    {"Media/Tree/LC_5.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::Star},
    // Aircraft tree marks, images 1 to 7: none, assigned, some assigned, written,
    // some written, all written or assigned, mixed.
    {"Media/Tree/Assign_1.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::MarkNone},
    {"Media/Tree/Assign_2.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::MarkAssigned},
    {"Media/Tree/Assign_3.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::MarkSomeAssigned},
    {"Media/Tree/Assign_4.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::MarkWritten},
    {"Media/Tree/Assign_5.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::MarkSomeWritten},
    {"Media/Tree/Assign_6.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::MarkWrittenAssigned},
    {"Media/Tree/Assign_7.bmp", Kind::Tree, 16, 16, nullptr, nullptr, Glyph::MarkMixed},
};

// Palette.
const QColor kSlateDeep(18, 26, 38);
const QColor kSlateDark(27, 38, 53);
const QColor kSlate(42, 58, 79);
const QColor kSteel(92, 116, 144);
const QColor kPanel(233, 236, 240);  // screens and dialogs: dark text sits on it
const QColor kPanelEdge(200, 207, 216);
const QColor kAmber(242, 178, 64);
const QColor kWhite(246, 248, 251);
const QColor kBlue(63, 118, 178);
const QColor kGreen(58, 150, 92);
const QColor kRed(196, 62, 52);

QFont UiFont(int pixelSize, bool bold = false) {
  QFont f("DejaVu Sans");
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

// ---------------------------------------------------------------- glyphs

// A simple aircraft seen from above, nose up, in a box of size s at (0,0).
QPainterPath AircraftPath(double s) {
  QPainterPath p;
  const double c = s / 2;
  p.moveTo(c, 0.02 * s);
  p.cubicTo(c + 0.07 * s, 0.06 * s, c + 0.07 * s, 0.2 * s, c + 0.07 * s, 0.32 * s);
  p.lineTo(0.98 * s, 0.56 * s);
  p.lineTo(0.98 * s, 0.64 * s);
  p.lineTo(c + 0.07 * s, 0.52 * s);
  p.lineTo(c + 0.05 * s, 0.8 * s);
  p.lineTo(c + 0.22 * s, 0.92 * s);
  p.lineTo(c + 0.22 * s, 0.98 * s);
  p.lineTo(c, 0.93 * s);
  p.lineTo(c - 0.22 * s, 0.98 * s);
  p.lineTo(c - 0.22 * s, 0.92 * s);
  p.lineTo(c - 0.05 * s, 0.8 * s);
  p.lineTo(c - 0.07 * s, 0.52 * s);
  p.lineTo(0.02 * s, 0.64 * s);
  p.lineTo(0.02 * s, 0.56 * s);
  p.lineTo(c - 0.07 * s, 0.32 * s);
  p.cubicTo(c - 0.07 * s, 0.2 * s, c - 0.07 * s, 0.06 * s, c, 0.02 * s);
  p.closeSubpath();
  return p;
}

// Draws a line-art glyph into the square `r` with colour `c`.
void DrawGlyph(QPainter& p, Glyph g, const QRectF& r, const QColor& c) {
  p.save();
  p.translate(r.topLeft());
  const double s = r.width();
  const double w = std::max(1.5, s / 14.0);
  QPen pen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (g) {
    case Glyph::Minimize:
      p.setPen(QPen(c, s * 0.12, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(0.22 * s, 0.72 * s), QPointF(0.78 * s, 0.72 * s));
      break;
    case Glyph::Close:
      p.setPen(QPen(c, s * 0.11, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(0.26 * s, 0.26 * s), QPointF(0.74 * s, 0.74 * s));
      p.drawLine(QPointF(0.74 * s, 0.26 * s), QPointF(0.26 * s, 0.74 * s));
      break;
    case Glyph::Play: {
      QPainterPath t;
      t.moveTo(0.32 * s, 0.22 * s);
      t.lineTo(0.78 * s, 0.5 * s);
      t.lineTo(0.32 * s, 0.78 * s);
      t.closeSubpath();
      p.setBrush(c);
      p.drawPath(t);
      break;
    }
    case Glyph::Book: {
      QPainterPath left, right;
      left.moveTo(0.5 * s, 0.26 * s);
      left.cubicTo(0.38 * s, 0.18 * s, 0.2 * s, 0.18 * s, 0.08 * s, 0.22 * s);
      left.lineTo(0.08 * s, 0.8 * s);
      left.cubicTo(0.2 * s, 0.76 * s, 0.38 * s, 0.76 * s, 0.5 * s, 0.84 * s);
      right.moveTo(0.5 * s, 0.26 * s);
      right.cubicTo(0.62 * s, 0.18 * s, 0.8 * s, 0.18 * s, 0.92 * s, 0.22 * s);
      right.lineTo(0.92 * s, 0.8 * s);
      right.cubicTo(0.8 * s, 0.76 * s, 0.62 * s, 0.76 * s, 0.5 * s, 0.84 * s);
      p.drawPath(left);
      p.drawPath(right);
      p.drawLine(QPointF(0.5 * s, 0.26 * s), QPointF(0.5 * s, 0.84 * s));
      QPen thin(c, w * 0.6, Qt::SolidLine, Qt::RoundCap);
      p.setPen(thin);
      for (double y : {0.36, 0.48, 0.6}) {
        p.drawLine(QPointF(0.17 * s, y * s), QPointF(0.4 * s, (y + 0.02) * s));
        p.drawLine(QPointF(0.6 * s, (y + 0.02) * s), QPointF(0.83 * s, y * s));
      }
      break;
    }
    case Glyph::Microphone: {
      p.drawRoundedRect(QRectF(0.38 * s, 0.08 * s, 0.24 * s, 0.46 * s), 0.12 * s, 0.12 * s);
      QPainterPath cup;
      cup.moveTo(0.26 * s, 0.4 * s);
      cup.cubicTo(0.26 * s, 0.72 * s, 0.74 * s, 0.72 * s, 0.74 * s, 0.4 * s);
      p.drawPath(cup);
      p.drawLine(QPointF(0.5 * s, 0.66 * s), QPointF(0.5 * s, 0.84 * s));
      p.drawLine(QPointF(0.36 * s, 0.88 * s), QPointF(0.64 * s, 0.88 * s));
      break;
    }
    case Glyph::Aircraft: {
      p.setBrush(c);
      p.setPen(Qt::NoPen);
      p.drawPath(AircraftPath(s));
      break;
    }
    case Glyph::Checklist: {
      p.drawRoundedRect(QRectF(0.2 * s, 0.12 * s, 0.6 * s, 0.8 * s), 0.06 * s, 0.06 * s);
      p.setBrush(c);
      p.drawRoundedRect(QRectF(0.38 * s, 0.06 * s, 0.24 * s, 0.12 * s), 0.03 * s, 0.03 * s);
      p.setBrush(Qt::NoBrush);
      for (double y : {0.36, 0.55, 0.74}) {
        p.drawLine(QPointF(0.3 * s, y * s), QPointF(0.36 * s, (y + 0.05) * s));
        p.drawLine(QPointF(0.36 * s, (y + 0.05) * s), QPointF(0.44 * s, (y - 0.04) * s));
        p.drawLine(QPointF(0.52 * s, y * s), QPointF(0.7 * s, y * s));
      }
      break;
    }
    case Glyph::Launch: {
      p.save();
      p.translate(0.5 * s, 0.5 * s);
      p.rotate(45);
      p.translate(-0.36 * s, -0.36 * s);
      p.setBrush(c);
      p.setPen(Qt::NoPen);
      p.drawPath(AircraftPath(0.72 * s));
      p.restore();
      p.drawLine(QPointF(0.06 * s, 0.94 * s), QPointF(0.5 * s, 0.94 * s));
      break;
    }
    default: break;
  }
  p.restore();
}

// ---------------------------------------------------------------- strips

// One band of a button: enabled, highlight, down or disabled.
void DrawButtonBand(QPainter& p, const MediaFile& f, int band) {
  const QRectF r(0, band * f.height, f.width, f.height);
  const bool disabled = band == 3, down = band == 2, hot = band == 1;
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  if (disabled) {
    g.setColorAt(0, QColor(142, 148, 156));
    g.setColorAt(1, QColor(128, 134, 143));
  } else if (down) {
    g.setColorAt(0, QColor(22, 32, 45));
    g.setColorAt(1, QColor(40, 56, 76));
  } else if (hot) {
    g.setColorAt(0, QColor(74, 104, 138));
    g.setColorAt(1, QColor(48, 70, 96));
  } else {
    g.setColorAt(0, QColor(60, 81, 106));
    g.setColorAt(1, QColor(36, 51, 70));
  }
  p.fillRect(r, g);
  // Edges: a dark outline, a light top bevel (a shadow when pressed), an
  // amber ring when the pointer is over the button.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(disabled ? QColor(116, 122, 130) : kSlateDeep);
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  if (hot) {
    p.setPen(kAmber);
    p.drawRect(r.adjusted(1, 1, -2, -2));
  } else if (down) {
    p.setPen(QColor(10, 14, 20));
    p.drawLine(QPointF(r.left() + 1, r.top() + 1), QPointF(r.right() - 1, r.top() + 1));
    p.drawLine(QPointF(r.left() + 1, r.top() + 1), QPointF(r.left() + 1, r.bottom() - 1));
  } else {
    p.setPen(disabled ? QColor(176, 181, 188) : QColor(104, 128, 156));
    p.drawLine(QPointF(r.left() + 1, r.top() + 1), QPointF(r.right() - 1, r.top() + 1));
  }
  p.setRenderHint(QPainter::Antialiasing, true);

  const QColor text = disabled ? QColor(214, 217, 222) : hot ? QColor(255, 206, 110) : kWhite;
  const QColor glyph = disabled ? QColor(210, 213, 218) : hot ? kAmber : kWhite;
  const double shift = down ? 1 : 0;  // the pressed look moves the content
  QRectF inner = r.translated(shift, shift);

  if (!f.caption) {  // frame buttons: a glyph only
    DrawGlyph(p, f.glyph, QRectF(inner.left() + 6, inner.top() + 6, f.width - 12, f.width - 12), glyph);
    return;
  }
  if (f.height == kLargeH) {
    // Icon well on the left, caption and a one-line hint on the right.
    const QRectF well(inner.left() + 8, inner.top() + 7, 44, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(disabled ? QColor(124, 130, 139) : down ? QColor(16, 24, 34) : QColor(24, 35, 49));
    p.drawRoundedRect(well, 6, 6);
    DrawGlyph(p, f.glyph, well.adjusted(7, 7, -7, -7), glyph);
    p.setPen(text);
    p.setFont(UiFont(16, true));
    p.drawText(QRectF(inner.left() + 64, inner.top() + 8, f.width - 72, 24), Qt::AlignLeft | Qt::AlignVCenter,
               f.caption);
    p.setPen(disabled ? QColor(186, 190, 197) : hot ? QColor(236, 222, 190) : QColor(196, 210, 226));
    p.setFont(UiFont(11));
    p.drawText(QRectF(inner.left() + 64, inner.top() + 31, f.width - 72, 18), Qt::AlignLeft | Qt::AlignVCenter,
               f.subtitle);
    return;
  }
  QRectF textRect = inner;
  if (f.glyph != Glyph::None) {
    DrawGlyph(p, f.glyph, QRectF(inner.left() + 7, inner.top() + 7, 21, 21), glyph);
    textRect.setLeft(inner.left() + 28);
  }
  p.setPen(text);
  p.setFont(UiFont(13, true));
  p.drawText(textRect, Qt::AlignCenter, f.caption);
}

// ---------------------------------------------------------------- icons

void DrawBadge(QPainter& p, const QRectF& r, const QColor& fill) {
  QRadialGradient g(r.center() - QPointF(r.width() * 0.15, r.height() * 0.2), r.width() * 0.7);
  g.setColorAt(0, fill.lighter(135));
  g.setColorAt(1, fill);
  p.setPen(QPen(fill.darker(140), std::max(1.0, r.width() / 24)));
  p.setBrush(g);
  p.drawEllipse(r);
}

void DrawCentredText(QPainter& p, const QRectF& r, const QString& text, int px, const QColor& c) {
  p.setPen(c);
  p.setFont(UiFont(px, true));
  p.drawText(r, Qt::AlignCenter, text);
}

// A speech bubble with its tail bottom left.
QPainterPath Bubble(const QRectF& r) {
  QPainterPath path;
  path.addRoundedRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.74), r.width() * 0.16, r.width() * 0.16);
  QPainterPath tail;
  tail.moveTo(r.left() + r.width() * 0.2, r.top() + r.height() * 0.66);
  tail.lineTo(r.left() + r.width() * 0.14, r.bottom());
  tail.lineTo(r.left() + r.width() * 0.44, r.top() + r.height() * 0.7);
  tail.closeSubpath();
  return path.united(tail);
}

void DrawIcon(QPainter& p, const MediaFile& f) {
  const double s = f.width;
  p.fillRect(QRectF(0, 0, s, s), kPanel);
  const QRectF c(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
  switch (f.glyph) {
    case Glyph::Information:
      DrawBadge(p, c, kBlue);
      DrawCentredText(p, c, "i", int(s * 0.56), kWhite);
      break;
    case Glyph::Question:
      DrawBadge(p, c, kSlate.lighter(130));
      DrawCentredText(p, c, "?", int(s * 0.56), kWhite);
      break;
    case Glyph::Error:
      DrawBadge(p, c, kRed);
      p.setPen(QPen(kWhite, s * 0.1, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(s * 0.34, s * 0.34), QPointF(s * 0.66, s * 0.66));
      p.drawLine(QPointF(s * 0.66, s * 0.34), QPointF(s * 0.34, s * 0.66));
      break;
    case Glyph::Warning: {
      QPainterPath t;
      t.moveTo(s * 0.5, s * 0.07);
      t.lineTo(s * 0.95, s * 0.9);
      t.lineTo(s * 0.05, s * 0.9);
      t.closeSubpath();
      QLinearGradient g(0, 0, 0, s);
      g.setColorAt(0, kAmber.lighter(115));
      g.setColorAt(1, kAmber.darker(110));
      p.setPen(QPen(kAmber.darker(160), s / 24, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(g);
      p.drawPath(t);
      DrawCentredText(p, QRectF(0, s * 0.3, s, s * 0.58), "!", int(s * 0.5), kSlateDeep);
      break;
    }
    case Glyph::Wait: {
      DrawBadge(p, c, kSlate.lighter(130));
      // hourglass
      QPainterPath h;
      h.moveTo(s * 0.34, s * 0.26);
      h.lineTo(s * 0.66, s * 0.26);
      h.lineTo(s * 0.5, s * 0.5);
      h.lineTo(s * 0.66, s * 0.74);
      h.lineTo(s * 0.34, s * 0.74);
      h.lineTo(s * 0.5, s * 0.5);
      h.closeSubpath();
      p.setPen(QPen(kWhite, s / 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(h);
      QPainterPath sand;
      sand.moveTo(s * 0.42, s * 0.7);
      sand.lineTo(s * 0.58, s * 0.7);
      sand.lineTo(s * 0.5, s * 0.6);
      sand.closeSubpath();
      p.setBrush(kAmber);
      p.setPen(Qt::NoPen);
      p.drawPath(sand);
      break;
    }
    case Glyph::Ready:
    case Glyph::Listening: {
      const bool listening = f.glyph == Glyph::Listening;
      DrawBadge(p, c, listening ? QColor(176, 110, 30) : kSlate.lighter(130));
      DrawGlyph(p, Glyph::Microphone, QRectF(s * 0.26, s * 0.22, s * 0.48, s * 0.48), kWhite);
      if (listening) {  // sound waves either side
        p.setPen(QPen(kWhite, s / 28, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (double k : {0.0, 1.0}) {
          const double d = s * (0.26 + 0.08 * k);
          p.drawArc(QRectF(s * 0.5 - d, s * 0.42 - d, 2 * d, 2 * d), -35 * 16, 70 * 16);
          p.drawArc(QRectF(s * 0.5 - d, s * 0.42 - d, 2 * d, 2 * d), 145 * 16, 70 * 16);
        }
      }
      break;
    }
    case Glyph::Recognised:
    case Glyph::Problem: {
      const bool ok = f.glyph == Glyph::Recognised;
      const QColor fill = ok ? kGreen : QColor(188, 92, 40);
      QLinearGradient g(0, 0, 0, s);
      g.setColorAt(0, fill.lighter(125));
      g.setColorAt(1, fill);
      p.setPen(QPen(fill.darker(150), s / 28));
      p.setBrush(g);
      p.drawPath(Bubble(QRectF(s * 0.08, s * 0.1, s * 0.84, s * 0.82)));
      if (ok) {
        p.setPen(QPen(kWhite, s / 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(s * 0.3, s * 0.4), QPointF(s * 0.44, s * 0.54));
        p.drawLine(QPointF(s * 0.44, s * 0.54), QPointF(s * 0.7, s * 0.26));
      } else {
        DrawCentredText(p, QRectF(s * 0.08, s * 0.1, s * 0.84, s * 0.6), "?", int(s * 0.44), kWhite);
      }
      break;
    }
    case Glyph::AppIcon: {
      p.fillRect(QRectF(0, 0, s, s), kSlateDark);
      p.setPen(QPen(kAmber, s / 16));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84));
      DrawGlyph(p, Glyph::Microphone, QRectF(s * 0.2, s * 0.18, s * 0.6, s * 0.6), kWhite);
      break;
    }
    default: break;
  }
}

// ---------------------------------------------------------------- tree images

void DrawMarkPie(QPainter& p, const QRectF& r, std::initializer_list<QColor> parts) {
  const int n = int(parts.size());
  int i = 0;
  p.setPen(Qt::NoPen);
  for (const QColor& part : parts) {
    p.setBrush(part);
    p.drawPie(r, 90 * 16 - i * 360 * 16 / n, -360 * 16 / n);
    ++i;
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(60, 70, 84), 1));
  p.drawEllipse(r);
}

void DrawTreeImage(QPainter& p, const MediaFile& f) {
  p.fillRect(QRectF(0, 0, 16, 16), Qt::white);
  const QColor none(222, 226, 232), assigned(kBlue), written(kGreen);
  const QRectF disc(2.5, 2.5, 11, 11);
  switch (f.glyph) {
    case Glyph::BookClosed:
      p.setPen(QPen(kSlateDark, 1));
      p.setBrush(kSlate.lighter(140));
      p.drawRect(QRectF(3.5, 1.5, 9, 13));
      p.setBrush(kWhite);
      p.drawRect(QRectF(12.5, 2.5, 1.5, 11));
      p.setPen(QPen(kAmber, 1.5));
      p.drawLine(QPointF(6, 5), QPointF(10, 5));
      break;
    case Glyph::BookOpen: DrawGlyph(p, Glyph::Book, QRectF(0, 0, 16, 16), kSlate); break;
    case Glyph::Page:
    case Glyph::InfoPage: {
      QPainterPath page;
      page.moveTo(3.5, 1.5);
      page.lineTo(10, 1.5);
      page.lineTo(12.5, 4);
      page.lineTo(12.5, 14.5);
      page.lineTo(3.5, 14.5);
      page.closeSubpath();
      p.setPen(QPen(kSteel.darker(130), 1));
      p.setBrush(kWhite);
      p.drawPath(page);
      if (f.glyph == Glyph::Page) {
        p.setPen(QPen(kSteel, 1));
        for (int y : {6, 8, 10, 12}) p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
      } else {
        // a blue "i" on the page
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(6.9, 3.9, 2.2, 2.2));
        p.drawRect(QRectF(7, 7, 2, 5.5));
        p.drawRect(QRectF(6, 12, 4, 1.2));
      }
      break;
    }
    case Glyph::Star: {
      QPainterPath star;
      for (int i = 0; i < 10; ++i) {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double rad = (i % 2 == 0) ? 7.0 : 3.0;
        const QPointF pt(8 + rad * std::cos(a), 8.5 + rad * std::sin(a));
        if (i == 0)
          star.moveTo(pt);
        else
          star.lineTo(pt);
      }
      star.closeSubpath();
      p.setPen(QPen(kAmber.darker(150), 1));
      p.setBrush(kAmber);
      p.drawPath(star);
      break;
    }
    case Glyph::MarkNone: DrawMarkPie(p, disc, {none}); break;
    case Glyph::MarkAssigned: DrawMarkPie(p, disc, {assigned}); break;
    case Glyph::MarkSomeAssigned: DrawMarkPie(p, disc, {assigned, none}); break;
    case Glyph::MarkWritten:
      DrawMarkPie(p, disc, {written});
      p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(5.5, 8), QPointF(7.3, 10));
      p.drawLine(QPointF(7.3, 10), QPointF(10.8, 5.8));
      break;
    case Glyph::MarkSomeWritten: DrawMarkPie(p, disc, {written, none}); break;
    case Glyph::MarkWrittenAssigned: DrawMarkPie(p, disc, {written, assigned}); break;
    case Glyph::MarkMixed: DrawMarkPie(p, disc, {written, assigned, none}); break;
    default: break;
  }
}

// ---------------------------------------------------------------- backgrounds

// Faint compass-card line art, used as a watermark on light panels.
void DrawCompassCard(QPainter& p, const QPointF& centre, double radius, const QColor& c) {
  p.save();
  p.setPen(QPen(c, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(centre, radius, radius);
  p.drawEllipse(centre, radius * 0.72, radius * 0.72);
  for (int deg = 0; deg < 360; deg += 5) {
    const double a = deg * std::numbers::pi / 180;
    const double inner = radius * (deg % 30 == 0 ? 0.86 : deg % 10 == 0 ? 0.91 : 0.95);
    p.drawLine(QPointF(centre.x() + inner * std::sin(a), centre.y() - inner * std::cos(a)),
               QPointF(centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a)));
  }
  p.setFont(UiFont(int(radius * 0.11), true));
  const char* cardinal[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
  for (int i = 0; i < 12; ++i) {
    const double a = i * 30 * std::numbers::pi / 180;
    const QPointF at(centre.x() + radius * 0.78 * std::sin(a), centre.y() - radius * 0.78 * std::cos(a));
    p.drawText(QRectF(at.x() - 20, at.y() - 10, 40, 20), Qt::AlignCenter, cardinal[i]);
  }
  p.translate(centre);
  p.scale(radius / 100.0, radius / 100.0);
  p.translate(-30, -30);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(AircraftPath(60));
  p.restore();
}

// A light work panel of a hosted screen: flat body colour (icons and
// transparent labels rely on it), a soft top shade and a thin edge.
void DrawScreenPanel(QPainter& p, int w, int h) {
  p.fillRect(0, 0, w, h, kPanel);
  QLinearGradient top(0, 0, 0, 24);
  top.setColorAt(0, QColor(214, 220, 228));
  top.setColorAt(1, kPanel);
  p.fillRect(0, 0, w, 24, top);
  p.setPen(kPanelEdge);
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, w - 1, h - 1);
}

// The product's name beside a microphone badge, with the tag line below when
// there is room for it (the frame's header carries the screen tips instead).
void DrawBrand(QPainter& p, const QRectF& badge, int titlePx, const QRect& title, const QRect& tagline = QRect()) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kAmber, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(badge);
  const double inset = badge.width() * 0.16;
  DrawGlyph(p, Glyph::Microphone, badge.adjusted(inset, inset * 0.9, -inset, -inset * 1.1), kWhite);
  p.setPen(kWhite);
  p.setFont(UiFont(titlePx, true));
  p.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, "Quorvane");
  if (tagline.isNull()) return;
  p.setPen(kAmber);
  p.setFont(UiFont(13));
  p.drawText(tagline, Qt::AlignLeft | Qt::AlignVCenter, "Voice control and spoken checklists for Flight Simulator X");
}

void DrawFrameBackground(QPainter& p, int w, int h) {
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, kSlate);
  g.setColorAt(0.18, kSlateDark);
  g.setColorAt(1, kSlateDeep);
  p.fillRect(0, 0, w, h, g);
  // Header: the title on the left, the tip text of the current screen beside
  // it, and an amber rule above the work area.
  DrawBrand(p, QRectF(14, 22, 40, 40), 34, QRect(62, 14, 220, 44));
  p.setPen(QPen(kAmber, 1));
  p.drawLine(QPointF(5, 93.5), QPointF(w - 5, 93.5));
  // Recessed well around the hosted screen (5,101 to 795,548).
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(10, 15, 22));
  p.drawRect(3, 99, w - 7, 451);
  p.setPen(QColor(70, 92, 118));
  p.drawLine(3, 551, w - 3, 551);
  p.drawLine(w - 3, 99, w - 3, 551);
  // Footer rail behind the context buttons.
  QLinearGradient foot(0, 553, 0, h);
  foot.setColorAt(0, QColor(34, 47, 64));
  foot.setColorAt(1, kSlateDeep);
  p.fillRect(0, 553, w, h - 553, foot);
  p.setPen(QColor(58, 78, 102));
  p.drawLine(0, 553, w, 553);
  // Outline of the borderless window.
  p.setPen(QColor(8, 12, 18));
  p.drawRect(0, 0, w - 1, h - 1);
}

void DrawHomeBackground(QPainter& p, int w, int h) {
  DrawScreenPanel(p, w, h);
  p.setRenderHint(QPainter::Antialiasing);
  DrawCompassCard(p, QPointF(230, 236), 170, QColor(216, 222, 230));
  // Rail behind the five large buttons (left 471, tops 59 to 397).
  p.setRenderHint(QPainter::Antialiasing, false);
  QLinearGradient rail(458, 0, w - 4, 0);
  rail.setColorAt(0, QColor(214, 220, 228));
  rail.setColorAt(1, QColor(222, 227, 233));
  p.fillRect(QRect(458, 44, 334 - 10, 370), rail);
  p.setPen(kPanelEdge);
  p.drawRect(QRect(458, 44, 323, 369));
  p.setPen(kSteel);
  p.setFont(UiFont(12, true));
  p.drawText(QRect(471, 22, 308, 18), Qt::AlignLeft | Qt::AlignVCenter, "PRE-FLIGHT");
}

void DrawScreenBackground(QPainter& p, int w, int h, Glyph mark) {
  DrawScreenPanel(p, w, h);
  if (mark == Glyph::None) return;
  // A faint emblem in the bottom right corner, where the screens leave room.
  p.setRenderHint(QPainter::Antialiasing);
  DrawGlyph(p, mark, QRectF(w - 92, h - 92, 76, 76), QColor(214, 220, 228));
}

void DrawDialogBackground(QPainter& p, int w, int h) {
  p.fillRect(0, 0, w, h, kPanel);
  // Title band with an amber rule, then the body; a footer rule above the buttons.
  QLinearGradient band(0, 0, 0, 34);
  band.setColorAt(0, QColor(212, 219, 228));
  band.setColorAt(1, QColor(222, 228, 235));
  p.fillRect(0, 0, w, 34, band);
  p.setPen(kAmber);
  p.drawLine(0, 34, w, 34);
  p.setPen(kPanelEdge);
  p.drawLine(12, 200, w - 12, 200);
  p.setPen(kSlate);
  p.drawRect(0, 0, w - 1, h - 1);
  p.setPen(kSteel);
  p.drawRect(1, 1, w - 3, h - 3);
}

void DrawSplashBackground(QPainter& p, int w, int h) {
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, kSlate);
  g.setColorAt(1, kSlateDeep);
  p.fillRect(0, 0, w, h, g);
  p.setRenderHint(QPainter::Antialiasing);
  DrawCompassCard(p, QPointF(w - 60, h - 30), 125, QColor(44, 60, 82));
  DrawBrand(p, QRectF(28, 40, 52, 52), 36, QRect(94, 38, 300, 56), QRect(30, 104, 420, 20));
  p.setPen(QPen(kAmber, 1));
  p.drawLine(QPointF(30, 134.5), QPointF(w - 30, 134.5));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(8, 12, 18));
  p.drawRect(0, 0, w - 1, h - 1);
}

void DrawForm(QPainter& p, const MediaFile& f) {
  const QString name = QFileInfo(f.path).fileName();
  if (name == "Main_BG.bmp")
    DrawFrameBackground(p, f.width, f.height);
  else if (name == "Home_BG.bmp")
    DrawHomeBackground(p, f.width, f.height);
  else if (name == "Msg_BG.bmp")
    DrawDialogBackground(p, f.width, f.height);
  else if (name == "Splash_BG.bmp")
    DrawSplashBackground(p, f.width, f.height);
  else
    DrawScreenBackground(p, f.width, f.height, f.glyph);
}

QImage Render(const MediaFile& f) {
  const int rows = f.kind == Kind::Strip ? 4 : 1;
  QImage image(f.width, f.height * rows, QImage::Format_RGB32);
  image.fill(kPanel);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  switch (f.kind) {
    case Kind::Form: DrawForm(p, f); break;
    case Kind::Strip:
      for (int band = 0; band < 4; ++band) DrawButtonBand(p, f, band);
      break;
    case Kind::Icon: DrawIcon(p, f); break;
    case Kind::Tree: DrawTreeImage(p, f); break;
  }
  p.end();
  // Plain 24-bit bitmaps load everywhere.
  return image.convertToFormat(QImage::Format_RGB888);
}

QString WriteMedia(const QString& installDir) {
  for (const MediaFile& f : kMediaFiles) {
    const QString path = installDir + "/" + f.path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QBuffer bitmap;
    bitmap.open(QIODevice::WriteOnly);
    if (!Render(f).save(&bitmap, "BMP")) return "cannot encode " + path;
    if (const qv::base::FileResult written = qv::base::WriteFileAtomic(path, bitmap.data()); !written)
      return written.error();
  }
  return {};
}

const DemoStepRegistrar kMediaStep({"media",
                                    [](const QString&, const QString& installDir) { return WriteMedia(installDir); }});

}  // namespace
