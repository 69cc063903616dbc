#pragma once

// The straightforward INI reader and writer the program used before the lazy
// one: every line decoded, every name upper-cased and hashed. Slow, but its
// rules are easy to read, so the tests hold the fast reader to it.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "base/Cp1252.h"

namespace qv::test {

class ReferenceIni {
 public:
  explicit ReferenceIni(const QByteArray& bytes) : m_bytes(bytes) { parse(); }
  const QByteArray& bytes() const { return m_bytes; }

  QString value(const QString& section, const QString& key, bool* found = nullptr) const {
    const int line = findKey(findSection(section), key);
    if (found) *found = line >= 0;
    if (line < 0) return QString();
    return Unquote(m_lines[line].rawValue).left(511);
  }

  QStringList sectionNames() const {
    QStringList names;
    for (const Section& s : m_sections) names << s.name;
    return names;
  }

  void setValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray keyLine = base::ToCp1252(Trim(key) + u'=' + value);
    const int s = findSection(section);
    if (s < 0) {
      if (!m_bytes.isEmpty() && !m_bytes.endsWith('\n')) m_bytes += "\r\n";
      m_bytes += "[" + base::ToCp1252(Trim(section)) + "]\r\n" + keyLine + "\r\n";
    } else if (const int k = findKey(s, key); k >= 0) {
      const Line& line = m_lines[k];
      m_bytes.replace(line.start, line.end - line.start, base::ToCp1252(line.name + u'=' + value));
    } else {
      const Line& last = m_lines[m_sections[s].lastLine];
      const bool open = last.next == m_bytes.size() && !m_bytes.endsWith('\n');
      m_bytes.insert(last.next, (open ? (m_bytes.endsWith('\r') ? "\n" : "\r\n") : "") + keyLine + "\r\n");
    }
    parse();
  }

 private:
  struct Line {
    qsizetype start = 0, end = 0, next = 0;
    bool key = false;
    QString name, rawValue;
  };
  struct Section {
    QString name;
    int lastLine = -1;
    QHash<QString, int> keys;
  };

  static QString Trim(const QString& s) {
    qsizetype a = 0, b = s.size();
    while (a < b && (s[a] == u' ' || s[a] == u'\t')) ++a;
    while (b > a && (s[b - 1] == u' ' || s[b - 1] == u'\t')) --b;
    return s.mid(a, b - a);
  }
  static QString Unquote(const QString& v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
      return v.mid(1, v.size() - 2);
    return v;
  }

  void parse() {
    m_lines.clear();
    m_sections.clear();
    m_index.clear();
    int current = -1;
    for (qsizetype pos = 0; pos < m_bytes.size();) {
      Line line;
      line.start = pos;
      const qsizetype lf = m_bytes.indexOf('\n', pos);
      line.end = lf < 0 ? m_bytes.size() : lf;
      line.next = lf < 0 ? m_bytes.size() : lf + 1;
      while (line.end > line.start && m_bytes[line.end - 1] == '\r') --line.end;
      const QString text = Trim(base::FromCp1252(m_bytes.constData() + line.start, line.end - line.start));
      const int index = int(m_lines.size());
      if (!text.isEmpty() && text.front() == u'[') {
        const qsizetype close = text.indexOf(u']');
        m_sections.push_back({Trim(close < 0 ? text.mid(1) : text.mid(1, close - 1)), index, {}});
        current = int(m_sections.size()) - 1;
        if (!m_index.contains(m_sections.back().name.toUpper()))
          m_index.insert(m_sections.back().name.toUpper(), current);
      } else if (!text.isEmpty() && current >= 0) {
        m_sections[current].lastLine = index;
        if (text.front() != u';') {
          const qsizetype eq = text.indexOf(u'=');
          line.key = true;
          line.name = Trim(eq < 0 ? text : text.left(eq));
          line.rawValue = eq < 0 ? QString() : Trim(text.mid(eq + 1));
          if (!m_sections[current].keys.contains(line.name.toUpper()))
            m_sections[current].keys.insert(line.name.toUpper(), index);
        }
      }
      m_lines.push_back(line);
      pos = line.next;
    }
  }
  int findSection(const QString& s) const { return m_index.value(Trim(s).toUpper(), -1); }
  int findKey(int s, const QString& k) const { return s < 0 ? -1 : m_sections[s].keys.value(Trim(k).toUpper(), -1); }

  QByteArray m_bytes;
  std::vector<Line> m_lines;
  std::vector<Section> m_sections;
  QHash<QString, int> m_index;
};

}  // namespace qv::test
