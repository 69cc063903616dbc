#include "data/JsonFormats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <limits>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/PathGuard.h"

namespace qv::data {
namespace {

// --- writing: a small emitter so that keys keep the layout's order ---

QByteArray Quote(const QString& text) {
  QByteArray out = "\"";
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == '"')
      out += "\\\"";
    else if (u == '\\')
      out += "\\\\";
    else if (u == '\n')
      out += "\\n";
    else if (u == '\r')
      out += "\\r";
    else if (u == '\t')
      out += "\\t";
    else if (u < 0x20)
      out += QByteArray("\\u") + QByteArray::number(u, 16).rightJustified(4, '0');
    else
      out += QString(c).toUtf8();
  }
  return out + "\"";
}

QByteArray Text(const QString& fixedField) { return Quote(base::RightTrimmed(fixedField)); }

QByteArray Indent(int level) { return QByteArray(level * 2, ' '); }

// A JSON array of already-formatted items, one per line.
QByteArray Array(const QList<QByteArray>& items, int level) {
  if (items.isEmpty()) return "[]";
  QByteArray out = "[\n";
  for (qsizetype i = 0; i < items.size(); ++i)
    out += Indent(level + 1) + items[i] + (i + 1 < items.size() ? ",\n" : "\n");
  return out + Indent(level) + "]";
}

// An object of (key, formatted value) pairs, in order.
QByteArray Object(const QList<std::pair<const char*, QByteArray>>& fields, int level) {
  QByteArray out = "{\n";
  for (qsizetype i = 0; i < fields.size(); ++i)
    out +=
        Indent(level + 1) + Quote(fields[i].first) + ": " + fields[i].second + (i + 1 < fields.size() ? ",\n" : "\n");
  return out + Indent(level) + "}";
}

QByteArray TextArray(const QStringList& texts, int level) {
  QList<QByteArray> items;
  for (const auto& t : texts) items << Text(t);
  return Array(items, level);
}

// --- reading ---

class Reader {
 public:
  QString error;

  bool Fail(const QString& where, const QString& what) {
    if (error.isEmpty()) error = where + ": " + what;
    return false;
  }

  bool Text(const QJsonObject& o, const QString& where, const char* key, int width, QString& out) {
    const QString at = where + "." + key;
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString()) return Fail(at, v.isUndefined() ? "missing" : "not a text");
    return Fixed(v.toString(), at, width, out);
  }

  bool Fixed(const QString& value, const QString& at, int width, QString& out) {
    if (value.size() > width) return Fail(at, QString("longer than %1 characters").arg(width));
    if (!base::FitsCp1252(value)) return Fail(at, "holds a character outside the Windows-1252 code page");
    out = base::Fixed(value, width);
    return true;
  }

  template <typename Int>
  bool Number(const QJsonObject& o, const QString& where, const char* key, Int& out) {
    const QString at = where + "." + key;
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble()) return Fail(at, v.isUndefined() ? "missing" : "not a number");
    const double d = v.toDouble();
    if (d != static_cast<double>(static_cast<qint64>(d)) || d < std::numeric_limits<Int>::min() ||
        d > std::numeric_limits<Int>::max())
      return Fail(at, QString("not a whole number from %1 to %2")
                          .arg(std::numeric_limits<Int>::min())
                          .arg(std::numeric_limits<Int>::max()));
    out = static_cast<Int>(d);
    return true;
  }

  bool Array(const QJsonValue& v, const QString& at, QJsonArray& out, qsizetype max = 32768) {
    if (!v.isArray()) return Fail(at, v.isUndefined() ? "missing" : "not a list");
    out = v.toArray();
    if (out.size() > max) return Fail(at, QString("more than %1 entries").arg(max));
    return true;
  }

  bool Object(const QJsonValue& v, const QString& at, QJsonObject& out) {
    if (!v.isObject()) return Fail(at, "not an object");
    out = v.toObject();
    return true;
  }

  bool Texts(const QJsonObject& o, const QString& where, const char* key, int width, QStringList& out) {
    QJsonArray a;
    const QString at = where + "." + key;
    if (!Array(o.value(QLatin1String(key)), at, a)) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
      const QString ai = at + QString("[%1]").arg(i);
      if (!a[i].isString()) return Fail(ai, "not a text");
      QString t;
      if (!Fixed(a[i].toString(), ai, width, t)) return false;
      out << t;
    }
    return true;
  }
};

bool Parse(const QByteArray& json, QJsonDocument& doc, QString& error) {
  QJsonParseError e;
  doc = QJsonDocument::fromJson(json, &e);
  if (e.error != QJsonParseError::NoError) {
    error = QString("not valid JSON at offset %1: %2").arg(e.offset).arg(e.errorString());
    return false;
  }
  return true;
}

QString Index(qsizetype i) { return QString("[%1]").arg(i); }

}  // namespace

QByteArray CommandsToJson(const std::vector<CommandRecord>& commands) {
  QList<QByteArray> items;
  for (const auto& c : commands)
    items << Object({{"category", Text(c.category)},
                     {"name", Text(c.name)},
                     {"eventName", Text(c.eventName)},
                     {"helpText", Text(c.helpText)},
                     {"functionNumber", QByteArray::number(c.functionNumber)},
                     {"grammars", TextArray(c.grammars, 2)},
                     {"readbacks", TextArray(c.readbacks, 2)}},
                    1);
  return Array(items, 0) + "\n";
}

