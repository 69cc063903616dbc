#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/checklists/AircraftCatalogue.h"
#include "data/ChecklistFiles.h"

namespace qv::shell {
struct Context;
}

namespace qv::checklists {

inline constexpr int kMaxFltsimEntries = 1000;     // "fltsim.0" .. "fltsim.999"
inline constexpr int kMaxAircraftFolders = 10000;  // listed per object folder
inline constexpr int kMaxLevelEntries = 32768;     // 16-bit last indexes

// One kept fltsim entry, in scan order; lives only while the catalogue is built.
struct AircraftRecord {
  QString title;
  QString manufacturer;
  QString type;
  QString variation;
  QString textureFolder;  // ends with a slash; holds thumbnail.jpg
  QString checklistPage;  // the kneeboard page
  QString folder;         // the aircraft's folder
};

// The folder that one SimObjectPaths entry names: relative to the simulator
// folder (backslashes allowed) or absolute, each component matched without
// regard to letter case.
QString SimObjectFolder(const QString& simFolder, const QString& entry);

// True when aircraftFolder/<simName trimmed>.air is a file, found without
// regard to letter case. Any failure counts as absent.
bool AirFileExists(const QString& aircraftFolder, const QString& simName);

// Walks the object folders and their aircraft folders and returns every entry
// that has a flight model, in scan order. Each configuration file is read once.
// A configuration file that cannot be read (or is larger than any real one)
// leaves its folder out and adds a sentence naming it to `problems`.
std::vector<AircraftRecord> CollectAircraftRecords(const QString& simFolder, const QStringList& objectPaths,
                                                   QStringList* problems = nullptr);

// The three-level catalogue of the records: names merged without regard to
// case at their fixed widths (first seen wins), every level sorted.
AircraftCatalogue BuildCatalogue(const std::vector<AircraftRecord>& records);

// Each sorts one level in place between two indexes (inclusive), ascending by
// ordinal comparison of the blank-padded names.
void SortManufacturers(AircraftCatalogue& catalogue, int low, int high);
void SortTypes(AircraftCatalogue& catalogue, int low, int high, int manufacturer);
void SortVariations(AircraftCatalogue& catalogue, int low, int high, int manufacturer, int type);

// Points every variation at the first assignment with its title (trimmed,
// compared without regard to case) and appends a record with no checklist for
// each aircraft that has none. When the assignments list is full (16-bit
// index), the remaining aircraft are left out of the catalogue.
void LinkAssignments(AircraftCatalogue& catalogue, std::vector<data::ChecklistAssignment>& assignments);

// The start-up step: fills the catalogue from the installation's object paths
// and links it to the assignments list. Never fails; an empty catalogue is a
// valid result. Writes no file.
void ScanSimulatorAircraft(shell::Context& ctx);

}  // namespace qv::checklists
