#include "core/checklists/AircraftScan.h"

#include <QFileInfo>
#include <QStringBuilder>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <utility>

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
QStringView Trimmed(QStringView text) { return base::WithoutPadding(text).trimmed(); }

// base::Fixed of a view, without making a string of the view first.
QString FixedFrom(QStringView value, int width) {
  QString fixed(width, u' ');
  std::copy_n(value.utf16(), std::min<qsizetype>(value.size(), width), reinterpret_cast<char16_t*>(fixed.data()));
  return fixed;
}

// What two names of one catalogue level are merged by: equal when their
// fixed-width forms are equal after lower-casing. A padded text is its
// unpadded text plus blanks up to its length, so the padding blanks are left
// out and the padded length compared instead, and a plain ASCII name (nearly
// every one) is compared where it is, its letters folded; only another name
// is padded and lower-cased into a text of its own (whose ASCII letters are
// small already, so the two kinds compare as their lower-cased texts).
class MergeName {
 public:
  MergeName(const QString& name, int width) {
    const QStringView cut = QStringView(name).left(width);
    if (IsAscii(cut)) {
      m_text = cut;
      m_length = width;
    } else {
      m_lower = base::Fixed(name, width).toLower();
      m_text = m_lower;
      m_length = m_lower.size();
    }
    while (!m_text.isEmpty() && m_text.back() == u' ') m_text.chop(1);
  }
  MergeName(const MergeName&) = delete;
  MergeName& operator=(const MergeName&) = delete;

  static char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c ^ 0x20) : c; }
  bool operator==(const MergeName& other) const {
    if (m_length != other.m_length || m_text.size() != other.m_text.size()) return false;
    for (qsizetype i = 0; i < m_text.size(); ++i)
      if (Fold(m_text[i].unicode()) != Fold(other.m_text[i].unicode())) return false;
    return true;
  }
  uint64_t hash(uint64_t h) const {
    for (QChar c : m_text) h = (h ^ Fold(c.unicode())) * 1099511628211ull;
    return (h ^ uint64_t(m_length) ^ 0x10000u) * 1099511628211ull;
  }

 private:
  QStringView m_text;
  qsizetype m_length = 0;
  QString m_lower;
};

// The names of a record's first `Levels` catalogue levels (manufacturer,
// type, variation), as a key of the tables below: equal when every one of
// them merges. Nothing is stored per record; the names are looked at where
// the record holds them.
template <int Levels>
struct LevelsKey {
  const AircraftRecord* record = nullptr;

  static constexpr QString AircraftRecord::*kNames[3] = {&AircraftRecord::manufacturer, &AircraftRecord::type,
                                                         &AircraftRecord::variation};
  static constexpr int kWidths[3] = {kManufacturerWidth, kTypeWidth, kVariationWidth};

  bool operator==(const LevelsKey& other) const {
    for (int l = 0; l < Levels; ++l) {
      const QString& a = record->*kNames[l];
      const QString& b = other.record->*kNames[l];
      // The names of one folder's entries are mostly the same text.
      if (a.constData() == b.constData() && a.size() == b.size()) continue;
      if (!(MergeName(a, kWidths[l]) == MergeName(b, kWidths[l]))) return false;
    }
    return true;
  }
  struct Hash {
    size_t operator()(const LevelsKey& k) const {
      uint64_t h = 14695981039346656037ull;
      for (int l = 0; l < Levels; ++l) h = MergeName(k.record->*kNames[l], kWidths[l]).hash(h);
      return size_t(h ^ (h >> 32));
    }
  };
};

// Keys that live elsewhere (views of texts that outlast the table), each
// with a number: open addressing in one array, so that the thousands of
// look-ups and insertions of a scan allocate nothing per key.
template <class Key, class Hash>
class KeyTable {
 public:
  explicit KeyTable(size_t expected) {
    size_t size = 16;
    while (size * 3 < expected * 4) size *= 2;
    resize(size);
  }

  // The number held for `key`, or -1.
  int find(const Key& key) const {
    const uint32_t h = uint32_t(Hash{}(key));
    for (size_t i = h & m_mask;; i = (i + 1) & m_mask) {
      const Slot& s = m_slots[i];
      if (s.value < 0) return -1;
      if (s.hash == h && s.key == key) return s.value;
    }
  }
  // Adds `key` with `value` unless it is there; true when added.
  bool insert(const Key& key, int value) {
    // Up to three slots in four are used: the probes stay short, and the
    // table of a large hangar's variations stays small.
    if ((m_count + 1) * 4 > m_slots.size() * 3) resize(m_slots.size() * 2);
    const uint32_t h = uint32_t(Hash{}(key));
    size_t i = h & m_mask;
    for (; m_slots[i].value >= 0; i = (i + 1) & m_mask)
      if (m_slots[i].hash == h && m_slots[i].key == key) return false;
    m_slots[i] = {h, value, key};
    ++m_count;
    return true;
  }

