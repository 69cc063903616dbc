#include "data/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "base/Cp1252.h"
#include "platform/FileRead.h"

namespace qv::data {
namespace {

template <class U>
char16_t Unit(U c) {
  return static_cast<char16_t>(static_cast<std::make_unsigned_t<U>>(c));
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }
uint32_t HashStep(uint32_t h, char16_t c) { return (h ^ c) * 16777619u; }
constexpr uint32_t kHashSeed = 2166136261u;

QStringView TrimBlanks(QStringView s) {
  qsizetype a = 0, b = s.size();
  while (a < b && IsBlank(s[a].unicode())) ++a;
  while (b > a && IsBlank(s[b - 1].unicode())) --b;
  return s.mid(a, b - a);
}

template <class U>
int32_t Find(const U* d, int32_t from, int32_t n, U c) {
  if constexpr (sizeof(U) == 1) {
    const void* hit = from < n ? std::memchr(d + from, c, size_t(n - from)) : nullptr;
    return hit ? int32_t(static_cast<const U*>(hit) - d) : n;
  } else {
    return int32_t(std::find(d + from, d + n, c) - d);
  }
}

// Walks a text line by line. A line ends at LF, at CRs followed by LF, or at
// a CR standing alone. The next LF is searched for once (memchr runs far
// faster than a loop over the bytes) and remembered, so that lines split by
// bare CRs do not search the rest of the file again each; a CR is looked for
// only before that LF.
template <class U>
class Lines {
 public:
  Lines(const U* d, int32_t n) : m_d(d), m_n(n) {}
  // The end of the line starting at `pos` (before its line break); `next`
  // receives the start of the following line.
  int32_t end(int32_t pos, int32_t& next) {
    if (m_lf < pos) m_lf = Find(m_d, pos, m_n, U('\n'));
    if (m_cr < pos) m_cr = Find(m_d, pos, m_lf, U('\r'));  // m_lf when there is none before it
    if (m_lf <= m_cr) {
      next = m_lf < m_n ? m_lf + 1 : m_n;
      return m_lf;
    }
    int32_t j = m_cr + 1;
    while (j < m_n && m_d[j] == U('\r')) ++j;
    next = j < m_n && j == m_lf ? m_lf + 1 : m_cr + 1;
    return m_cr;
  }

 private:
  const U* m_d;
  int32_t m_n;
  int32_t m_lf = -1, m_cr = -1;
};

template <class U>
void Trim(const U* d, int32_t& a, int32_t& b) {
  while (a < b && IsBlank(Unit(d[a]))) ++a;
  while (b > a && IsBlank(Unit(d[b - 1]))) --b;
}

template <class U>
bool IsAscii(const U* d, int32_t a, int32_t b) {
  for (int32_t i = a; i < b; ++i)
    if (Unit(d[i]) >= 0x80) return false;
  return true;
}

uint32_t HashOf(QStringView upper) {
  uint32_t h = kHashSeed;
  for (QChar c : upper) h = HashStep(h, c.unicode());
  return h;
}

// Section headers are the lines whose first non-blank character is '['.
// They are found by searching for that character alone (memchr skips the
// bytes between them far faster than a walk over the lines would), and a
// hit counts only when nothing but blanks stand between it and the line
// break before it; every line break character ends a line (see Lines).
template <class U, class F>
void ForEachHeader(const U* d, int32_t n, F&& f) {
  Lines<U> lines(d, n);  // one for all headers: they come in order
  for (int32_t at = Find(d, 0, n, U('[')); at < n; at = Find(d, at + 1, n, U('['))) {
    int32_t lineStart = at;
    while (lineStart > 0 && IsBlank(Unit(d[lineStart - 1]))) --lineStart;
    if (lineStart > 0 && d[lineStart - 1] != U('\n') && d[lineStart - 1] != U('\r')) continue;
    int32_t next = 0;
    const int32_t end = lines.end(at, next);
    int32_t nameEnd = end;
    while (nameEnd > at && IsBlank(Unit(d[nameEnd - 1]))) --nameEnd;
    nameEnd = Find(d, at + 1, nameEnd, U(']'));
    int32_t nameBegin = at + 1;
    Trim(d, nameBegin, nameEnd);
    f(lineStart, nameBegin, nameEnd, next);
    at = next - 1;  // a '[' later on the same line opens nothing
  }
}

}  // namespace

// A section or key name asked for by a caller: trimmed, and compared the way
// the names in the file are (upper-cased), without copying it when it is
// plain ASCII, which nearly every name is.
class IniFile::Name {
 public:
  Name() = default;
  explicit Name(QStringView text) : m_view(TrimBlanks(text)) {
    for (QChar c : m_view) m_ascii = m_ascii && c.unicode() < 0x80;
  }
  explicit Name(QLatin1String text) : m_latin(text), m_isLatin(true) {
    qsizetype a = 0, b = text.size();
    while (a < b && IsBlank(Unit(text[a].toLatin1()))) ++a;
    while (b > a && IsBlank(Unit(text[b - 1].toLatin1()))) --b;
    m_latin = text.mid(a, b - a);
    for (char c : m_latin) m_ascii = m_ascii && Unit(c) < 0x80;
  }
  int32_t size() const { return int32_t(m_isLatin ? m_latin.size() : m_view.size()); }
  char16_t at(int32_t i) const { return m_isLatin ? Unit(m_latin[i].toLatin1()) : m_view[i].unicode(); }
  bool ascii() const { return m_ascii; }
  const QString& upper() const {
    if (!m_upperDone) {
      m_upper = (m_isLatin ? QString(m_latin) : m_view.toString()).toUpper();
      m_upperDone = true;
    }
    return m_upper;
  }
  uint32_t hash() const {
    if (!m_ascii) return HashOf(upper());
    uint32_t h = kHashSeed;
    for (int32_t i = 0; i < size(); ++i) h = HashStep(h, FoldAscii(at(i)));
    return h;
  }

