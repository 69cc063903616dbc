#include "gui/kit/RtfReader.h"

#include <QHash>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <vector>

#include "base/Cp1252.h"

namespace qv::ui {
namespace {

constexpr double kTwipsPerPixel = 15.0;  // at 96 dots per inch

struct Font {
  QString name;
  int charset = 0;  // 2 = symbol
};

// Character and destination state, saved and restored by the groups.
struct GroupState {
  bool bold = false, italic = false;
  int halfPoints = 24;
  int font = 0;
  bool skip = false;       // an ignorable or unknown destination
  bool fontTable = false;  // inside \fonttbl
  bool starNext = false;   // "\*" seen: the next control word names an ignorable destination
  int ucSkip = 1;
};

struct ParaState {
  int li = 0, fi = 0, ri = 0;
  Qt::Alignment align = Qt::AlignLeft;
};

class Reader {
 public:
  Reader(const QString& rtf, QTextDocument& doc) : m_in(rtf), m_doc(doc), m_cursor(&doc) {}

  void Run() {
    m_doc.clear();
    QTextOption option = m_doc.defaultTextOption();
    option.setTabStopDistance(720 / kTwipsPerPixel);  // RTF's default tab width, half an inch
    m_doc.setDefaultTextOption(option);
    m_cursor = QTextCursor(&m_doc);
    m_cursor.setBlockFormat(BlockFormat());

    qsizetype i = 0;
    const qsizetype n = m_in.size();
    while (i < n) {
      const QChar c = m_in[i];
      if (c == u'{') {
        m_stack.push_back(m_g);
        m_g.starNext = false;
        ++i;
      } else if (c == u'}') {
        Flush();
        if (m_g.fontTable && !m_stack.empty() && !m_stack.back().fontTable) FinishFontEntry();
        if (!m_stack.empty()) {
          m_g = m_stack.back();
          m_stack.pop_back();
        }
        ++i;
      } else if (c == u'\\') {
        i = ControlWord(i + 1);
      } else if (c == u'\r' || c == u'\n') {
        ++i;  // line breaks in the source are not text
      } else {
        Text(QString(c));
        ++i;
      }
    }
    Flush();
    m_cursor.setBlockFormat(BlockFormat());
  }

 private:
  // Reads the control word or symbol after a backslash at `i`; returns the
  // position after it (and after its delimiting blank).
  qsizetype ControlWord(qsizetype i) {
    const qsizetype n = m_in.size();
    if (i >= n) return i;
    const QChar c = m_in[i];
    if (!c.isLetter()) {
      switch (c.unicode()) {
        case u'\\':
        case u'{':
        case u'}': Text(QString(c)); return i + 1;
        case u'~': Text(QString(QChar(0x00A0))); return i + 1;
        case u'-': return i + 1;  // optional hyphen
        case u'*': m_g.starNext = true; return i + 1;
        case u'\'': {
          bool ok = false;
          const int byte = m_in.mid(i + 1, 2).toInt(&ok, 16);
          if (ok) Byte(static_cast<unsigned char>(byte));
          return std::min(n, i + 3);
        }
        case u'\r':
        case u'\n': Paragraph(); return i + 1;
        default: return i + 1;
      }
    }
    qsizetype j = i;
    while (j < n && m_in[j].isLetter() && m_in[j].unicode() < 128) ++j;
    const QString word = m_in.mid(i, j - i);
    bool hasParam = false;
    int param = 0;
    qsizetype k = j;
    if (k < n && (m_in[k] == u'-' || m_in[k].isDigit())) {
      qsizetype d = k + 1;
      while (d < n && m_in[d].isDigit()) ++d;
      param = m_in.mid(k, d - k).toInt(&hasParam);
      k = d;
    }
    if (k < n && m_in[k] == u' ') ++k;
    Apply(word, hasParam, param);
    if (word == u"u" && hasParam) {
      // Skip the fallback characters that follow a Unicode escape.
      for (int s = 0; s < m_g.ucSkip && k < n; ++s) {
        if (m_in[k] == u'\\' && k + 1 < n && m_in[k + 1] == u'\'')
          k += 4;
        else
          ++k;
      }
    }
    return k;
  }