 private:
  // Tables of a large hangar run to thousands of slots: the low half of the
  // hash is enough to tell keys apart before they are compared.
  struct Slot {
    uint32_t hash = 0;
    int value = -1;  // -1: empty
    Key key{};
  };
  void resize(size_t size) {  // a power of two
    std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size));
    m_mask = size - 1;
    for (const Slot& s : old) {
      if (s.value < 0) continue;
      size_t i = s.hash & m_mask;
      while (m_slots[i].value >= 0) i = (i + 1) & m_mask;
      m_slots[i] = s;
    }
  }

  std::vector<Slot> m_slots;
  size_t m_mask = 0, m_count = 0;
};

// The entries of one aircraft folder, listed once, so that the configuration
// file, the flight models, the texture folders and the kneeboard pages can all
// be found without regard to letter case without listing it again per name.
// An aircraft folder holds a handful of entries: a look-up walks them all.
class FolderEntries {
 public:
  using Kind = platform::FolderEntry::Kind;
  static constexpr Kind File = platform::FolderEntry::File;
  static constexpr Kind Folder = platform::FolderEntry::Folder;

  explicit FolderEntries(std::vector<platform::FolderEntry> entries) : m_entries(std::move(entries)) {}

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

// A configuration file larger than this does not keep its read buffer for
// the next one: nearly all are a few kilobytes.
constexpr qsizetype kKeptReadBuffer = 256 * 1024;

// The fltsim entries of one configuration file that have a flight model.
void ReadAircraftEntries(const data::IniFile& cfg, const FolderEntries& entries, const QString& folder,
                         std::vector<AircraftRecord>& records) {
  enum { Title, Sim, Manufacturer, Type, Variation, Texture, Page, KeyCount };
  static const QLatin1String keys[KeyCount] = {QLatin1String("title"),           QLatin1String("sim"),
                                               QLatin1String("ui_manufacturer"), QLatin1String("ui_type"),
                                               QLatin1String("ui_variation"),    QLatin1String("texture"),
                                               QLatin1String("kb_checklists")};
  QString v[KeyCount];
  // The entries of one file mostly repeat the maker, the type and the
  // kneeboard page of the one before: an equal text is shared with it rather
  // than held once per entry (the page, a whole path, is made only once).
  QString lastPage, lastTexture;
  const auto shareWithLast = [&records](QString& value, QString AircraftRecord::*field) {
    if (!records.empty() && records.back().*field == value) value = records.back().*field;
  };
  char16_t section[16] = u"fltsim.";
  for (int n = 0; n < kMaxFltsimEntries; ++n) {
    // "fltsim.N" written in place: the number's digits after the dot
    qsizetype size = 7;
    for (int rest = n, scale = n >= 100 ? 100 : n >= 10 ? 10 : 1; scale > 0; rest %= scale, scale /= 10)
      section[size++] = char16_t(u'0' + rest / scale);
    cfg.values(QStringView(section, size), keys, v);
    for (QString& value : v) value = data::CleanIniValue(value);
    // The simulator numbers its entries without gaps: the first empty title ends the file.
    if (v[Title].isEmpty()) break;
    if (!AirFileExistsIn(entries, folder, v[Sim])) continue;
    const bool samePage = !records.empty() && v[Page] == lastPage;
    const bool sameTexture = !records.empty() && v[Texture] == lastTexture;
    AircraftRecord r{v[Title],
                     v[Manufacturer],
                     v[Type],
                     v[Variation],
                     sameTexture ? records.back().textureFolder : TextureFolder(entries, folder, v[Texture]),
                     samePage ? records.back().checklistPage : ChecklistPage(entries, folder, v[Page]),
                     folder};
    shareWithLast(r.manufacturer, &AircraftRecord::manufacturer);
    shareWithLast(r.type, &AircraftRecord::type);
    shareWithLast(r.variation, &AircraftRecord::variation);
    lastPage = v[Page];
    lastTexture = v[Texture];
    records.push_back(std::move(r));
  }
}

// One aircraft folder: `name` in the object folder `base`, at `folder`.
FolderRecords ReadAircraftFolder(const platform::OpenFolder& base, const QString& name, const QString& folder) {
  FolderRecords out;
  const platform::OpenFolder dir(base, name);
  const FolderEntries entries(dir.entries());
  QString cfgName = entries.find("Aircraft.cfg", FolderEntries::File);
  if (cfgName.isEmpty()) cfgName = entries.find("Sim.cfg", FolderEntries::File);
  if (cfgName.isEmpty()) return out;
  // One read buffer per thread serves every file it reads: the file's text
  // shares it only while the file is looked at, so the next read finds it
  // free and fills it again without a new allocation.
  thread_local QByteArray bytes;
  {
    QString reason;
    const platform::FileRead read = dir.readListedFile(cfgName, data::IniFile::kMaxFileSize, bytes, reason);
    const data::IniFile cfg = data::IniFile::FromRead(
        read, bytes, reason, read == platform::FileRead::Ok ? QString() : folder % u'/' % cfgName);
    if (cfg.error().isEmpty()) {
      // The entries are gathered where each thread keeps room for them, then
      // moved into a vector of their number: thousands of folders' vectors
      // are not left with room to spare.
      thread_local std::vector<AircraftRecord> scratch;
      ReadAircraftEntries(cfg, entries, folder, scratch);
      out.records.reserve(scratch.size());
      std::move(scratch.begin(), scratch.end(), std::back_inserter(out.records));
      scratch.clear();
    } else {
      out.problem = cfg.error();
    }
  }
  if (bytes.capacity() > kKeptReadBuffer) bytes = QByteArray();
  return out;
}

// The names of the aircraft folders of one object folder, ordered as the
// simulator's own file system lists them (by name, ignoring case), so that
// the first of two duplicates is the same on every machine.
QStringList AircraftFolders(const platform::OpenFolder& base) {
  // The folders a file manager shows (links to folders included, hidden
  // ones left out), listed from the handle held open anyway.
  QStringList names;
  for (platform::FolderEntry& e : base.entries())
    if (e.kind == platform::FolderEntry::Folder && !e.name.startsWith(u'.')) names.push_back(std::move(e.name));
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  if (names.size() > kMaxAircraftFolders) names.resize(kMaxAircraftFolders);
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
  return AirFileExistsIn(FolderEntries(platform::ListFolder(aircraftFolder)), aircraftFolder, simName);
}

namespace {

// The records of every aircraft folder, in folder order; the problems are
// added in the same order.
std::vector<FolderRecords> CollectFolderRecords(const QString& simFolder, const QStringList& objectPaths,
                                                QStringList* problems) {
  // Each object folder is held open, so that its aircraft folders and their
  // files are opened by name from it.
  struct Folder {
    const platform::OpenFolder* base;
    QString name, path;
  };
  std::vector<std::unique_ptr<platform::OpenFolder>> bases;
  std::vector<Folder> folders;
  for (const QString& entry : objectPaths) {
    const QString base = SimObjectFolder(simFolder, entry);
    if (!QFileInfo(base).isDir()) continue;
    bases.push_back(std::make_unique<platform::OpenFolder>(base));
    for (const QString& name : AircraftFolders(*bases.back()))
      folders.push_back({bases.back().get(), name, base % u'/' % name});
  }
  // Each folder is listed and read on its own, a few at a time; the records
  // are then taken in folder order, as one walk would have found them.
  std::vector<FolderRecords> perFolder(folders.size());
  base::ForEachIndex(qsizetype(folders.size()), [&](qsizetype i) {
    perFolder[i] = ReadAircraftFolder(*folders[i].base, folders[i].name, folders[i].path);
  });
  if (problems)
    for (const FolderRecords& f : perFolder)
      if (!f.problem.isEmpty()) *problems << f.problem;
  return perFolder;
}

AircraftCatalogue BuildCatalogueOf(std::span<const AircraftRecord* const> records);

}  // namespace

std::vector<AircraftRecord> CollectAircraftRecords(const QString& simFolder, const QStringList& objectPaths,
                                                   QStringList* problems) {
  std::vector<FolderRecords> perFolder = CollectFolderRecords(simFolder, objectPaths, problems);
  size_t total = 0;
  for (const FolderRecords& f : perFolder) total += f.records.size();
  std::vector<AircraftRecord> records;
  records.reserve(total);
  for (FolderRecords& f : perFolder)
    for (AircraftRecord& r : f.records) records.push_back(std::move(r));
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
  std::vector<const AircraftRecord*> all(records.size());
  for (size_t i = 0; i < records.size(); ++i) all[i] = &records[i];
  return BuildCatalogueOf(all);
}

namespace {

AircraftCatalogue BuildCatalogueOf(std::span<const AircraftRecord* const> records) {
  AircraftCatalogue c;
  // The fixed-width titles are made for every record first, on a few
  // threads; the merge below must then run in record order. A level is looked
  // up by its own name and those of the levels above it, so one table per
  // level serves every parent.
  std::vector<QString> titles(records.size());
  base::ForEachIndex(
      qsizetype(records.size()), [&](qsizetype i) { titles[i] = base::Fixed(records[i]->title, kTitleWidth); }, 512);

  KeyTable<LevelsKey<1>, LevelsKey<1>::Hash> manufacturerIndex(64);  // -> index in its parent
  KeyTable<LevelsKey<2>, LevelsKey<2>::Hash> typeIndex(256);
  KeyTable<LevelsKey<3>, LevelsKey<3>::Hash> variationKeys(records.size());
  // A few variation names ("House Colors") recur across thousands of
  // aircraft: each different text is padded once and the catalogue shares it.
  struct TextHash {
    size_t operator()(QStringView text) const { return qHash(text); }
  };
  KeyTable<QStringView, TextHash> paddedIndex(64);  // -> index in padded
  std::vector<QString> padded;
  const auto paddedVariation = [&](const QString& text) -> const QString& {
    const int found = paddedIndex.find(text);
    if (found >= 0) return padded[size_t(found)];
    paddedIndex.insert(text, int(padded.size()));
    return padded.emplace_back(base::Fixed(text, kVariationWidth));
  };
  // The merge first decides where each record goes and counts the
  // variations of each type; every type's variations are then made in a
  // vector of their number, in record order.
  struct Place {
    size_t record;
    int manufacturer, type;
  };
  std::vector<Place> kept;
  kept.reserve(records.size());
  std::vector<std::vector<int>> counts;  // of each manufacturer's types
  for (size_t i = 0; i < records.size(); ++i) {
    const AircraftRecord& r = *records[i];
    const LevelsKey<1> manufacturerKey{&r};
    const LevelsKey<2> typeKey{&r};
    const LevelsKey<3> variationKey{&r};

    const int m = manufacturerIndex.find(manufacturerKey);
    if (m < 0) {
      if (c.manufacturers.size() >= kMaxLevelEntries) continue;
      const int added = static_cast<int>(c.manufacturers.size());
      manufacturerIndex.insert(manufacturerKey, added);
      typeIndex.insert(typeKey, 0);
      variationKeys.insert(variationKey, 0);
      c.manufacturers.push_back(
          {base::Fixed(r.manufacturer, kManufacturerWidth), {{base::Fixed(r.type, kTypeWidth), {}}}});
      counts.push_back({1});
      kept.push_back({i, added, 0});
      continue;
    }
    AircraftManufacturer& manufacturer = c.manufacturers[m];
    const int t = typeIndex.find(typeKey);
    if (t < 0) {
      if (manufacturer.types.size() >= kMaxLevelEntries) continue;
      const int added = static_cast<int>(manufacturer.types.size());
      typeIndex.insert(typeKey, added);
      variationKeys.insert(variationKey, 0);
      manufacturer.types.push_back({base::Fixed(r.type, kTypeWidth), {}});
      counts[m].push_back(1);
      kept.push_back({i, m, added});
      continue;
    }
    // The first entry in scan order wins, even when the later one has another title.
    if (counts[m][t] >= kMaxLevelEntries || !variationKeys.insert(variationKey, 0)) continue;
    ++counts[m][t];
    kept.push_back({i, m, t});
  }
  for (size_t m = 0; m < counts.size(); ++m)
    for (size_t t = 0; t < counts[m].size(); ++t) c.manufacturers[m].types[t].variations.reserve(size_t(counts[m][t]));
  for (const Place& p : kept) {
    const AircraftRecord& r = *records[p.record];
    AircraftVariation v;
    v.variation = paddedVariation(r.variation);
    v.title = std::move(titles[p.record]);
    v.textureFolder = r.textureFolder;
    v.checklistPage = r.checklistPage;
    v.folder = r.folder;
    c.manufacturers[p.manufacturer].types[p.type].variations.push_back(std::move(v));
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

}  // namespace

namespace {

// A title as the assignments match it: trimmed and upper-cased. An ASCII
// title stands for itself, its letters folded when hashed and compared; only
// other titles are upper-cased into a text of their own (whose ASCII letters
// are capitals already, so the two kinds compare as their upper-cased texts).
struct TitleKey {
  QStringView text;
  bool operator==(const TitleKey& other) const {
    if (text.size() != other.text.size()) return false;
    for (qsizetype i = 0; i < text.size(); ++i)
      if (FoldUpper(text[i].unicode()) != FoldUpper(other.text[i].unicode())) return false;
    return true;
  }
  static char16_t FoldUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }
};
struct TitleKeyHash {
  size_t operator()(const TitleKey& k) const {
    uint64_t h = 14695981039346656037ull;
    for (QChar c : k.text) h = (h ^ TitleKey::FoldUpper(c.unicode())) * 1099511628211ull;
    return size_t(h);
  }
};

}  // namespace

void LinkAssignments(AircraftCatalogue& catalogue, std::vector<data::ChecklistAssignment>& assignments) {
  size_t count = 0;
  for (const auto& m : catalogue.manufacturers)
    for (const auto& t : m.types) count += t.variations.size();
  std::vector<AircraftVariation*> all;
  all.reserve(count);
  for (auto& m : catalogue.manufacturers)
    for (auto& t : m.types)
      for (auto& v : t.variations) all.push_back(&v);
  const size_t known = assignments.size();
  // The look-ups and new records below view the titles: none of them moves
  // (the assignments have room reserved, and a moved QString keeps its text).
  assignments.reserve(std::min<size_t>(known + all.size(), std::max<size_t>(known, kMaxLevelEntries)));
  std::vector<QStringView> titles(known + all.size());
  std::vector<uint8_t> ascii(titles.size());
  base::ForEachIndex(
      qsizetype(titles.size()),
      [&](qsizetype i) {
        titles[i] = Trimmed(size_t(i) < known ? assignments[i].aircraftTitle : all[i - known]->title);
        ascii[i] = IsAscii(titles[i]);
      },
      512);
  // The few other titles are upper-cased into texts of their own, which
  // must not move once viewed.
  std::vector<QString> upper;  // the upper-cased non-ASCII titles
  upper.reserve(size_t(std::count(ascii.begin(), ascii.end(), uint8_t(0))));
  for (size_t i = 0; i < titles.size(); ++i)
    if (!ascii[i]) titles[i] = upper.emplace_back(CaseKey(titles[i], true));

  KeyTable<TitleKey, TitleKeyHash> byTitle(titles.size());  // -> first record of the title
  for (size_t i = 0; i < known; ++i) byTitle.insert(TitleKey{titles[i]}, int(i));

  // Every new record starts without a checklist: one blank name serves them all.
  const QString noChecklist = base::Fixed(QString(), data::kAssignmentNameWidth);
  bool anyLeftOut = false;
  // The new records' titles are padded afterwards, a few at a time: the
  // look-ups view the catalogue's titles, never the records' own.
  const size_t firstNew = assignments.size();
  std::vector<const AircraftVariation*> newTitles;
  for (size_t i = 0; i < all.size(); ++i) {
    AircraftVariation& v = *all[i];
    const TitleKey key{titles[known + i]};
    if (const int found = byTitle.find(key); found >= 0) {
      v.assignmentIndex = static_cast<int16_t>(found);
      continue;
    }
    if (assignments.size() >= kMaxLevelEntries) {
      v.assignmentIndex = -1;
      anyLeftOut = true;
      continue;
    }
    data::ChecklistAssignment a;
    a.checklistName = noChecklist;
    a.written = 0;
    v.assignmentIndex = static_cast<int16_t>(assignments.size());
    byTitle.insert(key, v.assignmentIndex);
    assignments.push_back(std::move(a));
    newTitles.push_back(&v);
  }
  base::ForEachIndex(
      qsizetype(newTitles.size()),
      [&](qsizetype i) {
        assignments[firstNew + size_t(i)].aircraftTitle =
            FixedFrom(Trimmed(newTitles[size_t(i)]->title), data::kAssignmentTitleWidth);
      },
      512);
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
  {
    // The catalogue is built from the records where each folder's reading
    // left them, rather than from one more vector of them all.
    const std::vector<FolderRecords> perFolder =
        CollectFolderRecords(platform::SimulatorFolder(ctx.state.installDir), ctx.state.simObjectPaths, &problems);
    size_t total = 0;
    for (const FolderRecords& f : perFolder) total += f.records.size();
    std::vector<const AircraftRecord*> records;
    records.reserve(total);
    for (const FolderRecords& f : perFolder)
      for (const AircraftRecord& r : f.records) records.push_back(&r);
    ctx.state.catalogue = BuildCatalogueOf(records);
  }
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
