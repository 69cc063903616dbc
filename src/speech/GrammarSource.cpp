#include "speech/GrammarSource.h"

#include <QFile>
#include <QStringDecoder>

namespace qv::speech {

bool ReadGrammarText(const QString& path, QString& text) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    QStringDecoder dec(QStringDecoder::Utf16LE);
    text = dec(bytes.mid(2));
  } else {
    text = QString::fromUtf8(bytes);
  }
  return true;
}

namespace {

enum class Tok { End, Directive, Ref, String, Word, LParen, RParen, Bar, Semi, Colon, Bad };

struct Token {
  Tok kind = Tok::End;
  QString text;
  int line = 1;
};

// Characters that end a word. A comma separates words as a space does: it is
// punctuation in a phrase, nothing the speaker says.
bool IsSpecial(QChar c) {
  return c.isSpace() || c == u'(' || c == u')' || c == u'|' || c == u';' || c == u':' || c == u'<' || c == u'>' ||
         c == u'"' || c == u'!' || c == u',' || c == u'[' || c == u']' || c == u'{' || c == u'}' || c == u'=' ||
         c == u'*' || c == u'+' || c == u'/';
}

class Lexer {
 public:
  explicit Lexer(const QString& text) : m_text(text) {}

  Token Next() {
    SkipSpace();
    Token t;
    t.line = m_line;
    if (m_pos >= m_text.size()) return t;
    const QChar c = m_text[m_pos];
    switch (c.unicode()) {
      case '(':
        ++m_pos;
        t.kind = Tok::LParen;
        t.text = "(";
        return t;
      case ')':
        ++m_pos;
        t.kind = Tok::RParen;
        t.text = ")";
        return t;
      case '|':
        ++m_pos;
        t.kind = Tok::Bar;
        t.text = "|";
        return t;
      case ';':
        ++m_pos;
        t.kind = Tok::Semi;
        t.text = ";";
        return t;
      case ':':
        ++m_pos;
        t.kind = Tok::Colon;
        t.text = ":";
        return t;
      default: break;
    }
    if (c == u'!') {
      qsizetype e = m_pos + 1;
      while (e < m_text.size() && m_text[e].isLetter()) ++e;
      t.kind = Tok::Directive;
      t.text = m_text.mid(m_pos, e - m_pos);
      m_pos = e;
      return t;
    }
    if (c == u'<') {
      // Rule names may hold spaces (checklist responses), never a line end.
      qsizetype e = m_pos + 1;
      while (e < m_text.size() && m_text[e] != u'>' && m_text[e] != u'\n' && m_text[e] != u'<') ++e;
      if (e >= m_text.size() || m_text[e] != u'>') {
        t.kind = Tok::Bad;
        t.text = "unclosed rule name \"" + m_text.mid(m_pos, e - m_pos).trimmed() + "\"";
        m_pos = e;
        return t;
      }
      t.kind = Tok::Ref;
      t.text = m_text.mid(m_pos + 1, e - m_pos - 1).trimmed();
      m_pos = e + 1;
      if (t.text.isEmpty()) {
        t.kind = Tok::Bad;
        t.text = "empty rule name \"<>\"";
      }
      return t;
    }
    if (c == u'"') {
      qsizetype e = m_pos + 1;
      while (e < m_text.size() && m_text[e] != u'"' && m_text[e] != u'\n') ++e;
      if (e >= m_text.size() || m_text[e] != u'"') {
        t.kind = Tok::Bad;
        t.text = "unterminated text in quotes";
        m_pos = e;
        return t;
      }
      t.kind = Tok::String;
      t.text = m_text.mid(m_pos + 1, e - m_pos - 1);
      m_pos = e + 1;
      return t;
    }
    if (IsSpecial(c)) {
      ++m_pos;
      t.kind = Tok::Bad;
      t.text = QString("unexpected character \"%1\"").arg(c);
      return t;
    }
    qsizetype e = m_pos;
    while (e < m_text.size() && !IsSpecial(m_text[e])) ++e;
    t.kind = Tok::Word;
    t.text = m_text.mid(m_pos, e - m_pos);
    m_pos = e;
    return t;
  }

