#include "data/BinaryIo.h"

#include <QFile>
#include <QtEndian>

#include "base/Cp1252.h"
#include "base/FixedText.h"

namespace qv::data {

bool BinaryReader::Take(qint64 count) {
  if (m_failed || remaining() < count) {
    m_failed = true;
    return false;
  }
  return true;
}

int16_t BinaryReader::ReadInt16() {
  if (!Take(2)) return 0;
  const auto v = qFromLittleEndian<int16_t>(m_bytes.constData() + m_pos);
  m_pos += 2;
  return v;
}

int32_t BinaryReader::ReadInt32() {
  if (!Take(4)) return 0;
  const auto v = qFromLittleEndian<int32_t>(m_bytes.constData() + m_pos);
  m_pos += 4;
  return v;
}

QString BinaryReader::ReadFixed(int width) {
  if (!Take(width)) return QString(width, u' ');
  QString text = base::FromCp1252(m_bytes.constData() + m_pos, width);
  m_pos += width;
  return text;
}

void BinaryWriter::WriteInt16(int16_t value) {
  char buf[2];
  qToLittleEndian(value, buf);
  m_bytes.append(buf, 2);
}

void BinaryWriter::WriteInt32(int32_t value) {
  char buf[4];
  qToLittleEndian(value, buf);
  m_bytes.append(buf, 4);
}

void BinaryWriter::WriteFixed(const QString& value, int width) {
  bool ok = true;
  QByteArray bytes = base::ToCp1252(base::Fixed(value, width), &ok);
  if (!ok) m_lossy = true;
  // Every code-page character is one byte, so this only guards odd input.
  bytes.resize(width, ' ');
  m_bytes.append(bytes);
}

base::FileResult ReadWholeFile(const QString& path, QByteArray& bytes, qint64 limit) {
  return base::ReadFileLimited(path, bytes, limit);
}

}  // namespace qv::data
