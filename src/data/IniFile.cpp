#include "data/IniFile.h"

#include <QFile>
#include <QFileInfo>

#include "base/Cp1252.h"

namespace qv::data {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString TrimBlanks(const QString& s) {
  qsizetype a = 0, b = s.size();
  while (a < b && IsBlank(s[a])) ++a;
  while (b > a && IsBlank(s[b - 1])) --b;
  return s.mid(a, b - a);
}

QString Unquote(const QString& v) {
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    return v.mid(1, v.size() - 2);
  return v;
}

}  // namespace

IniFile IniFile::FromBytes(const QByteArray& bytes) {
  IniFile f;
  f.m_bytes = bytes;
  f.m_exists = true;
  f.parse();
  return f;
}

IniFile IniFile::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return IniFile();
  return FromBytes(file.readAll());
}

void IniFile::parse() {
  m_lines.clear();
  m_sections.clear();
  m_sectionIndex.clear();
  const qsizetype n = m_bytes.size();
  qsizetype pos = 0;
  int current = -1;
  while (pos < n) {
    Line line;
    line.start = pos;
    qsizetype e = m_bytes.indexOf('\n', pos);
    if (e < 0) {
      line.end = n;
      line.next = n;
    } else {
      line.next = e + 1;
      line.end = e;
    }
    while (line.end > line.start && m_bytes[line.end - 1] == '\r') --line.end;
    const QString text = TrimBlanks(base::FromCp1252(m_bytes.constData() + line.start, line.end - line.start));
    const int index = static_cast<int>(m_lines.size());
    if (text.isEmpty()) {
      line.kind = Line::Blank;
    } else if (text.front() == u';') {
      line.kind = Line::Comment;
    } else if (text.front() == u'[') {
      line.kind = Line::Section;
      qsizetype close = text.indexOf(u']');
      line.name = TrimBlanks(close < 0 ? text.mid(1) : text.mid(1, close - 1));
      Section s;
      s.name = line.name;
      s.headerLine = index;
      s.lastLine = index;
      current = static_cast<int>(m_sections.size());
      m_sections.push_back(s);
      const QString upper = line.name.toUpper();
      if (!m_sectionIndex.contains(upper)) m_sectionIndex.insert(upper, current);
    } else {
      line.kind = Line::Key;
      const qsizetype eq = text.indexOf(u'=');
      line.name = TrimBlanks(eq < 0 ? text : text.left(eq));
      line.rawValue = eq < 0 ? QString() : TrimBlanks(text.mid(eq + 1));
      line.section = current;
    }
    if (current >= 0 && line.kind != Line::Blank && line.kind != Line::Section) {
      Section& s = m_sections[current];
      s.lastLine = index;
      if (line.kind == Line::Key) {
        const QString upper = line.name.toUpper();
        if (!s.keys.contains(upper)) s.keys.insert(upper, index);
      }
    }
    m_lines.push_back(line);
    pos = line.next;
  }
}

int IniFile::findSection(const QString& section) const {
  return m_sectionIndex.value(TrimBlanks(section).toUpper(), -1);
}

int IniFile::findKey(int sectionIndex, const QString& key) const {
  if (sectionIndex < 0) return -1;
  return m_sections[sectionIndex].keys.value(TrimBlanks(key).toUpper(), -1);
}

QString IniFile::value(const QString& section, const QString& key, bool* found) const {
  const int line = findKey(findSection(section), key);
  if (found) *found = line >= 0;
  if (line < 0) return QString();
  return Unquote(m_lines[line].rawValue).left(kMaxValueLength);
}

int IniFile::intValue(const QString& section, const QString& key, int defaultValue) const {
  bool found = false;
  const QString v = value(section, key, &found);
  if (!found) return defaultValue;
  qsizetype i = 0;
  while (i < v.size() && IsBlank(v[i])) ++i;
  bool negative = false;
  if (i < v.size() && (v[i] == u'-' || v[i] == u'+')) negative = v[i++] == u'-';
  if (i >= v.size() || !v[i].isDigit() || v[i].unicode() > 127) return defaultValue;
  long long n = 0;
  for (; i < v.size() && v[i].unicode() >= '0' && v[i].unicode() <= '9'; ++i) {
    n = n * 10 + (v[i].unicode() - '0');
    if (n > 0xFFFFFFFFLL) n = 0xFFFFFFFFLL;  // saturate like a 32-bit read
  }
  return static_cast<int>(static_cast<unsigned int>(negative ? -n : n));
}

QStringList IniFile::sectionNames() const {
  QStringList names;
  for (const Section& s : m_sections) names << s.name;
  return names;
}

void IniFile::replaceBytes(qsizetype from, qsizetype to, const QByteArray& with) {
  m_bytes.replace(from, to - from, with);
  parse();
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
  const QByteArray keyLine = base::ToCp1252(TrimBlanks(key) + u'=' + value);
  const int s = findSection(section);
  if (s < 0) {
    QByteArray add;
    if (!m_bytes.isEmpty() && !m_bytes.endsWith('\n')) add += "\r\n";
    add += "[" + base::ToCp1252(TrimBlanks(section)) + "]\r\n" + keyLine + "\r\n";
    m_bytes += add;
    m_exists = true;
    parse();
    return;
  }
  const int k = findKey(s, key);
  if (k >= 0) {
    const Line& line = m_lines[k];
    replaceBytes(line.start, line.end, base::ToCp1252(line.name + u'=' + value));
    return;
  }
  const Line& last = m_lines[m_sections[s].lastLine];
  if (last.next == m_bytes.size() && !m_bytes.endsWith('\n')) {
    // Last line of the file without a line feed (perhaps ending in a bare
    // CR): end it first, or the new key would join it.
    replaceBytes(last.next, last.next, (m_bytes.endsWith('\r') ? "\n" : "\r\n") + keyLine + "\r\n");
  } else {
    replaceBytes(last.next, last.next, keyLine + "\r\n");
  }
}

base::FileResult IniFile::save(const QString& path) const { return base::WriteFileAtomic(path, m_bytes); }

QString CleanIniValue(const QString& value) {
  QString v = value;
  v.replace(QChar(0), QChar(u' '));
  return v.trimmed();
}

int ReadIniInt(const QString& section, const QString& key, const QString& fileName) {
  return IniFile::Load(fileName).intValue(section, key, 0);
}

QString ReadIniString(const QString& section, const QString& key, const QString& fileName) {
  return CleanIniValue(IniFile::Load(fileName).value(section, key));
}

base::FileResult WriteIniString(const QString& section, const QString& key, const QString& value,
                                const QString& fileName) {
  // A file that is there but cannot be read is never replaced by one that
  // holds only this key.
  QByteArray old;
  const QFileInfo info(fileName);
  const bool present = info.exists() || info.isSymLink();
  if (present)
    if (base::FileResult read = base::ReadFileLimited(fileName, old, kMaxWrittenFileSize); !read)
      return base::FileResult::Failed(fileName,
                                      "it could not be read, so it has been left as it was (" + read.reason() + ")");
  IniFile file = present ? IniFile::FromBytes(old) : IniFile();
  // Nothing to do when the key reads as the value already: a start-up on a
  // full disk then changes nothing at all.
  bool found = false;
  if (file.value(section, key, &found) == value && found) return {};
  file.setValue(section, key, value);
  return file.save(fileName);
}

}  // namespace qv::data
