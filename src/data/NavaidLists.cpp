#include "data/NavaidLists.h"

#include <QByteArray>
#include <QString>

#include "base/Cp1252.h"
#include "data/BinaryIo.h"

namespace qv::data {
namespace {

constexpr qsizetype kMaxRecords = 32768;  // a 16-bit last index

// Lines end with CR LF; a lone CR or LF ends one too. A last line without
// an ending still counts, an ending at the very end adds no empty line.
// Fields are separated by '|'; the first `fieldCount` of each line are
// decoded straight from the bytes (a line with fewer is an error, later ones
// are ignored), so a line costs one string per field and nothing else.
template <typename Record, typename Fill>
bool ParseLines(const QByteArray& bytes, int fieldCount, std::vector<Record>& out, Fill fill) {
  std::vector<Record> list;
  QString fields[4];
  const char* d = bytes.constData();
  const qsizetype n = bytes.size();
  for (qsizetype start = 0; start < n;) {
    qsizetype end = start;
    while (end < n && d[end] != '\r' && d[end] != '\n') ++end;
    if (qsizetype(list.size()) == kMaxRecords) return false;
    int found = 0;
    for (qsizetype f = start; found < fieldCount; ++found) {
      qsizetype bar = f;
      while (bar < end && d[bar] != '|') ++bar;
      fields[found] = base::FromCp1252(d + f, bar - f);
      if (bar == end) {
        ++found;
        break;
      }
      f = bar + 1;
    }
    if (found < fieldCount) return false;
    Record r;
    if (!fill(fields, r)) return false;
    list.push_back(std::move(r));
    start = end + (end + 1 < n && d[end] == '\r' && d[end + 1] == '\n' ? 2 : 1);
  }
  out = std::move(list);
  return true;
}

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

}  // namespace

bool ParseActionNumber(const QString& text, int16_t& out) {
  qsizetype b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const QString t = text.mid(b, e - b);
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
  // Whole part, kept exact: anything beyond six digits is out of range.
  qint64 whole = 0;
  qsizetype digits = 0;
  while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
    if (whole < 1000000) whole = whole * 10 + (t[i].unicode() - '0');
    ++i;
    ++digits;
  }
  qsizetype fractionDigits = 0;
  int firstFraction = 0;
  bool restNonZero = false;
  if (i < t.size() && t[i] == u'.') {
    ++i;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
      const int d = t[i].unicode() - '0';
      if (fractionDigits == 0)
        firstFraction = d;
      else if (d != 0)
        restNonZero = true;
      ++i;
      ++fractionDigits;
    }
  }
  if (i != t.size() || digits + fractionDigits == 0) return false;
  // Round to nearest, halves to the even neighbour.
  if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1))) ++whole;
  const qint64 value = negative ? -whole : whole;
  if (value < -32768 || value > 32767) return false;
  out = static_cast<int16_t>(value);
  return true;
}

bool ParseIlsList(const QByteArray& bytes, std::vector<IlsRecord>& out) {
  return ParseLines(bytes, 4, out, [](const QString* f, IlsRecord& r) {
    r.airportIdent = f[0];
    r.runway = f[1];
    r.actionText = f[2];
    return ParseActionNumber(f[3], r.actionNumber);
  });
}

bool ParseNavaidList(const QByteArray& bytes, std::vector<NavaidRecord>& out) {
  return ParseLines(bytes, 3, out, [](const QString* f, NavaidRecord& r) {
    r.ident = f[0];
    r.name = f[1];
    r.actionText = f[2];
    return true;
  });
}

}  // namespace qv::data
