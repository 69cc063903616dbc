#include "core/checklists/AircraftScan.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QMultiHash>
#include <algorithm>

#include "base/FixedText.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/StatusSink.h"
#include "data/IniFile.h"
#include "platform/SimInstallation.h"

namespace qv::checklists {
namespace {

using base::Fixed;

// The entries of one aircraft folder, listed once, so that the configuration
// file, the flight models, the texture folders and the kneeboard pages can all
// be found without regard to letter case without listing it again per name.
class FolderEntries {
 public:
  enum Kind { File, Folder, Other };

  explicit FolderEntries(const QString& folder) {
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
      it.next();
      const QFileInfo info = it.fileInfo();
      const Entry e{it.fileName(), info.isDir() ? Folder : info.isFile() ? File : Other};
      m_exact.insert(e.name, e.kind);
      m_folded.insert(e.name.toLower(), e);
    }
  }

  // The actual name of the entry of that kind called `name`: the exact
  // spelling first, else the first in ordinal order of those that differ only
  // in case. Empty when there is none.
  QString find(const QString& name, Kind kind) const {
    if (const auto it = m_exact.constFind(name); it != m_exact.cend() && it.value() == kind) return name;
    QString best;
    for (auto it = m_folded.constFind(name.toLower()); it != m_folded.cend() && it.key() == name.toLower(); ++it)
      if (it->kind == kind && (best.isEmpty() || it->name < best)) best = it->name;
    return best;
  }

 private:
  struct Entry {
    QString name;
    Kind kind;
  };
  QHash<QString, Kind> m_exact;
  QMultiHash<QString, Entry> m_folded;
};

bool HasSeparator(const QString& s) { return s.contains(u'\\') || s.contains(u'/'); }

bool AirFileExistsIn(const FolderEntries& entries, const QString& folder, const QString& simName) {
  const QString name = simName.trimmed() + ".air";
  if (HasSeparator(name)) return QFileInfo(platform::ResolveNoCase(folder, name)).isFile();
  return !entries.find(name, FolderEntries::File).isEmpty();
}

// The texture folder as the simulator names it ("Texture" or "Texture.N"),
// spelled as it is on disk when it exists.
QString TextureFolder(const FolderEntries& entries, const QString& folder, const QString& texture) {
  const QString name = texture.isEmpty() ? QStringLiteral("Texture") : "Texture." + texture;
  if (HasSeparator(name)) return platform::ResolveNoCase(folder, name) + "/";
  const QString found = entries.find(name, FolderEntries::Folder);
  return folder + "/" + (found.isEmpty() ? name : found) + "/";
}

// The kneeboard page; when it does not exist yet it is where it will be written.
QString ChecklistPage(const FolderEntries& entries, const QString& folder, const QString& page) {
  const QString name = page + ".htm";
  if (HasSeparator(name)) return platform::ResolveNoCase(folder, name);
  const QString found = entries.find(name, FolderEntries::File);
  return folder + "/" + (found.isEmpty() ? name : found);
}

void ReadAircraftFolder(const QString& folder, std::vector<AircraftRecord>& records) {
  const FolderEntries entries(folder);
  QString cfgName = entries.find("Aircraft.cfg", FolderEntries::File);
  if (cfgName.isEmpty()) cfgName = entries.find("Sim.cfg", FolderEntries::File);
  if (cfgName.isEmpty()) return;
  const data::IniFile cfg = data::IniFile::Load(folder + "/" + cfgName);
  const auto read = [&cfg](const QString& section, const char* key) {
    return data::CleanIniValue(cfg.value(section, QLatin1String(key)));
  };
  for (int n = 0; n < kMaxFltsimEntries; ++n) {
    const QString section = "fltsim." + QString::number(n);
    const QString title = read(section, "title");
    // The simulator numbers its entries without gaps: the first empty title ends the file.
    if (title.isEmpty()) break;
    if (!AirFileExistsIn(entries, folder, read(section, "sim"))) continue;
    AircraftRecord r;
    r.title = title;
    r.manufacturer = read(section, "ui_manufacturer");
    r.type = read(section, "ui_type");
    r.variation = read(section, "ui_variation");
    r.textureFolder = TextureFolder(entries, folder, read(section, "texture"));
    r.checklistPage = ChecklistPage(entries, folder, read(section, "kb_checklists"));
    r.folder = folder;
    records.push_back(std::move(r));
  }
}

// The aircraft folders of one object folder, ordered as the simulator's own
// file system lists them (by name, ignoring case), so that the first of two
// duplicates is the same on every machine.
QStringList AircraftFolders(const QString& base) {
  QStringList names = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  if (names.size() > kMaxAircraftFolders) names.resize(kMaxAircraftFolders);
  for (QString& n : names) n = base + "/" + n;
  return names;
}

template <typename T, typename Name>
void SortRange(std::vector<T>& items, int low, int high, Name name) {
  if (low < 0 || high >= static_cast<int>(items.size()) || low >= high) return;
  std::sort(items.begin() + low, items.begin() + high + 1,
            [&name](const T& a, const T& b) { return name(a) < name(b); });
}

}  // namespace

