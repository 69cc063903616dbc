#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "base/FileIo.h"

namespace qv::data {

// Reads the little-endian integers and fixed-width Windows-1252 text fields of
// the binary data files. Every read checks the bytes left first: a short file
// sets failed() and yields zeros/blanks, so a loader never reads past the end
// and can check once after the whole file.
class BinaryReader {
 public:
  explicit BinaryReader(const QByteArray& bytes) : m_bytes(bytes) {}

  int16_t ReadInt16();
  int32_t ReadInt32();
  // `width` bytes, converted to a QString of exactly `width` characters.
  QString ReadFixed(int width);

  // True when `count` more bytes are available; a loader asks before it
  // allocates for what a count promises.
  bool Has(qint64 count) const { return !m_failed && count >= 0 && remaining() >= count; }
  qint64 remaining() const { return m_bytes.size() - m_pos; }
  bool atEnd() const { return m_pos == m_bytes.size(); }
  bool failed() const { return m_failed; }
  void Fail() { m_failed = true; }

 private:
  bool Take(qint64 count);

  const QByteArray& m_bytes;
  qint64 m_pos = 0;
  bool m_failed = false;
};

// Builds the bytes of a binary data file. A text that does not fit the code
// page is written with '?' in place of the odd characters and noted, so that
// callers that care (the importer) can refuse it.
class BinaryWriter {
 public:
  void WriteInt16(int16_t value);
  void WriteInt32(int32_t value);
  // The value left-aligned and blank-padded to `width` bytes, cut when longer.
  void WriteFixed(const QString& value, int width);

  const QByteArray& bytes() const { return m_bytes; }
  bool lossy() const { return m_lossy; }

 private:
  QByteArray m_bytes;
  bool m_lossy = false;
};

// Reads a whole regular file of at most `limit` bytes; on failure the result
// names the file and the reason (a larger file is refused unread).
base::FileResult ReadWholeFile(const QString& path, QByteArray& bytes, qint64 limit);

}  // namespace qv::data
