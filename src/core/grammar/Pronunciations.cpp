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

QHash<QString, QStringList> ParsePronunciationList(const QByteArray& bytes,
                                                   std::vector<PronunciationProblem>* problems) {
  QHash<QString, QStringList> out;
  const QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
  const QStringList lines = text.split(u'\n');
  for (int n = 0; n < lines.size(); ++n) {
    QString line = lines[n];
    if (line.endsWith(u'\r')) line.chop(1);
    const qsizetype hash = line.indexOf(u'#');
    if (hash >= 0) line.truncate(hash);
    if (line.trimmed().isEmpty()) continue;
    auto problem = [&](int column, const QString& message) {
      if (problems) problems->push_back({n + 1, column, message});
    };
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0) {
      problem(1, QStringLiteral("a tab must separate the word from its phones"));
      continue;
    }
    const QString word = line.left(tab).trimmed().toLower();
    const QString phones = line.mid(tab + 1).simplified();
    if (word.isEmpty() || word.contains(u' ')) {
      problem(1, QStringLiteral("the word before the tab must be one word"));
      continue;
    }
    QString what;
    if (const int column = PhonesFault(line.mid(tab + 1), &what); column > 0) {
      problem(static_cast<int>(tab) + 1 + column, what);  // the column in the line as written
      continue;
    }
    out[word] << phones;
  }
  return out;
}

QByteArray PronunciationListText(const std::vector<std::pair<QString, QString>>& entries,
                                 const QByteArray& previous) {
  QByteArray out;
  const QByteArray text = previous.startsWith("\xEF\xBB\xBF") ? previous.mid(3) : previous;
  for (const QByteArray& line : text.split('\n')) {
    const QByteArray t = line.trimmed();
    if (!t.isEmpty() && !t.startsWith('#')) break;
    if (t.isEmpty()) continue;
    out += t + "\n";
  }
  if (out.isEmpty())
    out = "# Pronunciations of words, used before the dictionary's and the generated ones.\n"
          "# One word a line: the word, a tab, then its phones (AA AE AH ... ZH).\n";
  for (const auto& [word, phones] : entries) out += word.toUtf8() + "\t" + phones.simplified().toUtf8() + "\n";
  return out;
}

}  // namespace qv::grammar
