#pragma once

// The phrase expansion done the slow, literal way: placeholders put into the
// text, one group taken at a time, duplicates removed by walking again from
// the start after every deletion. Valid only for phrases without a group
// nested in a group of its own kind, with at most ten optional groups and no
// text that looks like a placeholder; the real expansion must give exactly
// the same list for those.

#include <QString>
#include <QStringList>
#include <algorithm>

namespace qv::test::literal {

inline QString Trim(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  return s.mid(b, e - b);
}

inline QStringList ExpandOptionals(const QString& s) {
  QString t = Trim(s);
  QStringList options;
  for (;;) {
    const qsizetype open = t.indexOf(u'(');
    if (open < 0) break;
    const qsizetype close = t.indexOf(u')', open);
    if (close < 0) break;
    options << t.mid(open + 1, close - open - 1);
    t = t.left(open) + "OPTION_" + QString::number(options.size() - 1) + t.mid(close + 1);
  }
  const int k = static_cast<int>(options.size());
  QStringList out;
  for (int m = 0; m < (1 << k); ++m) {
    QString r = t;
    for (int j = 0; j < k; ++j)
      r.replace("OPTION_" + QString::number(j), ((m >> (k - 1 - j)) & 1) ? options[j] : QString());
    r = Trim(r);
    r.replace("  ", " ");
    out << Trim(r);
  }
  return out;
}

inline QStringList ExpandAlternatives(const QString& s) {
  const qsizetype open = s.indexOf(u'[');
  QStringList alternatives;
  qsizetype start = open + 1;
  qsizetype i = start;
  for (; i < s.size(); ++i) {
    if (s[i] == u'|' || s[i] == u']') {
      alternatives << s.mid(start, i - start);
      start = i + 1;
      if (s[i] == u']') break;
    }
  }
  QStringList out;
  for (const QString& a : alternatives) out << s.left(open) + a + s.mid(i + 1);
  return out;
}

inline void ExpandPhrase(const QString& s, QStringList& out) {
  const QString t = Trim(s);
  if (t.contains(u'(') && t.contains(u')')) {
    for (const QString& o : ExpandOptionals(s)) ExpandPhrase(o, out);
  } else if (t.contains(u'[') && t.contains(u']')) {
    for (const QString& o : ExpandAlternatives(s)) ExpandPhrase(o, out);
  } else {
    out << s;
  }
}

inline QStringList Expand(const QString& phrase) {
  QStringList list;
  ExpandPhrase(phrase, list);
  std::sort(list.begin(), list.end());
  for (bool again = true; again;) {
    again = false;
    for (qsizetype i = 0; i < list.size(); ++i) {
      const QString before = i == 0 ? QString() : Trim(list[i - 1]).toUpper();
      if (Trim(list[i]).toUpper() == before) {
        list.removeAt(i);
        again = true;
        break;
      }
    }
  }
  return list;
}

// True when the literal way gives the right answer for this phrase.
inline bool Applies(const QString& phrase) {
  if (phrase.contains("OPTION_")) return false;
  int options = 0, paren = 0, bracket = 0;
  for (QChar c : phrase) {
    if (c == u'(') {
      if (++paren > 1) return false;
      ++options;
    } else if (c == u')') {
      --paren;
    } else if (c == u'[') {
      if (++bracket > 1) return false;
    } else if (c == u']') {
      --bracket;
    }
  }
  return options <= 10;
}

}  // namespace qv::test::literal