 private:
  QStringView m_view;
  QLatin1String m_latin;
  bool m_isLatin = false;
  bool m_ascii = true;
  mutable QString m_upper;
  mutable bool m_upperDone = false;
};

// What the file's text looks like to the walks below: single bytes (the code
// page or UTF-8, whose structure characters are ASCII) or UTF-16 units.
template <class F>
auto IniFile::withText(F&& f) const {
  if (m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE)
    return f(reinterpret_cast<const char16_t*>(m_wide.utf16()), int32_t(m_wide.size()));
  return f(m_bytes.constData() + m_bom, int32_t(m_bytes.size() - m_bom));
}

IniFile IniFile::FromBytes(const QByteArray& bytes) {
  IniFile f;
  f.m_bytes = bytes;
  f.m_exists = true;
  f.index();
  return f;
}

IniFile IniFile::Load(const QString& path) {
  QByteArray bytes;
  QString reason;
  return FromRead(platform::ReadFileUpTo(path, kMaxFileSize, bytes, reason), bytes, reason, path);
}

IniFile IniFile::FromRead(platform::FileRead read, const QByteArray& bytes, const QString& reason,
                          const QString& path) {
  IniFile f;
  switch (read) {
    case platform::FileRead::Ok: return FromBytes(bytes);
    case platform::FileRead::Missing: return f;
    case platform::FileRead::TooLarge:
      f.m_error = QString("%1 is larger than %2 MB, more than any configuration file holds; it was not read.")
                      .arg(QDir::toNativeSeparators(path))
                      .arg(kMaxFileSize / (1024 * 1024));
      return f;
    case platform::FileRead::Failed: break;
  }
  f.m_error = QString("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), reason);
  return f;
}

void IniFile::index() {
  m_sections.clear();
  m_table.clear();
  m_wide.clear();
  const auto starts = [this](const char* bom) { return m_bytes.startsWith(bom); };
  if (starts("\xEF\xBB\xBF")) {
    m_encoding = Encoding::Utf8, m_bom = 3;
  } else if (starts("\xFF\xFE")) {
    m_encoding = Encoding::Utf16LE, m_bom = 2;
  } else if (starts("\xFE\xFF")) {
    m_encoding = Encoding::Utf16BE, m_bom = 2;
  } else {
    m_encoding = Encoding::Cp1252, m_bom = 0;
  }
  if (m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE) {
    const qsizetype units = (m_bytes.size() - m_bom) / 2;
    m_wide.resize(units);
    const auto* b = reinterpret_cast<const unsigned char*>(m_bytes.constData() + m_bom);
    const bool le = m_encoding == Encoding::Utf16LE;
    for (qsizetype i = 0; i < units; ++i)
      m_wide[i] = QChar(le ? char16_t(b[2 * i] | b[2 * i + 1] << 8) : char16_t(b[2 * i] << 8 | b[2 * i + 1]));
  }
  withText([this](const auto* d, int32_t n) { indexText(d, n); });
}

// Indexes the headers; the lines between them are not looked at until a
// key of their section is asked for.
template <class U>
void IniFile::indexText(const U* d, int32_t n) {
  int current = -1;  // the indexed section whose body runs to the next header
  ForEachHeader(d, n, [&](int32_t lineStart, int32_t nameBegin, int32_t nameEnd, int32_t next) {
    if (current >= 0) m_sections[current].bodyEnd = lineStart;
    current = insertSection(d, Section{nameBegin, nameEnd, next, n});
  });
}

template <class U>
uint32_t IniFile::spanHash(const U* d, int32_t a, int32_t b) const {
  if (!IsAscii(d, a, b)) return HashOf(decode(a, b).toUpper());
  uint32_t h = kHashSeed;
  for (int32_t i = a; i < b; ++i) h = HashStep(h, FoldAscii(Unit(d[i])));
  return h;
}

template <class U>
bool IniFile::spanEquals(const U* d, int32_t a, int32_t b, const Name& name) const {
  if (name.ascii() && IsAscii(d, a, b)) {
    if (b - a != name.size()) return false;
    for (int32_t i = 0; i < b - a; ++i)
      if (FoldAscii(Unit(d[a + i])) != FoldAscii(name.at(i))) return false;
    return true;
  }
  return decode(a, b).toUpper() == name.upper();
}

// Indexes the section unless one of that name came before (the first one
// wins); returns its index, or -1 for a later duplicate.
template <class U>
int IniFile::insertSection(const U* d, Section s) {
  s.hash = spanHash(d, s.nameBegin, s.nameEnd);
  if ((m_sections.size() + 1) * 2 > m_table.size()) {
    if (m_sections.empty()) m_sections.reserve(32);  // an aircraft file has a few dozen
    m_table.assign(std::max<size_t>(64, m_table.size() * 2), -1);
    for (size_t i = 0; i < m_sections.size(); ++i) {
      size_t slot = m_sections[i].hash & (m_table.size() - 1);
      while (m_table[slot] >= 0) slot = (slot + 1) & (m_table.size() - 1);
      m_table[slot] = int32_t(i);
    }
  }
  size_t slot = s.hash & (m_table.size() - 1);
  for (; m_table[slot] >= 0; slot = (slot + 1) & (m_table.size() - 1)) {
    const Section& other = m_sections[m_table[slot]];
    if (other.hash == s.hash && spansEqual(d, other.nameBegin, other.nameEnd, s.nameBegin, s.nameEnd)) return -1;
  }
  m_table[slot] = int32_t(m_sections.size());
  m_sections.push_back(s);
  return int(m_sections.size()) - 1;
}

template <class U>
bool IniFile::spansEqual(const U* d, int32_t a1, int32_t b1, int32_t a2, int32_t b2) const {
  if (IsAscii(d, a1, b1) && IsAscii(d, a2, b2)) {
    if (b1 - a1 != b2 - a2) return false;
    for (int32_t i = 0; i < b1 - a1; ++i)
      if (FoldAscii(Unit(d[a1 + i])) != FoldAscii(Unit(d[a2 + i]))) return false;
    return true;
  }
  return decode(a1, b1).toUpper() == decode(a2, b2).toUpper();
}

int IniFile::findSection(const Name& name) const {
  if (m_table.empty()) return -1;
  const uint32_t h = name.hash();
  return withText([&](const auto* d, int32_t) {
    for (size_t slot = h & (m_table.size() - 1); m_table[slot] >= 0; slot = (slot + 1) & (m_table.size() - 1)) {
      const Section& s = m_sections[m_table[slot]];
      if (s.hash == h && spanEquals(d, s.nameBegin, s.nameEnd, name)) return int(m_table[slot]);
    }
    return -1;
  });
}

// Walks the lines of one section once and records, for each name asked for,
// the first key line that matches it.
template <class U>
void IniFile::findKeysIn(const U* d, const Section& s, std::span<const Name> keys, std::span<KeyHit> hits) const {
  size_t left = keys.size();
  Lines<U> lines(d, s.bodyEnd);  // a section's lines end inside it
  for (int32_t pos = s.bodyBegin; pos < s.bodyEnd && left > 0;) {
    int32_t next = 0;
    const int32_t end = lines.end(pos, next);
    int32_t a = pos, e = end;
    Trim(d, a, e);
    if (a < e && d[a] != U(';')) {
      int32_t eq = a;
      while (eq < e && d[eq] != U('=')) ++eq;
      int32_t nameEnd = eq;
      while (nameEnd > a && IsBlank(Unit(d[nameEnd - 1]))) --nameEnd;
      const bool ascii = IsAscii(d, a, nameEnd);
      const int32_t length = nameEnd - a;
      QString upper;  // the line's name upper-cased, made only when it is not ASCII
      for (size_t k = 0; k < keys.size(); ++k) {
        if (hits[k].found) continue;
        const Name& key = keys[k];
        bool match = false;
        if (ascii && key.ascii()) {
          // ASCII upper case keeps the length: most lines fail here at once.
          if (length != key.size()) continue;
          match = true;
          for (int32_t i = 0; match && i < length; ++i) match = FoldAscii(Unit(d[a + i])) == FoldAscii(key.at(i));
        } else {
          if (upper.isNull()) upper = decode(a, nameEnd).toUpper();
          match = upper == key.upper();
        }
        if (!match) continue;
        KeyHit& hit = hits[k];
        hit = {true, a, nameEnd, e, e, pos, end};
        if (eq < e) {
          hit.valueBegin = eq + 1;
          while (hit.valueBegin < e && IsBlank(Unit(d[hit.valueBegin]))) ++hit.valueBegin;
        }
        --left;
      }
    }
    pos = next;
  }
}

void IniFile::findKeys(int section, std::span<const Name> keys, std::span<KeyHit> hits) const {
  for (KeyHit& h : hits) h = KeyHit{};
  if (section < 0) return;
  withText([&](const auto* d, int32_t) { findKeysIn(d, m_sections[section], keys, hits); });
}

QString IniFile::decode(int32_t begin, int32_t end) const {
  switch (m_encoding) {
    case Encoding::Cp1252: return base::FromCp1252(m_bytes.constData() + m_bom + begin, end - begin);
    case Encoding::Utf8: return QString::fromUtf8(m_bytes.constData() + m_bom + begin, end - begin);
    default: return QString(m_wide.constData() + begin, end - begin);
  }
}

QString IniFile::valueText(const KeyHit& hit) const {
  int32_t a = hit.valueBegin, b = hit.valueEnd;
  if (b - a >= 2) {
    const char16_t first = unitAt(a);
    if ((first == u'"' || first == u'\'') && unitAt(b - 1) == first) ++a, --b;
  }
  // One unit is one character except in UTF-8, which is cut after decoding.
  if (m_encoding != Encoding::Utf8) return decode(a, std::min(b, a + kMaxValueLength));
  return decode(a, b).left(kMaxValueLength);
}

char16_t IniFile::unitAt(int32_t i) const {
  if (m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE) return m_wide[i].unicode();
  return Unit(m_bytes[m_bom + i]);
}

int32_t IniFile::unitCount() const {
  return withText([](const auto*, int32_t n) { return n; });
}

qsizetype IniFile::byteOffset(int32_t unit) const {
  const bool wide = m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE;
  return m_bom + qsizetype(unit) * (wide ? 2 : 1);
}

QByteArray IniFile::encode(const QString& text) const {
  switch (m_encoding) {
    case Encoding::Cp1252: return base::ToCp1252(text);
    case Encoding::Utf8: return text.toUtf8();
    default: break;
  }
  QByteArray out(text.size() * 2, Qt::Uninitialized);
  const bool le = m_encoding == Encoding::Utf16LE;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    out[2 * i + (le ? 0 : 1)] = char(c & 0xFF);
    out[2 * i + (le ? 1 : 0)] = char(c >> 8);
  }
  return out;
}

QString IniFile::value(const QString& section, const QString& key, bool* found) const {
  const Name keyName{QStringView(key)};
  KeyHit hit;
  findKeys(findSection(Name{QStringView(section)}), {&keyName, 1}, {&hit, 1});
  if (found) *found = hit.found;
  return hit.found ? valueText(hit) : QString();
}

bool IniFile::values(QStringView section, std::span<const QLatin1String> keys, std::span<QString> out) const {
  constexpr size_t kMaxKeys = 16;
  const size_t count = std::min({keys.size(), out.size(), kMaxKeys});
  Name names[kMaxKeys];
  for (size_t i = 0; i < count; ++i) names[i] = Name(keys[i]);
  KeyHit hits[kMaxKeys];
  const int s = findSection(Name(section));
  findKeys(s, {names, count}, {hits, count});
  for (size_t i = 0; i < count; ++i) out[i] = hits[i].found ? valueText(hits[i]) : QString();
  return s >= 0;
}

int IniFile::intValue(const QString& section, const QString& key, int defaultValue) const {
  bool found = false;
  const QString v = value(section, key, &found);
  if (!found) return defaultValue;
  qsizetype i = 0;
  while (i < v.size() && IsBlank(v[i].unicode())) ++i;
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
  withText([&](const auto* d, int32_t n) {
    ForEachHeader(d, n,
                  [&](int32_t, int32_t nameBegin, int32_t nameEnd, int32_t) { names << decode(nameBegin, nameEnd); });
  });
  return names;
}

// Where a key added to the section goes: after its last non-blank line.
int32_t IniFile::sectionEnd(int section) const {
  const Section& s = m_sections[section];
  return withText([&](const auto* d, int32_t) {
    using U = std::remove_cv_t<std::remove_pointer_t<decltype(d)>>;
    Lines<U> lines(d, s.bodyEnd);
    int32_t last = s.bodyBegin;
    for (int32_t pos = s.bodyBegin; pos < s.bodyEnd;) {
      int32_t next = 0, a = pos;
      const int32_t end = lines.end(pos, next);
      while (a < end && IsBlank(Unit(d[a]))) ++a;
      if (a < end) last = next;
      pos = next;
    }
    return last;
  });
}

void IniFile::replaceUnits(int32_t from, int32_t to, const QByteArray& with) {
  Q_ASSERT(0 <= from && from <= to && to <= unitCount());
  const qsizetype begin = byteOffset(from);
  m_bytes.replace(begin, byteOffset(to) - begin, with);
  index();
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
  const QString keyName = TrimBlanks(key).toString();
  const int32_t n = unitCount();
  const char16_t last = n > 0 ? unitAt(n - 1) : 0;
  const int s = findSection(Name{QStringView(section)});
  if (s < 0) {
    QString add;
    if (n > 0 && last != u'\n') add += "\r\n";
    add += u'[' + TrimBlanks(section).toString() + "]\r\n" + keyName + u'=' + value + "\r\n";
    replaceUnits(n, n, encode(add));
    m_exists = true;
    return;
  }
  const Name name{QStringView(key)};
  KeyHit hit;
  findKeys(s, {&name, 1}, {&hit, 1});
  if (hit.found) {
    // The key keeps its spelling byte for byte; blanks around it go.
    const QByteArray spelling =
        m_bytes.mid(byteOffset(hit.nameBegin), byteOffset(hit.nameEnd) - byteOffset(hit.nameBegin));
    replaceUnits(hit.lineBegin, hit.lineEnd, spelling + encode(u'=' + value));
    return;
  }
  const int32_t at = sectionEnd(s);
  const QByteArray line = encode(keyName + u'=' + value + "\r\n");
  // A last line of the file without a line feed (perhaps ending in a bare
  // CR) is ended first, or the new key would join it.
  if (at == n && last != u'\n') {
    replaceUnits(at, at, encode(last == u'\r' ? QStringLiteral("\n") : QStringLiteral("\r\n")) + line);
  } else {
    replaceUnits(at, at, line);
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
