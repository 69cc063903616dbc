#include "core/checklists/AircraftScan.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QStringBuilder>
#include <algorithm>

#include "base/FixedText.h"
#include "base/Parallel.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/StatusSink.h"
#include "data/IniFile.h"
#include "platform/FolderListing.h"
#include "platform/SimInstallation.h"

namespace qv::checklists {
namespace {

using base::Fixed;

bool IsAscii(QStringView s) {
  for (QChar c : s)
    if (c.unicode() >= 0x80) return false;
  return true;
}

// a.toLower() == b.toLower(), without the copies for the usual ASCII names.
bool SameLowerCase(QStringView a, QStringView b) {
  if (IsAscii(a) && IsAscii(b)) return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
  return a.toString().toLower() == b.toString().toLower();
}

// The text upper- or lower-cased, as QString does it, with a short way for
// the plain ASCII names nearly every aircraft has.
QString CaseKey(QStringView text, bool upper) {
  if (!IsAscii(text)) return upper ? text.toString().toUpper() : text.toString().toLower();
  QString key = text.toString();
  for (QChar& c : key) {
    const char16_t u = c.unicode();
    if (upper ? (u >= u'a' && u <= u'z') : (u >= u'A' && u <= u'Z')) c = QChar(char16_t(u ^ 0x20));
  }
  return key;
}

// QString::trimmed() without the copy; the blank padding of a fixed-width
// field goes first the short way.
QStringView Trimmed(QStringView text) {
  while (!text.isEmpty() && text.back() == u' ') text.chop(1);
  return text.trimmed();
}

// What two names of one catalogue level are merged by: equal when their
// fixed-width forms are equal after lower-casing. Padding blanks are left out
// of the key and the padded length put in instead (a padded text is its
// unpadded text plus blanks up to its length), so the key is short and is
// made from the name without padding it first.
QString MergeKey(const QString& name, int width) {
  const QStringView cut = QStringView(name).left(width);
  QString key = IsAscii(cut) ? CaseKey(cut, false) : base::Fixed(name, width).toLower();
  const qsizetype length = IsAscii(cut) ? width : key.size();
  while (!key.isEmpty() && key.back() == u' ') key.chop(1);
  return key + QChar(u'\0') + QChar(char16_t(length));
}

// The entries of one aircraft folder, listed once, so that the configuration
// file, the flight models, the texture folders and the kneeboard pages can all
// be found without regard to letter case without listing it again per name.
// An aircraft folder holds a handful of entries: a look-up walks them all.
class FolderEntries {
 public:
  using Kind = platform::FolderEntry::Kind;
  static constexpr Kind File = platform::FolderEntry::File;
  static constexpr Kind Folder = platform::FolderEntry::Folder;

  explicit FolderEntries(const QString& folder) : m_entries(platform::ListFolder(folder)) {}

  // The actual name of the entry of that kind called `name`: the exact
  // spelling first, else the first in ordinal order of those that differ only
  // in case. Empty when there is none.
  QString find(const QString& name, Kind kind) const {
    for (const auto& e : m_entries)
      if (e.kind == kind && e.name == name) return name;
    QString best;
    for (const auto& e : m_entries)
      if (e.kind == kind && SameLowerCase(e.name, name) && (best.isEmpty() || e.name < best)) best = e.name;
    return best;
  }

