#include "data/ChecklistFiles.h"

#include <QByteArray>
#include <QDir>

#include "base/FixedText.h"
#include "data/BinaryIo.h"

namespace qv::data {
namespace {

constexpr int kAssignmentRecordSize = kAssignmentTitleWidth + kAssignmentNameWidth + 2;
constexpr int kItemFixedSize = kChallengeWidth + kPronunciationWidth + kResponseWidth + 2;
constexpr int kResponseSize = kResponseTextWidth + 4;
constexpr size_t kMaxEntries = 32768;  // a 16-bit last index

}  // namespace

bool ParseChecklist(const QByteArray& bytes, ChecklistFile& out) {
  BinaryReader in(bytes);
  std::array<int16_t, kSectionCount> lasts{};
  for (auto& last : lasts) last = in.ReadInt16();
  if (in.failed()) return false;
  ChecklistFile file;
  for (int s = 0; s < kSectionCount; ++s) {
    // Sections with a negative last index are empty.
    const qint64 count = lasts[s] < 0 ? 0 : qint64(lasts[s]) + 1;
    if (!in.Has(count * kItemFixedSize)) return false;
    auto& items = file.sections[s];
    items.resize(static_cast<size_t>(count));
    for (auto& item : items) {
      item.challenge = in.ReadFixed(kChallengeWidth);
      item.pronunciation = in.ReadFixed(kPronunciationWidth);
      item.response = in.ReadFixed(kResponseWidth);
      const int16_t last = in.ReadInt16();
      if (last < -1 || !in.Has((qint64(last) + 1) * kResponseSize)) return false;
      item.responses.resize(static_cast<size_t>(last + 1));
      for (auto& r : item.responses) {
        r.text = in.ReadFixed(kResponseTextWidth);
        r.functionNumber = in.ReadInt32();
      }
    }
  }
  if (in.failed() || !in.atEnd()) return false;
  file.name = out.name;
  out = std::move(file);
  return true;
}

bool SerializeChecklist(const ChecklistFile& checklist, QByteArray& bytes, bool* lossy) {
  BinaryWriter w;
  for (const auto& items : checklist.sections) {
    if (items.size() > kMaxEntries) return false;
    w.WriteInt16(static_cast<int16_t>(int(items.size()) - 1));
  }
  for (const auto& items : checklist.sections) {
    for (const auto& item : items) {
      if (item.responses.size() > kMaxEntries) return false;
      w.WriteFixed(item.challenge, kChallengeWidth);
      w.WriteFixed(item.pronunciation, kPronunciationWidth);
      w.WriteFixed(item.response, kResponseWidth);
      w.WriteInt16(static_cast<int16_t>(int(item.responses.size()) - 1));
      for (const auto& r : item.responses) {
        w.WriteFixed(r.text, kResponseTextWidth);
        w.WriteInt32(r.functionNumber);
      }
    }
  }
  if (lossy) *lossy = w.lossy();
  bytes = w.bytes();
  return true;
}

QString ChecklistNameOf(const QString& fileName) {
  QString name = fileName;
  name.remove(QStringLiteral(".dat"), Qt::CaseInsensitive);
  return name.trimmed();
}

QString AssignmentsFilePath(const QString& installDir) { return installDir + "/Data/" + kAssignmentsFileName; }

bool ParseAssignments(const QByteArray& bytes, std::vector<ChecklistAssignment>& out) {
  BinaryReader in(bytes);
  const int last = in.ReadInt16();
  if (in.failed() || last < -1) return false;
  const qint64 count = last + 1;
  if (in.remaining() != count * kAssignmentRecordSize) return false;
  std::vector<ChecklistAssignment> list(static_cast<size_t>(count));
  for (auto& a : list) {
    a.aircraftTitle = in.ReadFixed(kAssignmentTitleWidth);
    a.checklistName = in.ReadFixed(kAssignmentNameWidth);
    a.written = in.ReadInt16();
  }
  if (in.failed() || !in.atEnd()) return false;
  out = std::move(list);
  return true;
}

QByteArray SerializeAssignments(const std::vector<ChecklistAssignment>& list, bool* lossy) {
  BinaryWriter w;
  w.WriteInt16(static_cast<int16_t>(static_cast<int>(list.size()) - 1));
  for (const auto& a : list) {
    w.WriteFixed(a.aircraftTitle, kAssignmentTitleWidth);
    w.WriteFixed(a.checklistName, kAssignmentNameWidth);
    w.WriteInt16(a.written);
  }
  if (lossy) *lossy = w.lossy();
  return w.bytes();
}

}  // namespace qv::data
