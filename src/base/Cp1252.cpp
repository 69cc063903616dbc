#include "base/Cp1252.h"

#include <array>

namespace qv::base {
namespace {

// 0x80..0x9F differ from Latin-1; unassigned positions map to themselves
// (as the Windows converter does) so that any byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int Encode(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace

QString FromCp1252(const char* data, qsizetype size) {
  // Latin-1 (which Qt converts fast) but for 0x80..0x9F.
  QString out = QString::fromLatin1(data, size);
  for (qsizetype i = 0; i < size; ++i) {
    const auto b = static_cast<unsigned char>(data[i]);
    if (b >= 0x80 && b < 0xA0) out[i] = QChar(kHigh[b - 0x80]);
  }
  return out;
}

QString FromCp1252(const QByteArray& bytes) { return FromCp1252(bytes.constData(), bytes.size()); }

QByteArray ToCp1252(const QString& text, bool* ok) {
  QByteArray out;
  out.resize(text.size());
  bool all = true;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int b = Encode(text[i].unicode());
    if (b < 0) {
      all = false;
      out[i] = '?';
    } else {
      out[i] = static_cast<char>(b);
    }
  }
  if (ok) *ok = all;
  return out;
}

bool FitsCp1252(const QString& text) {
  for (QChar c : text)
    if (Encode(c.unicode()) < 0) return false;
  return true;
}

}  // namespace qv::base