 private:
  void SkipSpace() {
    while (m_pos < m_text.size() && (m_text[m_pos].isSpace() || m_text[m_pos] == u',')) {
      if (m_text[m_pos] == u'\n') ++m_line;
      ++m_pos;
    }
  }

  const QString& m_text;
  qsizetype m_pos = 0;
  int m_line = 1;
};

struct SyntaxError {
  int line;
  QString message;
};

class Parser {
 public:
  Parser(const QString& text, const QString& fileName, std::vector<Diagnostic>& diags) : m_lex(text), m_diags(diags) {
    m_file.fileName = fileName;
    Advance();
  }

  GrammarFile Run() {
    bool headerSeen = false;
    while (m_tok.kind != Tok::End) {
      try {
        Statement(headerSeen);
      } catch (const SyntaxError& e) {
        m_diags.push_back({m_file.fileName, e.line, e.message});
        Recover();
      }
    }
    if (!headerSeen && !m_headerReported)
      m_diags.push_back({m_file.fileName, 1, "missing !grammar \"NAME\"; at the start of the file"});
    return std::move(m_file);
  }

 private:
  void Advance() { m_tok = m_lex.Next(); }

  [[noreturn]] void Fail(const QString& expected) {
    if (m_tok.kind == Tok::Bad) throw SyntaxError{m_tok.line, m_tok.text};
    const QString found = m_tok.kind == Tok::End ? QString("end of file") : "\"" + m_tok.text + "\"";
    throw SyntaxError{m_tok.line, "expected " + expected + ", found " + found};
  }

  Token Expect(Tok kind, const QString& what) {
    if (m_tok.kind != kind) Fail(what);
    Token t = m_tok;
    Advance();
    return t;
  }

  // Skip to just after the next ";" (or the end).
  void Recover() {
    while (m_tok.kind != Tok::End && m_tok.kind != Tok::Semi) Advance();
    if (m_tok.kind == Tok::Semi) Advance();
  }

  void Statement(bool& headerSeen) {
    if (m_tok.kind == Tok::Directive) {
      const Token d = m_tok;
      const QString name = d.text.toLower();
      if (name == "!grammar") {
        Advance();
        const Token s = Expect(Tok::String, "the grammar name in quotes");
        Expect(Tok::Semi, "\";\"");
        if (headerSeen) throw SyntaxError{d.line, "second !grammar line in one file"};
        if (s.text.trimmed().isEmpty()) throw SyntaxError{d.line, "empty grammar name"};
        headerSeen = true;
        m_file.grammarName = s.text;
        return;
      }
      if (!headerSeen && !m_headerReported) {
        m_headerReported = true;
        m_diags.push_back({m_file.fileName, d.line, "missing !grammar \"NAME\"; at the start of the file"});
      }
      if (name == "!import" || name == "!export" || name == "!start") {
        Advance();
        const Token r = Expect(Tok::Ref, "a rule name in angle brackets");
        Expect(Tok::Semi, "\";\"");
        auto& list = name == "!import" ? m_file.imports : name == "!export" ? m_file.exports : m_file.starts;
        list.push_back({r.text, r.line});
        return;
      }
      if (name == "!activatable") {
        Advance();
        std::vector<NameAt> refs;
        while (m_tok.kind == Tok::Ref) {
          refs.push_back({m_tok.text, m_tok.line});
          Advance();
        }
        Expect(Tok::Semi, "a rule name or \";\"");
        m_file.activatable.insert(m_file.activatable.end(), refs.begin(), refs.end());
        return;
      }
      if (name == "!action" || name == "!ignore" || name == "!optional")
        throw SyntaxError{d.line, d.text + " outside a rule definition"};
      throw SyntaxError{d.line, "unknown directive " + d.text};
    }
    if (m_tok.kind == Tok::Ref) {
      if (!headerSeen && !m_headerReported) {
        m_headerReported = true;
        m_diags.push_back({m_file.fileName, m_tok.line, "missing !grammar \"NAME\"; at the start of the file"});
      }
      RuleDefinition rule;
      rule.name = m_tok.text;
      rule.line = m_tok.line;
      Advance();
      Expect(Tok::Colon, "\":\" after the rule name");
      rule.body = Expression();
      if (m_tok.kind == Tok::RParen) throw SyntaxError{m_tok.line, "\")\" without a matching \"(\""};
      Expect(Tok::Semi, "\";\" at the end of the rule");
      m_file.rules.push_back(std::move(rule));
      return;
    }
    Fail("a directive or a rule definition");
  }

