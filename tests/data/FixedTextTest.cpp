#include <gtest/gtest.h>

#include <QString>

#include "base/FixedText.h"

namespace {

// Every mix of blanks and other characters up to three groups of four long,
// so that the padding is dropped right whichever group it starts in: only
// the trailing blanks go, inner and leading ones stay.
TEST(FixedText, WithoutPaddingDropsTheTrailingBlanksOnly) {
  for (int length = 0; length <= 12; ++length) {
    for (int bits = 0; bits < (1 << length); ++bits) {
      QString text;
      for (int i = 0; i < length; ++i) text += (bits >> i & 1) ? u'x' : u' ';
      const QString expected = qv::base::RightTrimmed(text);
      EXPECT_EQ(qv::base::WithoutPadding(text).toString(), expected) << '"' << qPrintable(text) << '"';
    }
  }
  const QString title = qv::base::Fixed(" Cessna  172 ", 255);
  EXPECT_EQ(qv::base::WithoutPadding(title), u" Cessna  172");
  EXPECT_EQ(qv::base::WithoutPadding(QStringView(title).left(3)), u" Ce");
}

}  // namespace
