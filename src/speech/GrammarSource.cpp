#include "speech/GrammarSource.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <unordered_map>

namespace qv::speech {

QString Diagnostic::ToString() const {
  QString place = file;
  if (line > 0) {
    place += ":" + QString::number(line);
    if (column > 0) place += ":" + QString::number(column);
  }
  return place + (severity == Severity::Error ? ": error: " : ": warning: ") + message;
}

bool Diagnostic::FromString(const QString& text, Diagnostic& out) {
  static const QRegularExpression re(QStringLiteral("^(.*?)(?::(\\d+))?(?::(\\d+))?: (error|warning): (.*)$"));
  const auto m = re.match(text);
  if (!m.hasMatch()) return false;
  out.file = m.captured(1);
  out.line = m.captured(2).toInt();
  out.column = m.captured(3).toInt();
  out.severity = m.captured(4) == u"error" ? Severity::Error : Severity::Warning;
  out.message = m.captured(5);
  return true;
}

bool DecodeGrammarBytes(const QByteArray& bytes, QString& text) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    QStringDecoder dec(QStringDecoder::Utf16LE);
    text = dec(QByteArrayView(bytes.constData() + 2, bytes.size() - 2));
  } else {
    text = QString::fromUtf8(bytes);
  }
  return true;
}

bool ReadGrammarText(const QString& path, QString& text) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  return DecodeGrammarBytes(f.readAll(), text);
}

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\f' || c == u'\v'; }
bool IsSpace(QChar c) { return IsBlank(c) || c == u'\n'; }

// Characters that end a word inside a rule body.
bool EndsWord(QChar c) {
  return IsSpace(c) || c == u',' || c == u'(' || c == u')' || c == u'|' || c == u';' || c == u':' || c == u'<' ||
         c == u'>' || c == u'"' || c == u'!';
}

// Characters of the notation's neighbours that never belong in a word of a
// hand-written grammar.
bool IsNotationCharacter(QChar c) {
  return c == u'[' || c == u']' || c == u'{' || c == u'}' || c == u'=' || c == u'*' || c == u'+' || c == u'/' ||
         c == u'\\';
}

// The characters a phrase may hold inside its words.
bool IsPhraseWordCharacter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '\'' || u == '-' ||
         u == '.' || u == '_';
}

enum class Tok : uint8_t { Word, Ref, LParen, RParen, Bar, Optional, Ignore, Action, Punct };

// A token's text is a stretch of the file's text, copied out only when a
// node keeps it: a navaid list has a million tokens, so they are kept small
// (a grammar file is far below 4 G characters).
struct Token {
  Token(Tok k, qsizetype p, qsizetype at = 0, qsizetype size = 0)
      : kind(k), pos(static_cast<uint32_t>(p)), textAt(static_cast<uint32_t>(at)), textSize(static_cast<uint32_t>(size)) {}
  Tok kind;
  uint32_t pos;
  uint32_t textAt;
  uint32_t textSize;
};

const char* const kStatementDirectives[] = {"grammar", "import", "export", "start", "activatable"};

