#include "speech/GraphCache.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <algorithm>

#include "base/FileIo.h"

namespace qv::speech {

namespace {

// Raised whenever the compiled form or the way text becomes words changes.
constexpr qint32 kCompilerVersion = 3;
constexpr quint32 kMagic = 0x51564743;  // "QVGC"

QString EntryPath(const QString& dir, const QByteArray& key) {
  return dir + "/" + QString::fromLatin1(key.toHex()) + ".qvg";
}

}  // namespace

QByteArray ListCacheKey(const QByteArray& bytes, int mode, const QString& dictionaryIdentity) {
  QCryptographicHash h(QCryptographicHash::Sha1);
  h.addData(bytes);
  h.addData(QByteArray::number(mode) + "|" + QByteArray::number(kCompilerVersion) + "|");
  h.addData(dictionaryIdentity.toUtf8());
  return h.result();
}

QByteArray SerializeGraph(const WordGraph& graph) {
  QByteArray out;
  QDataStream s(&out, QIODevice::WriteOnly);
  s.setVersion(QDataStream::Qt_6_0);
  const qint32 n = graph.StateCount();
  s << n << static_cast<qint32>(graph.Start());
  QByteArray finals(n, '\0');
  for (int i = 0; i < n; ++i) finals[i] = graph.IsFinal(i) ? 1 : 0;
  s << finals;
  const auto& arcs = graph.Arcs();
  s << static_cast<qint64>(arcs.size());
  for (const auto& a : arcs) s << a.from << a.label << a.to;
  return out;
}

bool DeserializeGraph(const QByteArray& bytes, WordGraph& graph) {
  QDataStream s(bytes);
  s.setVersion(QDataStream::Qt_6_0);
  qint32 n = 0, start = 0;
  QByteArray finals;
  qint64 arcs = 0;
  s >> n >> start >> finals >> arcs;
  if (s.status() != QDataStream::Ok || n < 0 || start < 0 || (n > 0 && start >= n) || finals.size() != n || arcs < 0 ||
      arcs > static_cast<qint64>(bytes.size()))
    return false;
  WordGraph g;
  for (qint32 i = 0; i < n; ++i) {
    g.AddState();
    if (finals[i]) g.SetFinal(i);
  }
  g.SetStart(start);
  for (qint64 i = 0; i < arcs; ++i) {
    qint32 from = 0, label = 0, to = 0;
    s >> from >> label >> to;
    if (from < 0 || from >= n || to < 0 || to >= n) return false;
    g.AddArc(from, label, to);
  }
  if (s.status() != QDataStream::Ok) return false;
  graph = std::move(g);
  return true;
}

bool SaveCachedList(const QString& dir, const CachedList& list) {
  if (!QDir().mkpath(dir)) return false;
  QByteArray bytes;
  {
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_0);
    s << kMagic << kCompilerVersion << list.key;
    s << static_cast<qint32>(list.dependencies.size());
    for (const auto& d : list.dependencies) s << d;
    s << list.exports << list.imports;
    s << static_cast<qint32>(list.rules.size());
    for (const auto& r : list.rules) s << r.name << SerializeGraph(r.graph);
    s << static_cast<qint32>(list.words.size());
    for (size_t i = 0; i < list.words.size(); ++i) s << list.words[i] << list.phones[i];
    s << static_cast<qint32>(list.diagnostics.size());
    for (const auto& d : list.diagnostics)
      s << static_cast<qint32>(d.line) << static_cast<qint32>(d.column) << static_cast<qint32>(d.severity) << d.message;
  }
  return static_cast<bool>(base::WriteFileAtomic(EntryPath(dir, list.key), bytes));
}

bool LoadCachedList(const QString& dir, const QByteArray& key, CachedList& out) {
  QFile f(EntryPath(dir, key));
  if (dir.isEmpty() || !f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  QDataStream s(bytes);
  s.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0;
  qint32 version = 0, count = 0;
  CachedList list;
  s >> magic >> version >> list.key;
  if (magic != kMagic || version != kCompilerVersion || list.key != key) return false;
  s >> count;
  if (count < 0 || count > 100000) return false;
  for (qint32 i = 0; i < count; ++i) {
    QByteArray d;
    s >> d;
    list.dependencies.push_back(d);
  }
  s >> list.exports >> list.imports >> count;
  if (count < 0 || count > 100000) return false;
  for (qint32 i = 0; i < count; ++i) {
    CachedList::Rule r;
    QByteArray graph;
    s >> r.name >> graph;
    if (!DeserializeGraph(graph, r.graph)) return false;
    list.rules.push_back(std::move(r));
  }
  s >> count;
  if (count < 0 || count > 10000000) return false;
  list.words.reserve(count);
  list.phones.reserve(count);
  for (qint32 i = 0; i < count; ++i) {
    QString w;
    QStringList p;
    s >> w >> p;
    list.words.push_back(w);
    list.phones.push_back(p);
  }
  s >> count;
  if (count < 0 || count > 10000000) return false;
  for (qint32 i = 0; i < count; ++i) {
    qint32 line = 0, column = 0, severity = 0;
    Diagnostic d;
    s >> line >> column >> severity >> d.message;
    d.line = line;
    d.column = column;
    d.severity = severity == static_cast<qint32>(Severity::Error) ? Severity::Error : Severity::Warning;
    list.diagnostics.push_back(std::move(d));
  }
  if (s.status() != QDataStream::Ok) return false;
  for (const auto& r : list.rules)
    for (const auto& a : r.graph.Arcs())
      if (a.label < WordGraph::kEmpty || a.label >= static_cast<qint32>(list.words.size())) return false;
  out = std::move(list);
  return true;
}

void PruneListCache(const QString& dir, const std::vector<QByteArray>& keep, int extra) {
  QDir d(dir);
  if (dir.isEmpty() || !d.exists()) return;
  QStringList keepNames;
  for (const auto& k : keep) keepNames << QString::fromLatin1(k.toHex()) + ".qvg";
  int others = 0;
  for (const QFileInfo& fi : d.entryInfoList({"*.qvg"}, QDir::Files, QDir::Time)) {
    if (keepNames.contains(fi.fileName())) continue;
    if (++others > extra) QFile::remove(fi.absoluteFilePath());
  }
}

}  // namespace qv::speech