  // alternatives := sequence { "|" sequence }
  GrammarNode Expression() {
    GrammarNode alt;
    alt.kind = GrammarNode::Kind::Alternatives;
    alt.line = m_tok.line;
    alt.children.push_back(Sequence());
    while (m_tok.kind == Tok::Bar) {
      Advance();
      alt.children.push_back(Sequence());
    }
    if (alt.children.size() == 1) return std::move(alt.children.front());
    return alt;
  }

  GrammarNode Sequence() {
    GrammarNode seq;
    seq.kind = GrammarNode::Kind::Sequence;
    seq.line = m_tok.line;
    for (;;) {
      switch (m_tok.kind) {
        case Tok::Word:
        case Tok::Ref: {
          GrammarNode leaf;
          leaf.kind = m_tok.kind == Tok::Word ? GrammarNode::Kind::Word : GrammarNode::Kind::Ref;
          leaf.text = m_tok.text;
          leaf.line = m_tok.line;
          seq.children.push_back(std::move(leaf));
          Advance();
          break;
        }
        case Tok::LParen: seq.children.push_back(Group()); break;
        case Tok::Directive: {
          const Token d = m_tok;
          const QString name = d.text.toLower();
          if (name == "!action") {
            Advance();
            Expect(Tok::LParen, "\"(\" after !action");
            const Token s = Expect(Tok::String, "the action text in quotes");
            Expect(Tok::RParen, "\")\" after the action text");
            seq.actions << s.text;
          } else if (name == "!ignore") {
            Advance();
            seq.children.push_back(Group());
          } else if (name == "!optional") {
            Advance();
            GrammarNode opt;
            opt.kind = GrammarNode::Kind::Optional;
            opt.line = d.line;
            opt.children.push_back(Group());
            seq.children.push_back(std::move(opt));
          } else if (name == "!grammar" || name == "!import" || name == "!export" || name == "!start" ||
                     name == "!activatable") {
            throw SyntaxError{d.line, d.text + " inside a rule definition (missing \";\" before it?)"};
          } else {
            throw SyntaxError{d.line, "unknown directive " + d.text};
          }
          break;
        }
        case Tok::Bad: Fail("");
        default: return seq;
      }
    }
  }

  GrammarNode Group() {
    const Token open = Expect(Tok::LParen, "\"(\"");
    GrammarNode inner = Expression();
    if (m_tok.kind != Tok::RParen) {
      if (m_tok.kind == Tok::Semi || m_tok.kind == Tok::End || m_tok.kind == Tok::Colon)
        throw SyntaxError{open.line, "\"(\" is not closed"};
      Fail("\")\"");
    }
    Advance();
    return inner;
  }

  Lexer m_lex;
  Token m_tok;
  std::vector<Diagnostic>& m_diags;
  GrammarFile m_file;
  bool m_headerReported = false;
};

}  // namespace

GrammarFile ParseGrammar(const QString& text, const QString& fileName, std::vector<Diagnostic>& diagnostics) {
  return Parser(text, fileName, diagnostics).Run();
}

void CollectWords(const GrammarNode& node, std::vector<const GrammarNode*>& out) {
  if (node.kind == GrammarNode::Kind::Word) out.push_back(&node);
  for (const auto& c : node.children) CollectWords(c, out);
}

void CollectRefs(const GrammarNode& node, std::vector<const GrammarNode*>& out) {
  if (node.kind == GrammarNode::Kind::Ref) out.push_back(&node);
  for (const auto& c : node.children) CollectRefs(c, out);
}

}  // namespace qv::speech
