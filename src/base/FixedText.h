#pragma once

#include <QString>

namespace qv::base {

// Fixed-width text fields hold exactly `width` characters in memory: the
// value left-aligned, blank-padded on the right, cut when longer. Every user
// trims them.
inline QString Fixed(const QString& value, int width) {
  QString fixed = value.left(width);
  fixed.resize(width, u' ');
  return fixed;
}

// Trailing blanks removed, leading ones kept (the padding only).
inline QString RightTrimmed(const QString& value) {
  qsizetype n = value.size();
  while (n > 0 && value[n - 1] == u' ') --n;
  return value.left(n);
}

}  // namespace qv::base