class Parser {
 public:
  Parser(const QString& text, const QString& fileName, std::vector<Diagnostic>& diags, ParseMode mode,
         QStringList* words)
      : m_t(text), m_n(text.size()), m_diags(diags), m_mode(mode), m_words(words) {
    m_file.fileName = fileName;
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < m_n; ++i)
      if (m_t[i] == u'\n') m_lineStarts.push_back(i + 1);
  }

  GrammarFile Run() {
    for (;;) {
      SkipSpace();
      if (m_pos >= m_n) break;
      if (m_pos == LineStart(m_pos) && Anchored(true)) continue;
      TokenStatement();
    }
    if (!m_headerSeen && !m_headerReported)
      Report(0, SyntaxSeverity(), "missing !grammar \"NAME\"; at the start of the file");
    return std::move(m_file);
  }

 private:
  // --- places --------------------------------------------------------------

  // Places are asked for mostly in increasing order: the line found last
  // and the one after it are tried before searching.
  int LineOf(qsizetype p) const {
    const int n = static_cast<int>(m_lineStarts.size());
    for (int l = m_lastLine; l <= m_lastLine + 1 && l <= n; ++l)
      if (m_lineStarts[l - 1] <= p && (l == n || p < m_lineStarts[l])) return m_lastLine = l;
    m_lastLine = static_cast<int>(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), p) - m_lineStarts.begin());
    return m_lastLine;
  }
  qsizetype LineStart(qsizetype p) const { return m_lineStarts[LineOf(p) - 1]; }
  int ColumnOf(qsizetype p) const { return static_cast<int>(p - LineStart(p)) + 1; }
  qsizetype LineEnd(qsizetype p) const {
    const qsizetype e = m_t.indexOf(u'\n', p);
    return e < 0 ? m_n : e;
  }

  Severity SyntaxSeverity() const { return m_mode == ParseMode::Lenient ? Severity::Warning : Severity::Error; }

  void Report(qsizetype p, Severity s, const QString& message) {
    Diagnostic d;
    d.file = m_file.fileName;
    d.line = p >= 0 ? LineOf(p) : 0;
    d.column = p >= 0 ? ColumnOf(p) : 0;
    d.severity = s;
    d.message = message;
    m_diags.push_back(std::move(d));
  }

  void SkipSpace() {
    while (m_pos < m_n && (IsSpace(m_t[m_pos]) || m_t[m_pos] == u',')) ++m_pos;
  }

  bool DirectiveAt(qsizetype p, const char* name, qsizetype* after = nullptr) const {
    if (p >= m_n || m_t[p] != u'!') return false;
    const QLatin1String n(name);
    if (QStringView(m_t).mid(p + 1, n.size()).compare(n, Qt::CaseInsensitive) != 0) return false;
    const qsizetype e = p + 1 + n.size();
    if (e < m_n && m_t[e].isLetter()) return false;
    if (after) *after = e;
    return true;
  }

  qsizetype SkipBlanks(qsizetype p) const {
    while (p < m_n && IsBlank(m_t[p])) ++p;
    return p;
  }

  // From `p`, the first place of `close` followed by blanks, `end` and blanks
  // up to the end of a line (the writers' statement lines end like this).
  // The name before it may run over a line end (a field holding one), but
  // not into a line that looks like a statement or a rule's end, and not
  // beyond the length of any name the writers produce. -1 when there is none.
  qsizetype StatementEnd(qsizetype p, QChar close, QChar end, qsizetype* next) const {
    constexpr qsizetype kLongestName = 512;
    for (qsizetype i = m_t.indexOf(close, p); i >= 0 && i - p <= kLongestName; i = m_t.indexOf(close, i + 1)) {
      const qsizetype nl = m_t.indexOf(u'\n', p);
      if (nl >= 0 && nl < i && !NameMayContinue(nl + 1, i)) return -1;
      qsizetype j = SkipBlanks(i + 1);
      if (j >= m_n || m_t[j] != end) continue;
      j = SkipBlanks(j + 1);
      if (j < m_n && m_t[j] != u'\n') continue;
      if (next) *next = j < m_n ? j + 1 : m_n;
      return i;
    }
    return -1;
  }

  bool NameMayContinue(qsizetype ls, qsizetype limit) const {
    for (; ls < limit; ls = LineEnd(ls) + 1) {
      const QStringView line = QStringView(m_t).mid(ls, std::min(LineEnd(ls), limit) - ls);
      if (line.startsWith(u'<') || line.startsWith(u'!') || line.trimmed() == u";") return false;
    }
    return true;
  }

  void SeenStatement(qsizetype p) {
    if (m_headerSeen || m_headerReported) return;
    m_headerReported = true;
    Report(p, SyntaxSeverity(), "missing !grammar \"NAME\"; at the start of the file");
  }

  // --- statements written as whole lines -------------------------------------

  // Reads the statement at the start of a line when it has the writers'
  // whole-line form. With `apply` false it only tells whether it has.
  bool Anchored(bool apply) {
    const qsizetype p = m_pos;
    qsizetype after = 0, next = 0;
    if (DirectiveAt(p, "grammar", &after)) {
      const qsizetype q = SkipBlanks(after);
      if (q >= m_n || m_t[q] != u'"') return false;
      const qsizetype e = StatementEnd(q + 1, u'"', u';', &next);
      if (e < 0) return false;
      if (apply) {
        Header(p, m_t.mid(q + 1, e - q - 1));
        m_pos = next;
      }
      return true;
    }
    for (const char* name : {"import", "export", "start"}) {
      if (!DirectiveAt(p, name, &after)) continue;
      const qsizetype q = SkipBlanks(after);
      if (q >= m_n || m_t[q] != u'<') return false;
      const qsizetype e = StatementEnd(q + 1, u'>', u';', &next);
      if (e < 0) return false;
      if (apply) {
        SeenStatement(p);
        NameList(name).push_back({m_t.mid(q + 1, e - q - 1).trimmed(), LineOf(q), ColumnOf(q)});
        m_pos = next;
      }
      return true;
    }
    if (DirectiveAt(p, "activatable", &after)) {
      qsizetype e = after;
      for (;; ++e) {
        e = m_t.indexOf(u';', e);
        if (e < 0) return false;
        const qsizetype j = SkipBlanks(e + 1);
        if (j >= m_n || m_t[j] == u'\n') {
          next = j < m_n ? j + 1 : m_n;
          break;
        }
      }
      if (apply) {
        SeenStatement(p);
        Activatable(after, e);
        m_pos = next;
      }
      return true;
    }
    if (p < m_n && m_t[p] == u'<') {
      const qsizetype e = StatementEnd(p + 1, u'>', u':', &next);
      if (e < 0) return false;
      if (apply) {
        SeenStatement(p);
        m_pos = next;
        Definition(m_t.mid(p + 1, e - p - 1).trimmed(), p, true);
      }
      return true;
    }
    return false;
  }

  std::vector<NameAt>& NameList(const QString& directive) {
    return directive == u"import" ? m_file.imports : directive == u"export" ? m_file.exports : m_file.starts;
  }

  void Header(qsizetype p, const QString& name) {
    if (m_headerSeen) {
      Report(p, SyntaxSeverity(), "second !grammar line in one file");
      return;
    }
    // A category of blanks makes a grammar without a name; nothing needs it.
    if (name.trimmed().isEmpty())
      Report(p, m_mode == ParseMode::Strict ? Severity::Error : Severity::Warning, "empty grammar name");
    m_headerSeen = true;
    m_file.grammarName = name;
  }

  // "<A> <B C> ;": names may hold blanks (checklist responses), so the start
  // rules named so far are matched first, longest first.
  void Activatable(qsizetype b, qsizetype e) {
    std::vector<QString> known;
    for (const auto& s : m_file.starts) known.push_back(s.name);
    std::sort(known.begin(), known.end(), [](const QString& x, const QString& y) { return x.size() > y.size(); });
    qsizetype i = b;
    for (;;) {
      while (i < e && IsSpace(m_t[i])) ++i;
      if (i >= e) break;
      if (m_t[i] != u'<') {
        Report(i, SyntaxSeverity(), "expected a rule name in angle brackets after !activatable");
        break;
      }
      qsizetype close = -1;
      for (const QString& k : known) {
        const qsizetype c = i + 1 + k.size();
        if (c < e && m_t[c] == u'>' && QStringView(m_t).mid(i + 1, k.size()) == k &&
            (c + 1 >= e || IsSpace(m_t[c + 1]))) {
          close = c;
          break;
        }
      }
      if (close < 0) close = m_t.indexOf(u'>', i);
      if (close < 0 || close > e) {
        Report(i, SyntaxSeverity(), "unclosed rule name after !activatable");
        break;
      }
      m_file.activatable.push_back({m_t.mid(i + 1, close - i - 1).trimmed(), LineOf(i), ColumnOf(i)});
      i = close + 1;
    }
  }

  // --- statements read token by token (hand-written forms) -------------------

  // Skips to just after the next ";" or to the next whole-line statement.
  void Recover() {
    while (m_pos < m_n) {
      if (m_t[m_pos] == u';') {
        ++m_pos;
        return;
      }
      if (m_t[m_pos] == u'\n') {
        ++m_pos;
        if (m_pos < m_n && (m_t[m_pos] == u'<' || m_t[m_pos] == u'!')) return;
        continue;
      }
      ++m_pos;
    }
  }

  void TokenStatement() {
    const qsizetype p = m_pos;
    if (m_t[p] == u'!') {
      qsizetype e = p + 1;
      while (e < m_n && m_t[e].isLetter()) ++e;
      const QString name = m_t.mid(p + 1, e - p - 1).toLower();
      m_pos = e;
      if (name == u"grammar") {
        qsizetype q = SkipBlanks(m_pos);
        const qsizetype close = q < m_n && m_t[q] == u'"' ? m_t.indexOf(u'"', q + 1) : -1;
        if (close < 0 || m_t.mid(q, close - q).contains(u'\n')) {
          Report(q, SyntaxSeverity(),
                 q < m_n && m_t[q] == u'"' ? QStringLiteral("unterminated text in quotes")
                                           : QStringLiteral("expected the grammar name in quotes"));
          Recover();
          return;
        }
        m_pos = SkipBlanks(close + 1);
        ExpectSemicolon();
        Header(p, m_t.mid(q + 1, close - q - 1));
        return;
      }
      SeenStatement(p);
      if (name == u"import" || name == u"export" || name == u"start") {
        const qsizetype q = SkipSpaceFrom(m_pos);
        const qsizetype close = q < m_n && m_t[q] == u'<' ? m_t.indexOf(u'>', q) : -1;
        if (close < 0 || m_t.mid(q, close - q).contains(u'\n')) {
          Report(q, SyntaxSeverity(), "expected a rule name in angle brackets");
          Recover();
          return;
        }
        NameList(name).push_back({m_t.mid(q + 1, close - q - 1).trimmed(), LineOf(q), ColumnOf(q)});
        m_pos = SkipBlanks(close + 1);
        ExpectSemicolon();
        return;
      }
      if (name == u"activatable") {
        const qsizetype semi = m_t.indexOf(u';', m_pos);
        const qsizetype end = semi < 0 ? m_n : semi;
        Activatable(m_pos, end);
        if (semi < 0) Report(end, SyntaxSeverity(), "expected \";\", found end of file");
        m_pos = semi < 0 ? m_n : semi + 1;
        return;
      }
      if (name == u"action" || name == u"ignore" || name == u"optional")
        Report(p, SyntaxSeverity(), "!" + name + " outside a rule definition");
      else
        Report(p, SyntaxSeverity(), "unknown directive !" + name);
      Recover();
      return;
    }
    if (m_t[p] == u'<') {
      const qsizetype close = m_t.indexOf(u'>', p);
      if (close < 0 || m_t.mid(p, close - p).contains(u'\n')) {
        Report(p, SyntaxSeverity(), "unclosed rule name");
        Recover();
        return;
      }
      SeenStatement(p);
      const QString name = m_t.mid(p + 1, close - p - 1).trimmed();
      m_pos = SkipSpaceFrom(close + 1);
      if (m_pos >= m_n || m_t[m_pos] != u':') {
        Report(m_pos, SyntaxSeverity(), "expected \":\" after the rule name");
        Recover();
        return;
      }
      ++m_pos;
      Definition(name, p, false);
      return;
    }
    Report(p, SyntaxSeverity(), QString("expected a directive or a rule definition, found \"%1\"").arg(m_t[p]));
    Recover();
  }

  qsizetype SkipSpaceFrom(qsizetype p) const {
    while (p < m_n && IsSpace(m_t[p])) ++p;
    return p;
  }

  void ExpectSemicolon() {
    if (m_pos < m_n && m_t[m_pos] == u';') {
      ++m_pos;
      return;
    }
    qsizetype at = m_pos;
    if (at < m_n && m_t[at] == u'\n')
      while (at > 0 && IsBlank(m_t[at - 1])) --at;  // right after the line's last character
    Report(at, SyntaxSeverity(),
           m_pos >= m_n          ? QStringLiteral("expected \";\", found end of file")
           : m_t[m_pos] == u'\n' ? QStringLiteral("expected \";\" at the end of the line")
                                 : QString("expected \";\", found \"%1\"").arg(m_t[m_pos]));
    Recover();
  }

  // --- rule bodies ------------------------------------------------------------

  // A rule whose header was a whole line ends at the first line holding only
  // ";" (before the next statement line); otherwise at the first ";".
  void Definition(const QString& name, qsizetype at, bool wholeLine) {
    RuleDefinition rule;
    rule.name = name;
    rule.line = LineOf(at);
    if (name.isEmpty() && m_mode == ParseMode::Strict) Report(at, Severity::Error, "empty rule name \"<>\"");
    qsizetype bodyEnd = -1, next = -1;
    if (wholeLine) {
      for (qsizetype ls = m_pos; ls < m_n;) {
        const qsizetype le = LineEnd(ls);
        if (QStringView(m_t).mid(ls, le - ls).trimmed() == u";") {
          bodyEnd = ls;
          next = le < m_n ? le + 1 : m_n;
          break;
        }
        const qsizetype keep = m_pos;
        m_pos = ls;
        const bool statement = Anchored(false);
        m_pos = keep;
        if (statement) break;
        ls = le + 1;
      }
    }
    std::vector<Token> tokens;
    if (bodyEnd >= 0) {
      Lex(m_pos, bodyEnd, false, tokens);
      m_pos = next;
    } else {
      m_pos = Lex(m_pos, m_n, true, tokens);
    }
    rule.body = Body(tokens, at);
    m_file.rules.push_back(std::move(rule));
  }

  QString Unexpected(QChar c) const {
    return m_mode == ParseMode::Phrases ? QString("the character \"%1\" is not allowed in a phrase").arg(c)
                                        : QString("unexpected character \"%1\"").arg(c);
  }

  void Punct(std::vector<Token>& out, qsizetype p, Severity s, const QString& message) {
    Report(p, s, message);
    out.push_back({Tok::Punct, p});
  }

  // Cuts [b, e) into tokens. With `toSemicolon` the body ends at the first
  // ";" (or, with a warning, before the next whole-line statement); returns
  // the place after it.
  qsizetype Lex(qsizetype b, qsizetype e, bool toSemicolon, std::vector<Token>& out) {
    const Severity syntax = SyntaxSeverity();
    out.reserve(out.size() + static_cast<size_t>((e - b) / 3));
    qsizetype p = b;
    while (p < e) {
      const QChar c = m_t[p];
      if (IsSpace(c) || c == u',') {
        if (c == u'\n' && toSemicolon) {
          const qsizetype keep = m_pos;
          m_pos = p + 1;
          const bool statement = m_pos < m_n && Anchored(false);
          m_pos = keep;
          if (statement) {
            Report(out.empty() ? p : out.back().pos, syntax, "missing \";\" at the end of the rule");
            return p + 1;
          }
        }
        ++p;
        continue;
      }
      switch (c.unicode()) {
        case '(': out.push_back({Tok::LParen, p++}); continue;
        case ')': out.push_back({Tok::RParen, p++}); continue;
        case '|': out.push_back({Tok::Bar, p++}); continue;
        case ';':
          if (toSemicolon) return p + 1;
          Punct(out, p++, syntax, Unexpected(u';'));
          continue;
        case ':': Punct(out, p++, syntax, Unexpected(u':')); continue;
        case '"': Punct(out, p++, syntax, Unexpected(u'"')); continue;
        case '>': Punct(out, p++, Severity::Warning, "\">\" without \"<\" is not spoken"); continue;
        default: break;
      }
      if (c == u'<') {
        // A list name holds no mark of the notation: "a<b) | >c" is a
        // stray "<", a group's end and a stray ">".
        qsizetype close = p + 1;
        while (close < e && m_t[close] != u'>' && m_t[close] != u'<' && m_t[close] != u'\n' && m_t[close] != u'(' &&
               m_t[close] != u')' && m_t[close] != u'|' && m_t[close] != u'"' && m_t[close] != u'!' &&
               m_t[close] != u';')
          ++close;
        if (close >= e || m_t[close] != u'>') {
          Punct(out, p++, Severity::Warning, "\"<\" without \">\" is not spoken");
          continue;
        }
        const QStringView name = QStringView(m_t).mid(p + 1, close - p - 1).trimmed();
        if (name.isEmpty()) {
          Punct(out, p, Severity::Warning, "an empty list reference \"<>\" is not spoken");
        } else {
          out.push_back({Tok::Ref, p, name.data() - m_t.constData(), name.size()});
        }
        p = close + 1;
        continue;
      }
      if (c == u'!') {
        qsizetype n = p + 1;
        while (n < e && m_t[n].isLetter()) ++n;
        const QStringView word = QStringView(m_t).mid(p + 1, n - p - 1);
        const auto is = [&](const char* d) { return word.compare(QLatin1String(d), Qt::CaseInsensitive) == 0; };
        if (is("optional") || is("ignore")) {
          out.push_back({is("optional") ? Tok::Optional : Tok::Ignore, p});
          p = n;
          continue;
        }
        if (is("action")) {
          p = Action(p, n, e, out);
          continue;
        }
        const QString name = word.toString().toLower();
        bool statement = false;
        for (const char* s : kStatementDirectives) statement = statement || name == QLatin1String(s);
        if (m_mode == ParseMode::Phrases)
          Punct(out, p, syntax, Unexpected(u'!'));
        else if (statement)
          Punct(out, p, syntax, "!" + name + " inside a rule definition (missing \";\" before it?)");
        else if (name.isEmpty())
          Punct(out, p, syntax, "unexpected \"!\"");
        else
          Punct(out, p, syntax, "unknown directive !" + name);
        p = std::max(n, p + 1);
        continue;
      }
      qsizetype w = p;
      while (w < e && !EndsWord(m_t[w])) ++w;
      bool bad = false, sound = false;
      for (qsizetype i = p; i < w; ++i) {
        const QChar ch = m_t[i];
        sound = sound || ch.isLetterOrNumber();
        if (bad) continue;
        bad = (m_mode == ParseMode::Strict && (IsNotationCharacter(ch) || ch.unicode() < 32)) ||
              (m_mode == ParseMode::Phrases && !IsPhraseWordCharacter(ch));
        if (bad) Report(i, Severity::Error, Unexpected(ch));
      }
      // A faulty mark on its own is reported once, as the fault.
      out.push_back({bad && !sound ? Tok::Punct : Tok::Word, p, p, w - p});
      p = w;
    }
    if (toSemicolon) Report(out.empty() ? e : out.back().pos, syntax, "missing \";\" at the end of the rule");
    return e;
  }

  // "!action" + "(" + text in quotes + ")". The text runs to the last '")'
  // before the next "!action(" on its line, so that a quotation mark inside
  // it (a navaid's action text) does not end it.
  qsizetype Action(qsizetype p, qsizetype afterName, qsizetype e, std::vector<Token>& out) {
    const qsizetype le = std::min(LineEnd(p), e);
    qsizetype q = SkipBlanks(afterName);
    if (q < le && m_t[q] == u'(')
      q = SkipBlanks(q + 1);
    else
      q = le;
    if (q >= le || m_t[q] != u'"') {
      Punct(out, p, SyntaxSeverity(), "expected \"(\" and a text in quotes after !action");
      return afterName;
    }
    qsizetype limit = m_t.indexOf(QLatin1String("!action("), q, Qt::CaseInsensitive);
    if (limit < 0 || limit > le) limit = le;
    qsizetype close = -1;
    for (qsizetype i = limit - 1; i > q; --i) {
      if (m_t[i] != u')') continue;
      qsizetype j = i - 1;
      while (j > q && IsBlank(m_t[j])) --j;
      if (j > q && m_t[j] == u'"') {
        close = j;
        limit = i;
        break;
      }
    }
    if (close < 0) {
      Punct(out, p, SyntaxSeverity(), "unterminated text in quotes");
      return le;
    }
    out.push_back({Tok::Action, p, q + 1, close - q - 1});
    return limit + 1;
  }

  // Pairs the parentheses; a parenthesis without its partner is left
  // unspoken with a problem report, and so is a directive that has no group
  // to work on. Parentheses are paired within their line first, then a "("
  // ending a line with a ")" starting one (the writers' layout of groups
  // over several lines), then whatever is left: so an unclosed "(" inside a
  // phrase is reported where it is, not at the group around the phrase.
  bool LastOnLine(qsizetype p) const {
    const qsizetype e = LineEnd(p);
    for (qsizetype i = p + 1; i < e; ++i)
      if (!IsBlank(m_t[i])) return false;
    return true;
  }
  bool FirstOnLine(qsizetype p) const {
    for (qsizetype i = LineStart(p); i < p; ++i)
      if (!IsBlank(m_t[i])) return false;
    return true;
  }

  GrammarNode Body(std::vector<Token>& tokens, qsizetype at) {
    m_partner.assign(tokens.size(), 0);
    std::vector<size_t> left;  // unpaired after the first round
    {
      std::vector<size_t> open;
      int line = -1;
      for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Tok::LParen && tokens[i].kind != Tok::RParen) continue;
        const int l = LineOf(tokens[i].pos);
        if (l != line) {
          left.insert(left.end(), open.begin(), open.end());
          open.clear();
          line = l;
        }
        if (tokens[i].kind == Tok::LParen) {
          open.push_back(i);
        } else if (!open.empty()) {
          m_partner[open.back()] = static_cast<uint32_t>(i);
          open.pop_back();
        } else {
          left.push_back(i);
        }
      }
      left.insert(left.end(), open.begin(), open.end());
      std::sort(left.begin(), left.end());
    }
    std::vector<uint8_t> paired(tokens.size(), 0);
    for (int round = 0; round < 2; ++round) {
      std::vector<size_t> open;
      for (size_t i : left) {
        if (paired[i]) continue;
        const bool isOpen = tokens[i].kind == Tok::LParen;
        const bool layout = isOpen ? LastOnLine(tokens[i].pos) : FirstOnLine(tokens[i].pos);
        if (round == 0 && !layout) continue;
        if (isOpen) {
          open.push_back(i);
        } else if (!open.empty()) {
          m_partner[open.back()] = static_cast<uint32_t>(i);
          paired[open.back()] = paired[i] = 1;
          open.pop_back();
        }
      }
    }
    for (size_t i : left) {
      if (paired[i]) continue;
      Report(tokens[i].pos, SyntaxSeverity(),
             tokens[i].kind == Tok::LParen ? QStringLiteral("\"(\" is not closed")
                                           : QStringLiteral("\")\" without a matching \"(\""));
      tokens[i].kind = Tok::Punct;
    }
    for (size_t i = 0; i < tokens.size(); ++i) {
      if (tokens[i].kind != Tok::Optional && tokens[i].kind != Tok::Ignore) continue;
      if (i + 1 < tokens.size() && tokens[i + 1].kind == Tok::LParen) continue;
      Report(tokens[i].pos, SyntaxSeverity(),
             QString("expected \"(\" after !%1").arg(tokens[i].kind == Tok::Optional ? "optional" : "ignore"));
      tokens[i].kind = Tok::Punct;
    }
    size_t i = 0;
    GrammarNode body = Alternatives(tokens, i, tokens.size(), at);
    return body;
  }

  void Place(GrammarNode& node, qsizetype p) {
    node.line = LineOf(p);
    node.column = ColumnOf(p);
  }

  QString Text(const Token& t) const { return m_t.mid(t.textAt, t.textSize); }

  // Words and list names repeat thousands of times in a navaid list ("I L
  // S", <NUM_1>): every repeat shares the first one's text.
  QString SharedText(const Token& t) {
    const QStringView v = QStringView(m_t).mid(t.textAt, t.textSize);
    auto [it, added] = (t.kind == Tok::Word ? m_sharedWords : m_sharedRefs).try_emplace(v);
    if (added) {
      it->second = v.toString();
      if (m_words && t.kind == Tok::Word) m_words->append(it->second);
    }
    return it->second;
  }

  // The token after the item at i (a group, with what it applies to, is one
  // item).
  size_t NextItem(const std::vector<Token>& t, size_t i) const {
    if ((t[i].kind == Tok::Optional || t[i].kind == Tok::Ignore) && i + 1 < t.size() && t[i + 1].kind == Tok::LParen)
      ++i;
    return t[i].kind == Tok::LParen ? m_partner[i] + 1 : i + 1;
  }

  // Node lists are allocated at their final size: a navaid list has
  // hundreds of thousands of nodes.
  size_t CountWays(const std::vector<Token>& t, size_t i, size_t end) const {
    size_t n = 1;
    for (; i < end; i = NextItem(t, i)) n += t[i].kind == Tok::Bar ? 1 : 0;
    return n;
  }
  size_t CountItems(const std::vector<Token>& t, size_t i, size_t end) const {
    size_t n = 0;
    for (; i < end && t[i].kind != Tok::Bar; i = NextItem(t, i))
      n += t[i].kind == Tok::Word || t[i].kind == Tok::Ref || t[i].kind == Tok::LParen || t[i].kind == Tok::Optional ||
                   t[i].kind == Tok::Ignore
               ? 1
               : 0;
    return n;
  }

  GrammarNode Alternatives(const std::vector<Token>& t, size_t& i, size_t end, qsizetype at) {
    const qsizetype place = i < end ? t[i].pos : at;
    GrammarNode first = Sequence(t, i, end, at);
    if (i >= end || t[i].kind != Tok::Bar) return first;
    GrammarNode alt;
    alt.kind = GrammarNode::Kind::Alternatives;
    Place(alt, place);
    alt.children.reserve(CountWays(t, i, end));
    alt.children.push_back(std::move(first));
    while (i < end && t[i].kind == Tok::Bar) {
      ++i;
      alt.children.push_back(Sequence(t, i, end, i < end ? t[i].pos : at));
    }
    return alt;
  }

  GrammarNode Group(const std::vector<Token>& t, size_t& i) {
    const size_t close = m_partner[i];
    const qsizetype at = t[i].pos;
    ++i;
    GrammarNode inner = Alternatives(t, i, close, at);
    i = close + 1;
    inner.group = true;
    Place(inner, at);
    return inner;
  }

  GrammarNode Sequence(const std::vector<Token>& t, size_t& i, size_t end, qsizetype at) {
    GrammarNode seq;
    seq.kind = GrammarNode::Kind::Sequence;
    Place(seq, i < end ? t[i].pos : at);
    seq.children.reserve(CountItems(t, i, end));
    while (i < end && t[i].kind != Tok::Bar) {
      const Token& tok = t[i];
      switch (tok.kind) {
        case Tok::Word:
        case Tok::Ref: {
          GrammarNode leaf;
          leaf.kind = tok.kind == Tok::Word ? GrammarNode::Kind::Word : GrammarNode::Kind::Ref;
          leaf.text = SharedText(tok);
          Place(leaf, tok.pos);
          seq.children.push_back(std::move(leaf));
          ++i;
          break;
        }
        case Tok::LParen: seq.children.push_back(Group(t, i)); break;
        case Tok::Optional: {
          GrammarNode opt;
          opt.kind = GrammarNode::Kind::Optional;
          Place(opt, tok.pos);
          ++i;
          opt.children.push_back(Group(t, i));
          seq.children.push_back(std::move(opt));
          break;
        }
        case Tok::Ignore:
          ++i;
          seq.children.push_back(Group(t, i));
          break;
        case Tok::Action:
          seq.actions << Text(tok);
          ++i;
          break;
        default:  // unpaired marks and punctuation: nothing to say
          ++i;
          break;
      }
    }
    return seq;
  }

  const QString& m_t;
  const qsizetype m_n;
  qsizetype m_pos = 0;
  std::vector<qsizetype> m_lineStarts;
  mutable int m_lastLine = 1;
  std::vector<Diagnostic>& m_diags;
  ParseMode m_mode;
  GrammarFile m_file;
  bool m_headerSeen = false;
  bool m_headerReported = false;
  std::vector<uint32_t> m_partner;
  struct ViewHash {
    size_t operator()(QStringView v) const noexcept {
      uint64_t h = 1469598103934665603ull;
      for (QChar c : v) {
        h ^= c.unicode();
        h *= 1099511628211ull;
      }
      return static_cast<size_t>(h ^ (h >> 32));
    }
  };
  std::unordered_map<QStringView, QString, ViewHash> m_sharedWords, m_sharedRefs;
  QStringList* m_words;
};

}  // namespace

GrammarFile ParseGrammar(const QString& text, const QString& fileName, std::vector<Diagnostic>& diagnostics,
                         ParseMode mode, QStringList* words) {
  return Parser(text, fileName, diagnostics, mode, words).Run();
}

void CollectWords(const GrammarNode& node, std::vector<const GrammarNode*>& out) {
  if (node.kind == GrammarNode::Kind::Word) out.push_back(&node);
  for (const auto& c : node.children) CollectWords(c, out);
}

void CollectRefs(const GrammarNode& node, std::vector<const GrammarNode*>& out) {
  if (node.kind == GrammarNode::Kind::Ref) out.push_back(&node);
  for (const auto& c : node.children) CollectRefs(c, out);
}

bool SaysNothing(const GrammarNode& node) {
  if (node.kind == GrammarNode::Kind::Word || node.kind == GrammarNode::Kind::Ref) return false;
  return std::all_of(node.children.begin(), node.children.end(), [](const GrammarNode& c) { return SaysNothing(c); });
}

}  // namespace qv::speech
