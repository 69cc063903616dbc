#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <span>
#include <vector>

#include "base/FileIo.h"
#include "platform/FileRead.h"

namespace qv::data {

// A Windows-style INI file (settings, simulator configuration, aircraft
// configuration) read and written the way the Windows private-profile
// functions do it on the points users meet:
//  - section and key names match without regard to case, after trimming;
//  - the first matching section and the first matching key in it win;
//  - blanks around names and values are trimmed, and a value in matching
//    quotes ("..." or '...') is returned without them;
//  - lines starting with ';' are comments; a line without '=' is a key
//    without a value; lines before the first section belong to no section;
//  - values are cut at 511 characters (the 512-character buffer);
//  - a write changes only the line it touches, or appends the key to the end
//    of its section, or appends the section, or creates the file; every other
//    byte is kept;
//  - text is Windows-1252, or UTF-8 / UTF-16 (either byte order) behind a
//    byte-order mark; lines end in CRLF, LF or a bare CR.
//
// Reading is lazy: loading finds the line starts and indexes the sections
// (first occurrence of each name) without copying anything; a look-up walks
// only the lines of its section and decodes only the values it returns.
class IniFile {
 public:
  static constexpr int kMaxValueLength = 511;
  // No real settings, simulator or aircraft configuration file comes near
  // this; a larger one is refused instead of being read into memory.
  static constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

  enum class Encoding { Cp1252, Utf8, Utf16LE, Utf16BE };

  IniFile() = default;
  static IniFile FromBytes(const QByteArray& bytes);
  // A missing file gives an empty IniFile with exists() false and no error;
  // a file that cannot be read, or is larger than kMaxFileSize, gives
  // exists() false and error() naming the file and the reason.
  static IniFile Load(const QString& path);
  // What Load makes of a read done by the caller; `path` names the file in
  // the error and is needed only when the read was not Ok.
  static IniFile FromRead(platform::FileRead read, const QByteArray& bytes, const QString& reason,
                          const QString& path);

  bool exists() const { return m_exists; }
  const QString& error() const { return m_error; }
  const QByteArray& bytes() const { return m_bytes; }
  Encoding encoding() const { return m_encoding; }

  // The value as GetPrivateProfileString would give it (before any trimming
  // by the caller); `found` tells whether the key was present.
  QString value(const QString& section, const QString& key, bool* found = nullptr) const;
  // The integer as GetPrivateProfileInt reads it: optional sign and leading
  // decimal digits; `defaultValue` when the key is missing or not a number.
  int intValue(const QString& section, const QString& key, int defaultValue = 0) const;
  // Several keys of one section in one walk over its lines: out[i] gets the
  // value of keys[i] as value() gives it (empty when missing). False when the
  // section does not exist (every out[i] is then empty).
  bool values(QStringView section, std::span<const QLatin1String> keys, std::span<QString> out) const;
  // Every section header in file order, duplicates included.
  QStringList sectionNames() const;

  void setValue(const QString& section, const QString& key, const QString& value);
  // Replaces the file with these bytes through the checked writer.
  base::FileResult save(const QString& path) const;

 private:
  // Offsets are in code units of the text after the byte-order mark.
  struct Section {
    int32_t nameBegin = 0, nameEnd = 0;  // trimmed name inside the brackets
    int32_t bodyBegin = 0;               // first unit after the header line
    int32_t bodyEnd = 0;                 // start of the next header line, or the end
    uint32_t hash = 0;                   // of the upper-cased name
  };
  struct KeyHit {
    bool found = false;
    int32_t nameBegin = 0, nameEnd = 0, valueBegin = 0, valueEnd = 0, lineBegin = 0, lineEnd = 0;
  };
  class Name;

  template <class F>
  auto withText(F&& f) const;
  template <class U>
  void indexText(const U* d, int32_t n);
  template <class U>
  int insertSection(const U* d, Section s);
  template <class U>
  uint32_t spanHash(const U* d, int32_t a, int32_t b) const;
  template <class U>
  bool spanEquals(const U* d, int32_t a, int32_t b, const Name& name) const;
  template <class U>
  bool spansEqual(const U* d, int32_t a1, int32_t b1, int32_t a2, int32_t b2) const;
  template <class U>
  void findKeysIn(const U* d, const Section& s, std::span<const Name> keys, std::span<KeyHit> hits) const;

  void index();
  int findSection(const Name& name) const;
  int32_t sectionEnd(int section) const;
  void findKeys(int section, std::span<const Name> keys, std::span<KeyHit> hits) const;
  QString decode(int32_t begin, int32_t end) const;
  QString valueText(const KeyHit& hit) const;
  QByteArray encode(const QString& text) const;
  int32_t unitCount() const;
  char16_t unitAt(int32_t i) const;
  qsizetype byteOffset(int32_t unit) const;
  void replaceUnits(int32_t from, int32_t to, const QByteArray& with);

  QByteArray m_bytes;
  QString m_error;
  bool m_exists = false;
  Encoding m_encoding = Encoding::Cp1252;
  int m_bom = 0;                    // bytes of the byte-order mark
  QString m_wide;                   // the text of a UTF-16 file, in this machine's byte order
  std::vector<Section> m_sections;  // first occurrence of each name, in file order
  std::vector<int32_t> m_table;     // open addressing: index into m_sections, or -1
};

// The three INI access routines every reader and writer of the system uses.
int ReadIniInt(const QString& section, const QString& key, const QString& fileName);
QString ReadIniString(const QString& section, const QString& key, const QString& fileName);
// Changes one key of the file (creating it when missing). A file that exists
// but cannot be read is left alone and the reason returned; a key that holds
// the value already writes nothing.
base::FileResult WriteIniString(const QString& section, const QString& key, const QString& value,
                                const QString& fileName);
// The largest INI file the writer reads back before changing one key: the
// largest the reader takes.
inline constexpr qint64 kMaxWrittenFileSize = IniFile::kMaxFileSize;

// What ReadIniString makes of a raw value: NULs become blanks, then trimmed.
QString CleanIniValue(const QString& value);

}  // namespace qv::data
