#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class QByteArray;

namespace qv::data {

inline constexpr int kSectionCount = 12;
inline constexpr int kChallengeWidth = 256;
inline constexpr int kPronunciationWidth = 256;
inline constexpr int kResponseWidth = 128;
inline constexpr int kResponseTextWidth = 128;
inline constexpr int kAssignmentTitleWidth = 256;
inline constexpr int kAssignmentNameWidth = 256;

// Every item's responses start with these two fixed entries.
inline constexpr int32_t kIgnoreFunction = 50000;
inline constexpr int32_t kSkipFunction = 50001;

struct ChecklistItemResponse {
  QString text;  // 128
  int32_t functionNumber = 0;
};

struct ChecklistItem {
  QString challenge;      // 256
  QString pronunciation;  // 256
  QString response;       // 128
  std::vector<ChecklistItemResponse> responses;
};

// The open checklist: 12 sections of steps, and the name it is saved under
// (file name without folder and ".dat").
struct ChecklistFile {
  QString name;
  std::array<std::vector<ChecklistItem>, kSectionCount> sections;
};

// One simulator aircraft and its checklist.
struct ChecklistAssignment {
  QString aircraftTitle;  // 256
  QString checklistName;  // 256, blank when none is assigned
  int16_t written = 0;    // 1 = the kneeboard page was replaced and backed up
};

// Largest files read: a checklist far beyond any real one, and the most an
// assignments file can hold (a 16-bit last index of 514-byte records).
inline constexpr qint64 kMaxChecklistFileSize = 16 * 1024 * 1024;
inline constexpr qint64 kMaxAssignmentsFileSize = 2 + 514 * 32768LL;

inline const QString kAssignmentsFileName = QStringLiteral("Checklist_Assignments.dat");
inline const QString kAssignmentsBackupName = QStringLiteral("Checklist_Assignments.bak");

QString AssignmentsFilePath(const QString& installDir);

// The assignments file as bytes and back. Parsing is all or nothing: the
// length must be exactly what the header promises.
bool ParseAssignments(const QByteArray& bytes, std::vector<ChecklistAssignment>& out);
QByteArray SerializeAssignments(const std::vector<ChecklistAssignment>& list, bool* lossy = nullptr);

inline const QString kChecklistsFolder = QStringLiteral("Checklists");

// The checklist file as bytes and back (all or nothing, as above). The name
// is not part of the file and is left as it is.
bool ParseChecklist(const QByteArray& bytes, ChecklistFile& out);
bool SerializeChecklist(const ChecklistFile& checklist, QByteArray& bytes, bool* lossy = nullptr);

// The checklist name of a file name: every ".dat" removed (any case), trimmed.
QString ChecklistNameOf(const QString& fileName);

}  // namespace qv::data
