#include "base/PathGuard.h"

#include <QDir>
#include <QFileInfo>

#include "base/Cp1252.h"

namespace qv::base {
namespace {

constexpr int kMaxLinks = 40;

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif

QString Parent(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  if (slash <= 0) return QStringLiteral("/");
  if (slash == 2 && path[1] == u':') return path.left(3);  // "C:/"
  return path.left(slash);
}

QString Join(const QString& folder, const QString& name) {
  return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString Resolve(const QString& path, int& links) {
  QString absolute = QDir::fromNativeSeparators(path);
  if (QDir::isRelativePath(absolute)) absolute = Join(QDir::currentPath(), absolute);
  const QStringList parts = absolute.split(u'/');
  QString current = QStringLiteral("/");
  qsizetype first = 0;
  if (!parts.isEmpty() && parts[0].endsWith(u':')) {  // a drive letter
    current = parts[0] + u'/';
    first = 1;
  }
  for (qsizetype i = first; i < parts.size(); ++i) {
    const QString& part = parts[i];
    if (part.isEmpty() || part == u".") continue;
    // `current` has no links left in it, so its parent is what ".." means.
    if (part == u"..") {
      current = Parent(current);
      continue;
    }
    const QString next = Join(current, part);
    const QFileInfo info(next);
    if (info.isSymbolicLink()) {
      if (++links > kMaxLinks) return {};
      current = Resolve(info.symLinkTarget(), links);
      if (current.isEmpty()) return {};
      continue;
    }
    if (!info.exists()) {
      // Nothing below a missing entry can be a link: the rest is as written.
      return QDir::cleanPath(Join(current, parts.mid(i).join(u'/')));
    }
    current = next;
  }
  return current;
}

bool IsDeviceName(const QString& name) {
  const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
  static const QStringList kDevices{"CON", "PRN", "AUX", "NUL"};
  if (kDevices.contains(stem)) return true;
  return stem.size() == 4 && (stem.startsWith(u"COM") || stem.startsWith(u"LPT")) && stem[3] >= u'1' && stem[3] <= u'9';
}

bool Refused(QChar c) {
  static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
  return c.unicode() < 32 || c.unicode() == 127 || kForbidden.contains(c);
}

bool IsHex(QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

QString Escaped(QChar c) { return u'%' + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper(); }

}  // namespace

QString ResolvedPath(const QString& path) {
  int links = 0;
  return Resolve(path, links);
}

bool StaysInside(const QString& folder, const QString& path) {
  const QString outer = ResolvedPath(folder);
  const QString inner = ResolvedPath(path);
  if (outer.isEmpty() || inner.isEmpty()) return false;
  return inner.startsWith(outer.endsWith(u'/') ? outer : outer + u'/', kCase) && inner.size() > outer.size() + 1;
}

QString FileNameProblem(const QString& name, const QString& what) {
  for (const QChar c : name)
    if (Refused(c)) return what + " cannot contain any of these characters: \\ / : * ? \" < > |";
  if (name.endsWith(u'.') || name.endsWith(u' ')) return what + " cannot end with a full stop or a space.";
  if (name == u"." || name == u"..") return what + " cannot be a full stop alone.";
  if (IsDeviceName(name)) return "\"" + name + "\" is a name that Windows reserves for a device.";
  if (!FitsCp1252(name)) return what + " can only use the characters of the Western (Windows-1252) character set.";
  return {};
}

QString EncodeFileName(const QString& text, const QStringList& reserved) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool atEnd = i == 0 || i == text.size() - 1;
    if (Refused(c) || c == u'%' || (atEnd && (c == u'.' || c == u' ')))
      out += Escaped(c);
    else
      out += c;
  }
  if (!text.isEmpty() && out.front() != u'%' && text.front().unicode() < 256 &&
      (IsDeviceName(text) || reserved.contains(text, Qt::CaseInsensitive)))
    out = Escaped(text.front()) + out.mid(1);
  return out;
}

QString DecodeFileName(const QString& fileName) {
  QString out;
  out.reserve(fileName.size());
  for (qsizetype i = 0; i < fileName.size(); ++i) {
    if (fileName[i] == u'%' && i + 2 < fileName.size() && IsHex(fileName[i + 1]) && IsHex(fileName[i + 2])) {
      out += QChar(fileName.mid(i + 1, 2).toUShort(nullptr, 16));
      i += 2;
    } else {
      out += fileName[i];
    }
  }
  return out;
}

}  // namespace qv::base
