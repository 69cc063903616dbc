#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "base/FileIo.h"

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
//  - text is Windows-1252 with CRLF line ends (LF-only files are read too).
class IniFile {
 public:
  static constexpr int kMaxValueLength = 511;

  IniFile() = default;
  static IniFile FromBytes(const QByteArray& bytes);
  // A missing or unreadable file gives an empty IniFile with exists() false.
  static IniFile Load(const QString& path);

  bool exists() const { return m_exists; }
  const QByteArray& bytes() const { return m_bytes; }

  // The value as GetPrivateProfileString would give it (before any trimming
  // by the caller); `found` tells whether the key was present.
  QString value(const QString& section, const QString& key, bool* found = nullptr) const;
  // The integer as GetPrivateProfileInt reads it: optional sign and leading
  // decimal digits; `defaultValue` when the key is missing or not a number.
  int intValue(const QString& section, const QString& key, int defaultValue = 0) const;
  QStringList sectionNames() const;

  void setValue(const QString& section, const QString& key, const QString& value);
  // Replaces the file with these bytes through the checked writer.
  base::FileResult save(const QString& path) const;

 private:
  struct Line {
    qsizetype start = 0;  // first byte of the line
    qsizetype end = 0;    // one past the last content byte (before CR/LF)
    qsizetype next = 0;   // first byte of the following line
    enum Kind { Blank, Comment, Section, Key, Other } kind = Blank;
    QString name;      // section or key name, trimmed, as written
    QString rawValue;  // value after the '=', trimmed, quotes kept
    int section = -1;  // index into m_sections for keys
  };
  struct Section {
    QString name;
    int headerLine = -1;
    int lastLine = -1;         // last non-blank line belonging to the section
    QHash<QString, int> keys;  // upper-case key -> first line
  };

  void parse();
  int findSection(const QString& section) const;
  int findKey(int sectionIndex, const QString& key) const;
  void replaceBytes(qsizetype from, qsizetype to, const QByteArray& with);

  QByteArray m_bytes;
  bool m_exists = false;
  std::vector<Line> m_lines;
  std::vector<Section> m_sections;
  QHash<QString, int> m_sectionIndex;  // upper-case name -> first section
};

// The three INI access routines every reader and writer of the system uses.
int ReadIniInt(const QString& section, const QString& key, const QString& fileName);
QString ReadIniString(const QString& section, const QString& key, const QString& fileName);
// Changes one key of the file (creating it when missing). A file that exists
// but cannot be read is left alone and the reason returned; a key that holds
// the value already writes nothing.
base::FileResult WriteIniString(const QString& section, const QString& key, const QString& value,
                                const QString& fileName);
// The largest INI file the writer reads back before changing one key.
inline constexpr qint64 kMaxWrittenFileSize = 64 * base::kMiB;

// What ReadIniString makes of a raw value: NULs become blanks, then trimmed.
QString CleanIniValue(const QString& value);

}  // namespace qv::data
