#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "gui/kit/RtfReader.h"

using namespace qv;

namespace {

QTextCharFormat FormatOf(const QTextDocument& doc, const QString& blockText) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    if (b.text() == blockText) return b.begin().fragment().charFormat();
  ADD_FAILURE() << "no block " << blockText.toStdString();
  return {};
}

const char* const kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\fnil\\fcharset2 Symbol;}}\n{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard";

TEST(RtfReaderTest, CharacterFormattingFollowsTheControlWordsAndGroups) {
  QTextDocument doc;
  ui::ReadRtf(QString(kHeader) +
                  "\\b\\i\\f0\\fs44 Title\\par\n\\i0\\fs32\\tab Sub\\par\n\\b0\\fs20 "
                  "plain {\\b bold} again\\par\n}",
              doc);
  EXPECT_EQ(doc.toPlainText(), "Title\n\tSub\nplain bold again\n");
  const QTextCharFormat t = FormatOf(doc, "Title");
  EXPECT_EQ(t.fontWeight(), QFont::Bold);
  EXPECT_TRUE(t.fontItalic());
  EXPECT_EQ(t.fontPointSize(), 22);
  EXPECT_EQ(t.fontFamilies().toStringList(), QStringList{"Arial"});
  const QTextCharFormat s = FormatOf(doc, "\tSub");
  EXPECT_FALSE(s.fontItalic());
  EXPECT_EQ(s.fontPointSize(), 16);
  // The group's bold ends with the group.
  QTextBlock third = doc.begin().next().next();
  QStringList runs;
  for (auto it = third.begin(); !it.atEnd(); ++it)
    runs << it.fragment().text() + (it.fragment().charFormat().fontWeight() == QFont::Bold ? "*" : "");
  EXPECT_EQ(runs, (QStringList{"plain ", "bold*", " again"}));
  // Source line breaks and the generator destination are not text.
  EXPECT_FALSE(doc.toPlainText().contains("Msftedit"));
}

TEST(RtfReaderTest, BulletParagraphsHangFromTheirIndent) {
  QTextDocument doc;
  ui::ReadRtf(QString(kHeader) +
                  "\\fs20 Head\\par\n\\pard{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
                  "\\fi-360\\li1440\n{\\pntext\\f1\\'B7\\tab}Gear down\\par\n"
                  "{\\pntext\\f1\\'B7\\tab}Wheels\\par\n\\pard\\li1080\\par\n\\pard\nAfter\\par\n}",
              doc);
  EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("Head\n\u2022\tGear down\n\u2022\tWheels\n\nAfter\n"));
  QTextBlock b = doc.begin();
  EXPECT_EQ(b.blockFormat().leftMargin(), 0);
  b = b.next();
  EXPECT_EQ(b.blockFormat().leftMargin(), 96);
  EXPECT_EQ(b.blockFormat().textIndent(), -24);
  b = b.next().next();
  EXPECT_EQ(b.blockFormat().leftMargin(), 72);  // \li1080
  EXPECT_EQ(b.next().blockFormat().leftMargin(), 0);

  // Laid out, the sentence starts at the margin and the bullet hangs left of it.
  doc.setTextWidth(600);
  doc.documentLayout()->documentSize();
  const QTextBlock bullet = doc.begin().next();
  const QTextLine line = bullet.layout()->lineAt(0);
  const qreal textX = line.cursorToX(2);
  const qreal bulletX = line.cursorToX(0);
  EXPECT_NEAR(textX, 96, 1.5);
  EXPECT_NEAR(bulletX, 72, 1.5);
}

// Escapes and the code page; damaged or foreign input never crashes and keeps
// the readable text.
TEST(RtfReaderTest, EscapesAndDamagedDocuments) {
  QTextDocument doc;
  ui::ReadRtf("{\\rtf1\\ansi a\\\\b\\{c\\}d \\'e9\\'80 \\u8364?x\\~y\\line z}", doc);
  EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("a\\b{c}d \u00e9\u20ac \u20acx y\nz"));
  for (const char* rtf : {"", "{", "}}}{{{", "\\", "{\\rtf1 \\'zz \\'4", "\\u", "{\\rtf1 \\fs-5 \\fs999999999999 x}",
                          "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Sym"})
    ui::ReadRtf(rtf, doc);
  ui::ReadRtf("{\\rtf1 unclosed \\b bold", doc);
  EXPECT_EQ(doc.toPlainText(), "unclosed bold");
  ui::ReadRtf("{\\rtf1 {\\*\\unknown hidden} shown {\\colortbl;\\red255;} end}", doc);
  EXPECT_EQ(doc.toPlainText(), " shown  end");
}

}  // namespace