 private:
  std::vector<platform::FolderEntry> m_entries;
};

bool HasSeparator(const QString& s) { return s.contains(u'\\') || s.contains(u'/'); }

bool AirFileExistsIn(const FolderEntries& entries, const QString& folder, const QString& simName) {
  const QString name = simName.trimmed() % u".air";
  if (HasSeparator(name)) return QFileInfo(platform::ResolveNoCase(folder, name)).isFile();
  return !entries.find(name, FolderEntries::File).isEmpty();
}

// The texture folder as the simulator names it ("Texture" or "Texture.N"),
// spelled as it is on disk when it exists.
QString TextureFolder(const FolderEntries& entries, const QString& folder, const QString& texture) {
  const QString name = texture.isEmpty() ? QStringLiteral("Texture") : QString(u"Texture." % texture);
  if (HasSeparator(name)) return platform::ResolveNoCase(folder, name) + "/";
  const QString found = entries.find(name, FolderEntries::Folder);
  return folder % u'/' % (found.isEmpty() ? name : found) % u'/';
}

// The kneeboard page; when it does not exist yet it is where it will be written.
QString ChecklistPage(const FolderEntries& entries, const QString& folder, const QString& page) {
  const QString name = page % u".htm";
  if (HasSeparator(name)) return platform::ResolveNoCase(folder, name);
  const QString found = entries.find(name, FolderEntries::File);
  return folder % u'/' % (found.isEmpty() ? name : found);
}

// The records of one aircraft folder, or why its configuration file could
// not be read.
struct FolderRecords {
  std::vector<AircraftRecord> records;
  QString problem;
};

FolderRecords ReadAircraftFolder(const QString& folder) {
  FolderRecords out;
  const FolderEntries entries(folder);
  QString cfgName = entries.find("Aircraft.cfg", FolderEntries::File);
  if (cfgName.isEmpty()) cfgName = entries.find("Sim.cfg", FolderEntries::File);
  if (cfgName.isEmpty()) return out;
  const data::IniFile cfg = data::IniFile::Load(folder % u'/' % cfgName);
  if (!cfg.error().isEmpty()) {
    out.problem = cfg.error();
    return out;
  }
  enum { Title, Sim, Manufacturer, Type, Variation, Texture, Page, KeyCount };
  static const QLatin1String keys[KeyCount] = {QLatin1String("title"),           QLatin1String("sim"),
                                               QLatin1String("ui_manufacturer"), QLatin1String("ui_type"),
                                               QLatin1String("ui_variation"),    QLatin1String("texture"),
                                               QLatin1String("kb_checklists")};
  QString v[KeyCount];
  for (int n = 0; n < kMaxFltsimEntries; ++n) {
    cfg.values(QString(u"fltsim." % QString::number(n)), keys, v);
    for (QString& value : v) value = data::CleanIniValue(value);
    // The simulator numbers its entries without gaps: the first empty title ends the file.
    if (v[Title].isEmpty()) break;
    if (!AirFileExistsIn(entries, folder, v[Sim])) continue;
    out.records.push_back({v[Title], v[Manufacturer], v[Type], v[Variation], TextureFolder(entries, folder, v[Texture]),
                           ChecklistPage(entries, folder, v[Page]), folder});
  }
  return out;
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

std::vector<AircraftRecord> CollectAircraftRecords(const QString& simFolder, const QStringList& objectPaths,
                                                   QStringList* problems) {
  QStringList folders;
  for (const QString& entry : objectPaths) {
    const QString base = SimObjectFolder(simFolder, entry);
    if (QFileInfo(base).isDir()) folders += AircraftFolders(base);
  }
  // Each folder is listed and read on its own, a few at a time; the records
  // are then taken in folder order, as one walk would have found them.
  std::vector<FolderRecords> perFolder(folders.size());
  base::ForEachIndex(folders.size(), [&](qsizetype i) { perFolder[i] = ReadAircraftFolder(folders[i]); });
  std::vector<AircraftRecord> records;
  for (FolderRecords& f : perFolder) {
    for (AircraftRecord& r : f.records) records.push_back(std::move(r));
    if (!f.problem.isEmpty() && problems) *problems << f.problem;
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

  // The fixed-width names and their keys are made for every record first, on
  // a few threads; the merge below must then run in record order.
  struct Names {
    QString manufacturer, type, variation, title, manufacturerKey, typeKey, variationKey;
  };
  std::vector<Names> names(records.size());
  base::ForEachIndex(
      qsizetype(records.size()),
      [&](qsizetype i) {
        const AircraftRecord& r = records[i];
        Names& n = names[i];
        n.manufacturer = base::Fixed(r.manufacturer, kManufacturerWidth);
        n.type = base::Fixed(r.type, kTypeWidth);
        n.variation = base::Fixed(r.variation, kVariationWidth);
        n.title = base::Fixed(r.title, kTitleWidth);
        n.manufacturerKey = MergeKey(r.manufacturer, kManufacturerWidth);
        n.typeKey = MergeKey(r.type, kTypeWidth);
        n.variationKey = MergeKey(r.variation, kVariationWidth);
      },
      512);

  for (size_t i = 0; i < records.size(); ++i) {
    const AircraftRecord& r = records[i];
    Names& n = names[i];
    AircraftVariation v;
    v.variation = std::move(n.variation);
    v.title = std::move(n.title);
    v.textureFolder = r.textureFolder;
    v.checklistPage = r.checklistPage;
    v.folder = r.folder;
    const QString& typeName = n.type;
    const QString& manufacturerName = n.manufacturer;
    const QString& manufacturerKey = n.manufacturerKey;
    const QString& typeKey = n.typeKey;
    const QString& variationKey = n.variationKey;

    const auto m = manufacturerIndex.constFind(manufacturerKey);
    if (m == manufacturerIndex.cend()) {
      if (c.manufacturers.size() >= kMaxLevelEntries) continue;
      manufacturerIndex.insert(manufacturerKey, static_cast<int>(c.manufacturers.size()));
      typeIndex.push_back({{typeKey, 0}});
      variationIndex.push_back({{{variationKey, 0}}});
      c.manufacturers.push_back({manufacturerName, {{typeName, {std::move(v)}}}});
      continue;
    }
    AircraftManufacturer& manufacturer = c.manufacturers[*m];
    const auto t = typeIndex[*m].constFind(typeKey);
    if (t == typeIndex[*m].cend()) {
      if (manufacturer.types.size() >= kMaxLevelEntries) continue;
      typeIndex[*m].insert(typeKey, static_cast<int>(manufacturer.types.size()));
      variationIndex[*m].push_back({{variationKey, 0}});
      manufacturer.types.push_back({typeName, {std::move(v)}});
      continue;
    }
    AircraftType& type = manufacturer.types[*t];
    QHash<QString, int>& variations = variationIndex[*m][*t];
    // The first entry in scan order wins, even when the later one has another title.
    if (variations.contains(variationKey) || type.variations.size() >= kMaxLevelEntries) continue;
    variations.insert(variationKey, static_cast<int>(type.variations.size()));
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
  // Every title's key first, on a few threads; then the look-ups in order.
  std::vector<AircraftVariation*> all;
  for (auto& m : catalogue.manufacturers)
    for (auto& t : m.types)
      for (auto& v : t.variations) all.push_back(&v);
  const size_t known = assignments.size();
  std::vector<QString> keys(known + all.size());
  base::ForEachIndex(
      qsizetype(keys.size()),
      [&](qsizetype i) {
        keys[i] = CaseKey(Trimmed(size_t(i) < known ? assignments[i].aircraftTitle : all[i - known]->title), true);
      },
      512);

  QHash<QString, int> byTitle;  // upper-cased trimmed title -> first record
  byTitle.reserve(qsizetype(keys.size()));
  assignments.reserve(std::min<size_t>(keys.size(), kMaxLevelEntries));
  for (size_t i = 0; i < known; ++i)
    if (!byTitle.contains(keys[i])) byTitle.insert(keys[i], int(i));

  bool anyLeftOut = false;
  for (size_t i = 0; i < all.size(); ++i) {
    AircraftVariation& v = *all[i];
    const QString& key = keys[known + i];
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
    a.aircraftTitle = base::Fixed(Trimmed(v.title).toString(), data::kAssignmentTitleWidth);
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
  QStringList problems;
  std::vector<AircraftRecord> records =
      CollectAircraftRecords(platform::SimulatorFolder(ctx.state.installDir), ctx.state.simObjectPaths, &problems);
  ctx.state.catalogue = BuildCatalogue(records);
  records = {};
  LinkAssignments(ctx.state.catalogue, ctx.state.assignments);
  if (problems.isEmpty()) return;

  // An aircraft the user owns is missing from the list; say which and why.
  constexpr int kListed = 10;
  QStringList lines{
      "Quorvane could not read these aircraft configuration files, so their aircraft are not "
      "in the aircraft list:"};
  lines << problems.mid(0, kListed);
  if (problems.size() > kListed) lines << QString("... and %1 more.").arg(problems.size() - kListed);
  lines << "Please press OK to continue...";
  ctx.dialogs.ShowMessage("FSX Aircraft Not Read", shell::JoinLines(lines), shell::kIconWarning, true, false, "");
}

}  // namespace qv::checklists
