#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class QByteArray;

namespace qv::data {

// One line of ILS_Info.txt; fields kept exactly as read.
struct IlsRecord {
  QString airportIdent;
  QString runway;
  QString actionText;
  int16_t actionNumber = 0;
};

// One line of Nav_Info.txt; fields kept exactly as read.
struct NavaidRecord {
  QString ident;
  QString name;
  QString actionText;
};

// A list of every navaid in the world takes a few megabytes.
inline constexpr qint64 kMaxNavaidFileSize = 64 * 1024 * 1024;

inline const QString kIlsFileName = QStringLiteral("ILS_Info.txt");
inline const QString kNavaidFileName = QStringLiteral("Nav_Info.txt");

// The number of an ILS line: decimal with optional sign and surrounding
// blanks; a fraction is rounded to the nearest integer, halves to the even
// one. False when it is not a number or does not fit 16 bits.
bool ParseActionNumber(const QString& text, int16_t& out);

// Both files as bytes: one record per line, fields split at every "|",
// taken by position and untrimmed. False on any bad line (the whole file is
// refused, nothing half-read is kept).
bool ParseIlsList(const QByteArray& bytes, std::vector<IlsRecord>& out);
bool ParseNavaidList(const QByteArray& bytes, std::vector<NavaidRecord>& out);

}  // namespace qv::data