QString SimObjectFolder(const QString& simFolder, const QString& entry) {
  return platform::ResolveNoCase(simFolder, platform::DrivePath(simFolder, platform::FromWindowsPath(entry.trimmed())));
}

bool AirFileExists(const QString& aircraftFolder, const QString& simName) {
  return AirFileExistsIn(FolderEntries(aircraftFolder), aircraftFolder, simName);
}

std::vector<AircraftRecord> CollectAircraftRecords(const QString& simFolder, const QStringList& objectPaths) {
  std::vector<AircraftRecord> records;
  for (const QString& entry : objectPaths) {
    const QString base = SimObjectFolder(simFolder, entry);
    if (!QFileInfo(base).isDir()) continue;
    for (const QString& folder : AircraftFolders(base)) ReadAircraftFolder(folder, records);
  }
  return records;
}

void SortManufacturers(AircraftCatalogue& catalogue, int low, int high) {
  SortRange(catalogue.manufacturers, low, high, [](const AircraftManufacturer& m) -> const QString& { return m.name; });
}

void SortTypes(AircraftCatalogue& catalogue, int low, int high, int manufacturer) {
  SortRange(catalogue.manufacturers.at(manufacturer).types, low, high,
            [](const AircraftType& t) -> const QString& { return t.name; });
}

void SortVariations(AircraftCatalogue& catalogue, int low, int high, int manufacturer, int type) {
  SortRange(catalogue.manufacturers.at(manufacturer).types.at(type).variations, low, high,
            [](const AircraftVariation& v) -> const QString& { return v.variation; });
}

