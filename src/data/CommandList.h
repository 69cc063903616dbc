#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace qv::shell {
struct Context;
struct AppState;
class Dialogs;
}  // namespace qv::shell

namespace qv::data {

// Field widths of a command record, in characters (and bytes on disk).
inline constexpr int kCategoryWidth = 32;
inline constexpr int kNameWidth = 128;
inline constexpr int kEventNameWidth = 128;
inline constexpr int kHelpTextWidth = 256;
inline constexpr int kGrammarWidth = 256;
inline constexpr int kReadbackWidth = 256;

// One speech command. Text fields hold their fixed width, blank-padded
// (see FixedText.h); the lists' last index is size() - 1.
struct CommandRecord {
  QString category;   // 32
  QString name;       // 128
  QString eventName;  // 128
  QString helpText;   // 256
  int16_t functionNumber = 0;
  QStringList grammars;   // 256 each
  QStringList readbacks;  // 256 each
};

// The command list of the running program is AppState::commands; the
// categories (first-seen spelling, compared trimmed and upper-cased) are
// AppState::categories.

}  // namespace qv::data
