#include "core/grammar/Pronunciations.h"

namespace qv::grammar {

QString PronunciationListPath(const QString& installDir) { return installDir + "/Data/Pronunciations.txt"; }

const QStringList& ModelPhones() {
  static const QStringList kPhones = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH", "EH", "ER", "EY",
                                      "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M",  "N",  "NG", "OW", "OY",
                                      "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};
  return kPhones;
}

int PhonesFault(const QString& phones, QString* what) {
  int count = 0;
  for (qsizetype i = 0; i < phones.size();) {
    if (phones[i] == u' ' || phones[i] == u'\t') {
      ++i;
      continue;
    }
    qsizetype e = i;
    while (e < phones.size() && phones[e] != u' ' && phones[e] != u'\t') ++e;
    const QString phone = phones.mid(i, e - i);
    if (!ModelPhones().contains(phone)) {
      if (what)
        *what = ModelPhones().contains(phone.toUpper())
                    ? QString("phones are written in capitals: \"%1\"").arg(phone.toUpper())
                    : QString("\"%1\" is not a phone of the recogniser").arg(phone);
      return static_cast<int>(i) + 1;
    }
    ++count;
    i = e;
  }
  if (count == 0) {
    if (what) *what = QStringLiteral("no phones are given");
    return 1;
  }
  return 0;
}

namespace {

// One line of a list: the word and phones of an entry, nothing for a blank
// or comment line, or what keeps the line from being used.
struct ListLine {
  QString word, phones;
  int column = 0;  // of the problem, 0: none
  QString problem;
};

ListLine ReadLine(QString line) {
  ListLine out;
  if (line.endsWith(u'\r')) line.chop(1);
  const qsizetype hash = line.indexOf(u'#');
  if (hash >= 0) line.truncate(hash);
  if (line.trimmed().isEmpty()) return out;
  const qsizetype tab = line.indexOf(u'\t');
  if (tab < 0) {
    out.column = 1;
    out.problem = QStringLiteral("a tab must separate the word from its phones");
    return out;
  }
  const QString word = line.left(tab).trimmed().toLower();
  if (word.isEmpty() || word.contains(u' ')) {
    out.column = 1;
    out.problem = QStringLiteral("the word before the tab must be one word");
    return out;
  }
  if (const int column = PhonesFault(line.mid(tab + 1), &out.problem); column > 0) {
    out.column = static_cast<int>(tab) + 1 + column;  // the column in the line as written
    return out;
  }
  out.word = word;
  out.phones = line.mid(tab + 1).simplified();
  return out;
}

QByteArray WithoutBom(const QByteArray& bytes) { return bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes; }

}  // namespace

QHash<QString, QStringList> ParsePronunciationList(const QByteArray& bytes,
                                                   std::vector<PronunciationProblem>* problems) {
  QHash<QString, QStringList> out;
  const QStringList lines = QString::fromUtf8(WithoutBom(bytes)).split(u'\n');
  for (int n = 0; n < lines.size(); ++n) {
    const ListLine line = ReadLine(lines[n]);
    if (line.column > 0 && problems) problems->push_back({n + 1, line.column, line.problem});
    if (!line.word.isEmpty()) out[line.word] << line.phones;
  }
  return out;
}

QByteArray PronunciationListText(const std::vector<std::pair<QString, QString>>& entries,
                                 const QByteArray& previous, const QSet<QString>& managed) {
  QList<QByteArray> lines = WithoutBom(previous).split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();  // the final line's end
  const QByteArray eol = !lines.isEmpty() && lines.first().endsWith('\r') ? "\r\n" : "\n";
  const auto ended = [&](const QByteArray& raw) { return raw + (raw.endsWith('\r') ? "\n" : eol); };
  std::vector<ListLine> read;
  QHash<QString, QByteArray> written;  // "word<TAB>phones" -> the line as written
  for (const QByteArray& raw : lines) {
    read.push_back(ReadLine(QString::fromUtf8(raw)));
    if (!read.back().word.isEmpty()) written.insert(read.back().word + u'\t' + read.back().phones, raw);
  }
  // Each word's entries in their order, at the word's first line: a line that
  // already holds one stays as written (its comment with it), moved there.
  QHash<QString, QByteArray> block;
  QSet<QString> rewritten = managed, placed;
  for (const auto& [word, phones] : entries) {
    const QString key = word + u'\t' + phones.simplified();
    rewritten.insert(word);
    if (placed.contains(key)) continue;
    placed.insert(key);
    block[word] += written.contains(key) ? ended(written.value(key)) : key.toUtf8() + eol;
  }
  QByteArray out;
  for (size_t i = 0; i < read.size(); ++i) {
    if (!read[i].word.isEmpty() && rewritten.contains(read[i].word))
      out += block.take(read[i].word);  // empty after the word's first line
    else
      out += ended(lines[static_cast<qsizetype>(i)]);
  }
  if (out.isEmpty())
    out = "# Pronunciations of words, used before the dictionary's and the generated ones." + eol +
          "# One word a line: the word, a tab, then its phones (AA AE AH ... ZH)." + eol;
  for (const auto& [word, phones] : entries) out += block.take(word);
  return out;
}

}  // namespace qv::grammar
