#pragma once

#include <QString>
#include <algorithm>

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

// Trailing blanks removed, leading ones kept (the padding only).
inline QString RightTrimmed(const QString& value) {
  qsizetype n = value.size();
  while (n > 0 && value[n - 1] == u' ') --n;
  return value.left(n);
}

}  // namespace qv::base