  void Apply(const QString& word, bool hasParam, int param) {
    if (m_g.starNext) {
      m_g.starNext = false;
      Flush();
      m_g.skip = true;
      return;
    }
    static const QStringList kSkipped{"info", "stylesheet", "colortbl", "pict", "object", "header", "footer"};
    if (kSkipped.contains(word)) {
      Flush();
      m_g.skip = true;
      return;
    }
    if (word == u"fonttbl") {
      Flush();
      m_g.fontTable = true;
      return;
    }
    if (m_g.fontTable) {
      if (word == u"f") {
        m_fontNumber = param;
        m_fontName.clear();
      } else if (word == u"fcharset") {
        m_fonts[m_fontNumber].charset = param;
      }
      return;
    }
    if (m_g.skip) return;

    const bool on = !hasParam || param != 0;
    if (word == u"par") {
      Paragraph();
    } else if (word == u"line") {
      Text(QString(QChar::LineSeparator));
    } else if (word == u"tab") {
      Text(QStringLiteral("\t"));
    } else if (word == u"b") {
      Flush();
      m_g.bold = on;
    } else if (word == u"i") {
      Flush();
      m_g.italic = on;
    } else if (word == u"fs") {
      Flush();
      if (hasParam && param > 0) m_g.halfPoints = param;
    } else if (word == u"f") {
      Flush();
      m_g.font = param;
    } else if (word == u"plain") {
      Flush();
      m_g.bold = m_g.italic = false;
      m_g.halfPoints = 24;
      m_g.font = 0;
    } else if (word == u"pard") {
      m_para = ParaState();
    } else if (word == u"li") {
      m_para.li = param;
    } else if (word == u"fi") {
      m_para.fi = param;
    } else if (word == u"ri") {
      m_para.ri = param;
    } else if (word == u"ql") {
      m_para.align = Qt::AlignLeft;
    } else if (word == u"qc") {
      m_para.align = Qt::AlignHCenter;
    } else if (word == u"qr") {
      m_para.align = Qt::AlignRight;
    } else if (word == u"qj") {
      m_para.align = Qt::AlignJustify;
    } else if (word == u"uc") {
      m_g.ucSkip = std::max(0, param);
    } else if (word == u"u" && hasParam) {
      Text(QString(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param))));
    }
    // Every other word (\rtf1, \ansi, \viewkind4, \pntext, ...) changes nothing shown.
  }

  void Byte(unsigned char byte) {
    if (m_g.fontTable || m_g.skip) return;
    const auto it = m_fonts.constFind(m_g.font);
    if (it != m_fonts.constEnd() && it->charset == 2 && byte == 0xB7) {
      Text(QString(QChar(0x2022)));  // the Symbol font's bullet
      return;
    }
    const char ch = static_cast<char>(byte);
    Text(base::FromCp1252(&ch, 1));
  }

  void Text(const QString& text) {
    if (m_g.skip) return;
    if (m_g.fontTable) {
      for (QChar c : text) {
        if (c == u';')
          FinishFontEntry();
        else
          m_fontName += c;
      }
      return;
    }
    if (m_pendingFormat != Format() && !m_pending.isEmpty()) Flush();
    m_pendingFormat = Format();
    m_pending += text;
  }

  void FinishFontEntry() {
    if (m_fontNumber >= 0) m_fonts[m_fontNumber].name = m_fontName.trimmed();
    m_fontName.clear();
  }

  QTextCharFormat Format() const {
    QTextCharFormat f;
    f.setFontWeight(m_g.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(m_g.italic);
    f.setFontPointSize(m_g.halfPoints / 2.0);
    const auto it = m_fonts.constFind(m_g.font);
    // Symbol-font text is mapped to ordinary characters above, so it is
    // drawn in the document's main font.
    if (it != m_fonts.constEnd() && it->charset != 2 && !it->name.isEmpty())
      f.setFontFamilies(QStringList{it->name});
    else if (m_fonts.contains(0) && !m_fonts[0].name.isEmpty())
      f.setFontFamilies(QStringList{m_fonts[0].name});
    return f;
  }

  QTextBlockFormat BlockFormat() const {
    QTextBlockFormat b;
    b.setLeftMargin(m_para.li / kTwipsPerPixel);
    b.setTextIndent(m_para.fi / kTwipsPerPixel);
    b.setRightMargin(m_para.ri / kTwipsPerPixel);
    b.setAlignment(m_para.align);
    if (m_para.fi < 0) {
      // Hanging indent: the tab after the bullet reaches the text's margin.
      QList<QTextOption::Tab> tabs;
      tabs << QTextOption::Tab(-m_para.fi / kTwipsPerPixel, QTextOption::LeftTab);
      b.setTabPositions(tabs);
    }
    return b;
  }

  void Flush() {
    if (m_pending.isEmpty()) return;
    m_cursor.insertText(m_pending, m_pendingFormat);
    m_pending.clear();
  }

  void Paragraph() {
    Flush();
    m_cursor.setBlockFormat(BlockFormat());
    QTextCharFormat f = Format();
    m_cursor.insertBlock(BlockFormat(), f);
  }

  const QString& m_in;
  QTextDocument& m_doc;
  QTextCursor m_cursor;
  GroupState m_g;
  std::vector<GroupState> m_stack;
  ParaState m_para;
  QHash<int, Font> m_fonts;
  int m_fontNumber = -1;
  QString m_fontName;
  QString m_pending;
  QTextCharFormat m_pendingFormat;
};

}  // namespace

void ReadRtf(const QString& rtf, QTextDocument& document) { Reader(rtf, document).Run(); }

}  // namespace qv::ui