AircraftCatalogue BuildCatalogue(const std::vector<AircraftRecord>& records) {
  AircraftCatalogue c;
  // Look-ups by lower-cased fixed-width name; indexes are stable because the
  // levels are sorted only once everything is in.
  QHash<QString, int> manufacturerIndex;
  std::vector<QHash<QString, int>> typeIndex;
  std::vector<std::vector<QHash<QString, int>>> variationIndex;

  for (const AircraftRecord& r : records) {
    AircraftVariation v;
    v.variation = base::Fixed(r.variation, kVariationWidth);
    v.title = base::Fixed(r.title, kTitleWidth);
    v.textureFolder = r.textureFolder;
    v.checklistPage = r.checklistPage;
    v.folder = r.folder;
    const QString typeName = base::Fixed(r.type, kTypeWidth);
    const QString manufacturerName = base::Fixed(r.manufacturer, kManufacturerWidth);

    const auto m = manufacturerIndex.constFind(manufacturerName.toLower());
    if (m == manufacturerIndex.cend()) {
      if (c.manufacturers.size() >= kMaxLevelEntries) continue;
      manufacturerIndex.insert(manufacturerName.toLower(), static_cast<int>(c.manufacturers.size()));
      typeIndex.push_back({{typeName.toLower(), 0}});
      variationIndex.push_back({{{v.variation.toLower(), 0}}});
      c.manufacturers.push_back({manufacturerName, {{typeName, {std::move(v)}}}});
      continue;
    }
    AircraftManufacturer& manufacturer = c.manufacturers[*m];
    const auto t = typeIndex[*m].constFind(typeName.toLower());
    if (t == typeIndex[*m].cend()) {
      if (manufacturer.types.size() >= kMaxLevelEntries) continue;
      typeIndex[*m].insert(typeName.toLower(), static_cast<int>(manufacturer.types.size()));
      variationIndex[*m].push_back({{v.variation.toLower(), 0}});
      manufacturer.types.push_back({typeName, {std::move(v)}});
      continue;
    }
    AircraftType& type = manufacturer.types[*t];
    QHash<QString, int>& variations = variationIndex[*m][*t];
    // The first entry in scan order wins, even when the later one has another title.
    if (variations.contains(v.variation.toLower()) || type.variations.size() >= kMaxLevelEntries) continue;
    variations.insert(v.variation.toLower(), static_cast<int>(type.variations.size()));
    type.variations.push_back(std::move(v));
  }

  SortManufacturers(c, 0, static_cast<int>(c.manufacturers.size()) - 1);
  for (int mi = 0; mi < static_cast<int>(c.manufacturers.size()); ++mi) {
    auto& types = c.manufacturers[mi].types;
    SortTypes(c, 0, static_cast<int>(types.size()) - 1, mi);
    for (int ti = 0; ti < static_cast<int>(types.size()); ++ti)
      SortVariations(c, 0, static_cast<int>(types[ti].variations.size()) - 1, mi, ti);
  }
  return c;
}

void LinkAssignments(AircraftCatalogue& catalogue, std::vector<data::ChecklistAssignment>& assignments) {
  QHash<QString, int> byTitle;  // upper-cased trimmed title -> first record
  for (int i = 0; i < static_cast<int>(assignments.size()); ++i) {
    const QString key = assignments[i].aircraftTitle.trimmed().toUpper();
    if (!byTitle.contains(key)) byTitle.insert(key, i);
  }

  bool anyLeftOut = false;
  for (auto& m : catalogue.manufacturers)
    for (auto& t : m.types)
      for (auto& v : t.variations) {
        const QString title = v.title.trimmed();
        const QString key = title.toUpper();
        if (const auto found = byTitle.constFind(key); found != byTitle.cend()) {
          v.assignmentIndex = static_cast<int16_t>(*found);
          continue;
        }
        if (assignments.size() >= kMaxLevelEntries) {
          v.assignmentIndex = -1;
          anyLeftOut = true;
          continue;
        }
        data::ChecklistAssignment a;
        a.aircraftTitle = base::Fixed(title, data::kAssignmentTitleWidth);
        a.checklistName = base::Fixed(QString(), data::kAssignmentNameWidth);
        a.written = 0;
        v.assignmentIndex = static_cast<int16_t>(assignments.size());
        byTitle.insert(key, v.assignmentIndex);
        assignments.push_back(std::move(a));
      }
  if (!anyLeftOut) return;

  // An aircraft without a record cannot be assigned or written; keep it out
  // rather than hand the screens an index that points nowhere.
  auto& ms = catalogue.manufacturers;
  for (auto& m : ms) {
    for (auto& t : m.types)
      std::erase_if(t.variations, [](const AircraftVariation& v) { return v.assignmentIndex < 0; });
    std::erase_if(m.types, [](const AircraftType& t) { return t.variations.empty(); });
  }
  std::erase_if(ms, [](const AircraftManufacturer& m) { return m.types.empty(); });
}

void ScanSimulatorAircraft(shell::Context& ctx) {
  ctx.status.SetStatus("Loading FSX Aircraft, standby...");
  std::vector<AircraftRecord> records =
      CollectAircraftRecords(platform::SimulatorFolder(ctx.state.installDir), ctx.state.simObjectPaths);
  ctx.state.catalogue = BuildCatalogue(records);
  records = {};
  LinkAssignments(ctx.state.catalogue, ctx.state.assignments);
}

}  // namespace qv::checklists