QByteArray ChecklistToJson(const ChecklistFile& checklist) {
  QList<QByteArray> sections;
  for (const auto& items : checklist.sections) {
    QList<QByteArray> steps;
    for (const auto& item : items) {
      QList<QByteArray> responses;
      for (const auto& r : item.responses)
        responses << "{\"text\": " + Text(r.text) + ", \"functionNumber\": " + QByteArray::number(r.functionNumber) +
                         "}";
      steps << Object({{"challenge", Text(item.challenge)},
                       {"pronunciation", Text(item.pronunciation)},
                       {"response", Text(item.response)},
                       {"responses", Array(responses, 4)}},
                      3);
    }
    sections << Array(steps, 2);
  }
  return Object({{"sections", Array(sections, 1)}}, 0) + "\n";
}

QByteArray AssignmentsToJson(const std::vector<ChecklistAssignment>& assignments) {
  QList<QByteArray> items;
  for (const auto& a : assignments)
    items << Object({{"aircraftTitle", Text(a.aircraftTitle)},
                     {"checklistName", Text(a.checklistName)},
                     {"written", QByteArray::number(a.written)}},
                    1);
  return Array(items, 0) + "\n";
}

bool CommandsFromJson(const QByteArray& json, std::vector<CommandRecord>& out, QString& error) {
  QJsonDocument doc;
  if (!Parse(json, doc, error)) return false;
  Reader r;
  QJsonArray list;
  std::vector<CommandRecord> commands;
  if (r.Array(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(), "commands", list)) {
    for (qsizetype i = 0; i < list.size() && r.error.isEmpty(); ++i) {
      QJsonObject o;
      CommandRecord c;
      const QString at = Index(i);
      if (r.Object(list[i], at, o) && r.Text(o, at, "category", kCategoryWidth, c.category) &&
          r.Text(o, at, "name", kNameWidth, c.name) && r.Text(o, at, "eventName", kEventNameWidth, c.eventName) &&
          r.Text(o, at, "helpText", kHelpTextWidth, c.helpText) &&
          r.Number(o, at, "functionNumber", c.functionNumber) &&
          r.Texts(o, at, "grammars", kGrammarWidth, c.grammars) &&
          r.Texts(o, at, "readbacks", kReadbackWidth, c.readbacks))
        commands.push_back(std::move(c));
    }
  }
  error = r.error;
  if (!error.isEmpty()) return false;
  out = std::move(commands);
  return true;
}

bool ChecklistFromJson(const QByteArray& json, ChecklistFile& out, QString& error) {
  QJsonDocument doc;
  if (!Parse(json, doc, error)) return false;
  Reader r;
  ChecklistFile file;
  QJsonArray sections;
  if (r.Array(doc.isObject() ? doc.object().value("sections") : QJsonValue(), "sections", sections)) {
    if (sections.size() != kSectionCount) r.Fail("sections", QString("must hold %1 lists").arg(kSectionCount));
    for (qsizetype s = 0; s < sections.size() && r.error.isEmpty(); ++s) {
      QJsonArray items;
      const QString sat = "sections" + Index(s);
      if (!r.Array(sections[s], sat, items)) break;
      for (qsizetype i = 0; i < items.size() && r.error.isEmpty(); ++i) {
        QJsonObject o;
        ChecklistItem item;
        QJsonArray responses;
        const QString at = sat + Index(i);
        if (!r.Object(items[i], at, o) || !r.Text(o, at, "challenge", kChallengeWidth, item.challenge) ||
            !r.Text(o, at, "pronunciation", kPronunciationWidth, item.pronunciation) ||
            !r.Text(o, at, "response", kResponseWidth, item.response) ||
            !r.Array(o.value("responses"), at + ".responses", responses))
          break;
        for (qsizetype k = 0; k < responses.size() && r.error.isEmpty(); ++k) {
          QJsonObject ro;
          ChecklistItemResponse resp;
          const QString rat = at + ".responses" + Index(k);
          if (r.Object(responses[k], rat, ro) && r.Text(ro, rat, "text", kResponseTextWidth, resp.text) &&
              r.Number(ro, rat, "functionNumber", resp.functionNumber))
            item.responses.push_back(std::move(resp));
        }
        file.sections[s].push_back(std::move(item));
      }
    }
  }
  error = r.error;
  if (!error.isEmpty()) return false;
  file.name = out.name;
  out = std::move(file);
  return true;
}

bool AssignmentsFromJson(const QByteArray& json, std::vector<ChecklistAssignment>& out, QString& error) {
  QJsonDocument doc;
  if (!Parse(json, doc, error)) return false;
  Reader r;
  QJsonArray list;
  std::vector<ChecklistAssignment> assignments;
  if (r.Array(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(), "assignments", list)) {
    for (qsizetype i = 0; i < list.size() && r.error.isEmpty(); ++i) {
      QJsonObject o;
      ChecklistAssignment a;
      const QString at = Index(i);
      if (r.Object(list[i], at, o) && r.Text(o, at, "aircraftTitle", kAssignmentTitleWidth, a.aircraftTitle) &&
          r.Text(o, at, "checklistName", kAssignmentNameWidth, a.checklistName) &&
          r.Number(o, at, "written", a.written)) {
        // The name becomes a file name in the Checklists folder.
        const QString name = a.checklistName.trimmed();
        if (const QString problem = base::FileNameProblem(name, "A checklist name");
            !name.isEmpty() && !problem.isEmpty()) {
          r.Fail(at + ".checklistName", problem);
          break;
        }
        assignments.push_back(std::move(a));
      }
    }
  }
  error = r.error;
  if (!error.isEmpty()) return false;
  out = std::move(assignments);
  return true;
}

}  // namespace qv::data
