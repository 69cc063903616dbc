#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace qv::checklists {

inline constexpr int kManufacturerWidth = 50;
inline constexpr int kTypeWidth = 100;
inline constexpr int kVariationWidth = 100;
inline constexpr int kTitleWidth = 255;

// One simulator aircraft (one fltsim entry).
struct AircraftVariation {
  QString variation;  // 100, blank-padded
  QString title;      // 255, blank-padded; identity in the assignments file
  int16_t assignmentIndex = -1;
  QString textureFolder;  // holds thumbnail.jpg
  QString checklistPage;  // the kneeboard page the program writes and restores
  QString folder;         // the aircraft's folder: its page and backup must stay inside
};

struct AircraftType {
  QString name;                               // 100, blank-padded
  std::vector<AircraftVariation> variations;  // sorted, never empty
};

struct AircraftManufacturer {
  QString name;                     // 50, blank-padded
  std::vector<AircraftType> types;  // sorted, never empty
};

// Manufacturers, their types and the variations of each, every level in
// ascending ordinal order of the blank-padded names.
struct AircraftCatalogue {
  std::vector<AircraftManufacturer> manufacturers;
};

}  // namespace qv::checklists
