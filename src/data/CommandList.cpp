#include "data/CommandList.h"

#include <QFileInfo>

#include "data/BinaryIo.h"

namespace qv::data {
namespace {

constexpr int kFixedRecordSize = kCategoryWidth + kNameWidth + kEventNameWidth + kHelpTextWidth + 3 * 2;
constexpr size_t kMaxEntries = 32768;  // a 16-bit last index

// A negative last index means an empty list.
qint64 CountOf(int16_t last) { return last < 0 ? 0 : qint64(last) + 1; }

bool ReadTexts(BinaryReader& in, qint64 count, int width, QStringList& out) {
  if (!in.Has(count * width)) return false;
  out.reserve(count);
  for (qint64 i = 0; i < count; ++i) out << in.ReadFixed(width);
  return true;
}

}  // namespace

QString CommandListFilePath(const QString& installDir) { return installDir + "/Data/" + kCommandListFileName; }

bool ParseCommandList(const QByteArray& bytes, std::vector<CommandRecord>& out) {
  BinaryReader in(bytes);
  const int16_t last = in.ReadInt16();
  if (in.failed() || last < -1) return false;
  const qint64 count = qint64(last) + 1;
  if (!in.Has(count * kFixedRecordSize)) return false;
  std::vector<CommandRecord> list(static_cast<size_t>(count));
  for (auto& c : list) {
    c.category = in.ReadFixed(kCategoryWidth);
    c.name = in.ReadFixed(kNameWidth);
    c.eventName = in.ReadFixed(kEventNameWidth);
    c.helpText = in.ReadFixed(kHelpTextWidth);
    c.functionNumber = in.ReadInt16();
    const int16_t g = in.ReadInt16();
    const int16_t r = in.ReadInt16();
    if (in.failed() || !ReadTexts(in, CountOf(g), kGrammarWidth, c.grammars) ||
        !ReadTexts(in, CountOf(r), kReadbackWidth, c.readbacks))
      return false;
  }
  if (in.failed() || !in.atEnd()) return false;
  out = std::move(list);
  return true;
}

bool SerializeCommandList(const std::vector<CommandRecord>& list, QByteArray& bytes, bool* lossy) {
  if (list.size() > kMaxEntries) return false;
  BinaryWriter w;
  w.WriteInt16(static_cast<int16_t>(int(list.size()) - 1));
  for (const auto& c : list) {
    if (size_t(c.grammars.size()) > kMaxEntries || size_t(c.readbacks.size()) > kMaxEntries) return false;
    w.WriteFixed(c.category, kCategoryWidth);
    w.WriteFixed(c.name, kNameWidth);
    w.WriteFixed(c.eventName, kEventNameWidth);
    w.WriteFixed(c.helpText, kHelpTextWidth);
    w.WriteInt16(c.functionNumber);
    w.WriteInt16(static_cast<int16_t>(c.grammars.size() - 1));
    w.WriteInt16(static_cast<int16_t>(c.readbacks.size() - 1));
    for (const auto& g : c.grammars) w.WriteFixed(g, kGrammarWidth);
    for (const auto& r : c.readbacks) w.WriteFixed(r, kReadbackWidth);
  }
  if (lossy) *lossy = w.lossy();
  bytes = w.bytes();
  return true;
}

QStringList BuildCommandCategories(const std::vector<CommandRecord>& commands) {
  QStringList categories;
  QStringList keys;  // trimmed, upper-cased, parallel to `categories`
  for (const auto& c : commands) {
    const QString name = c.category.trimmed();
    const QString key = name.toUpper();
    if (keys.contains(key)) continue;
    keys << key;
    categories << name;
  }
  return categories;
}

}  // namespace qv::data
