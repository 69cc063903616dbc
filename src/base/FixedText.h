#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qv::base {

// Fixed-width text fields hold exactly `width` characters in memory: the
// value left-aligned, blank-padded on the right, cut when longer. Every user
// trims them.
inline QString Fixed(const QString& value, int width) {
  QString fixed(width, Qt::Uninitialized);
  const qsizetype kept = std::min<qsizetype>(value.size(), width);
  char16_t* out = reinterpret_cast<char16_t*>(fixed.data());
  std::copy_n(reinterpret_cast<const char16_t*>(value.constData()), kept, out);
  std::fill(out + kept, out + width, u' ');
  return fixed;
}

// The text without its padding blanks, looked at four characters at a time
// (a title is mostly padding).
inline QStringView WithoutPadding(QStringView value) {
  const char16_t* begin = value.utf16();
  const char16_t* end = begin + value.size();
  constexpr uint64_t kFourBlanks = 0x0020002000200020ull;
  while (end - begin >= 4) {
    uint64_t four;
    std::memcpy(&four, end - 4, sizeof four);
    if (four != kFourBlanks) break;
    end -= 4;
  }
  while (end > begin && end[-1] == u' ') --end;
  return QStringView(begin, end);
}

// Trailing blanks removed, leading ones kept (the padding only).
inline QString RightTrimmed(const QString& value) {
  qsizetype n = value.size();
  while (n > 0 && value[n - 1] == u' ') --n;
  return value.left(n);
}

}  // namespace qv::base
