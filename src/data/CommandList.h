#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

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

// No command list comes near this (a thousand commands with ten phrases each
// take under three megabytes); a larger file is refused unread.
inline constexpr qint64 kMaxCommandListFileSize = 64 * 1024 * 1024;

inline const QString kCommandListFileName = QStringLiteral("CommandList.dat");
inline const QString kCommandListBackupName = QStringLiteral("CommandList.bak");

QString CommandListFilePath(const QString& installDir);

// The command list file as bytes and back. Parsing is all or nothing: every
// count is checked against the bytes left, and nothing may follow the last
// record.
bool ParseCommandList(const QByteArray& bytes, std::vector<CommandRecord>& out);
// False when a list is too long for its 16-bit last index.
bool SerializeCommandList(const std::vector<CommandRecord>& list, QByteArray& bytes, bool* lossy = nullptr);

// The categories in first-seen order, compared trimmed and upper-cased; the
// first spelling met is kept (trimmed).
QStringList BuildCommandCategories(const std::vector<CommandRecord>& commands);

// The command list of the running program is AppState::commands; the
// categories (first-seen spelling, compared trimmed and upper-cased) are
// AppState::categories.

}  // namespace qv::data
