#include "speech/Pronouncer.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <mutex>

#include "speech/Espeak.h"

namespace qv::speech {

struct Pronouncer::Dictionary {
  QSet<QByteArray> words;
  bool loaded = false;
};

namespace {

std::shared_ptr<const Pronouncer::Dictionary> LoadDictionary(const QString& path);

}  // namespace

Pronouncer::Pronouncer(const QString& dictionaryPath) : m_dict(LoadDictionary(dictionaryPath)) {}

namespace {

std::shared_ptr<const Pronouncer::Dictionary> LoadDictionary(const QString& path) {
  static std::mutex mutex;
  static QHash<QString, std::shared_ptr<const Pronouncer::Dictionary>> cache;
  std::lock_guard lock(mutex);
  if (auto it = cache.find(path); it != cache.end()) return *it;
  auto dict = std::make_shared<Pronouncer::Dictionary>();
  QFile f(path);
  if (!path.isEmpty() && f.open(QIODevice::ReadOnly)) {
    const QByteArray all = f.readAll();
    dict->words.reserve(140000);
    qsizetype pos = 0;
    while (pos < all.size()) {
      qsizetype eol = all.indexOf('\n', pos);
      if (eol < 0) eol = all.size();
      qsizetype sp = pos;
      while (sp < eol && all[sp] != ' ' && all[sp] != '\t') ++sp;
      if (sp > pos) {
        QByteArray w = all.mid(pos, sp - pos);
        // Alternative pronunciations are listed as "word(2)".
        if (w.endsWith(')')) {
          const qsizetype par = w.lastIndexOf('(');
          if (par > 0) w.truncate(par);
        }
        dict->words.insert(w);
      }
      pos = eol + 1;
    }
    dict->loaded = !dict->words.isEmpty();
  }
  cache.insert(path, dict);
  return dict;
}

struct PhoneMap {
  const char* espeak;
  const char* model;
};

// eSpeak's English phoneme names and the nearest phones of the US model.
constexpr PhoneMap kPhones[] = {
    {"aI@", "AY ER"}, {"aI3", "AY ER"}, {"aU@", "AW ER"}, {"i@3", "IY R"}, {"@L", "AH L"}, {"@2", "AH"},
    {"@5", "AH"},     {"a#", "AH"},     {"A:", "AA"},     {"A@", "AA R"},  {"A#", "AA"},   {"0", "AA"},
    {"02", "AA"},     {"V", "AH"},      {"@", "AH"},      {"3:", "ER"},    {"3", "ER"},    {"a", "AE"},
    {"aa", "AE"},     {"e@", "EH R"},   {"eI", "EY"},     {"e", "EH"},     {"E", "EH"},    {"E2", "EH"},
    {"i@", "IY R"},   {"i:", "IY"},     {"i", "IY"},      {"I2", "IH"},    {"I#", "IH"},   {"I", "IH"},
    {"aI", "AY"},     {"aU", "AW"},     {"O:", "AO"},     {"O@", "AO R"},  {"o@", "AO R"}, {"O", "AO"},
    {"OI", "OY"},     {"oU", "OW"},     {"@U", "OW"},     {"u:", "UW"},    {"u", "UW"},    {"U@", "UH R"},
    {"U", "UH"},      {"tS", "CH"},     {"dZ", "JH"},     {"T", "TH"},     {"D", "DH"},    {"S", "SH"},
    {"Z", "ZH"},      {"N", "NG"},      {"j", "Y"},       {"h", "HH"},     {"p", "P"},     {"b", "B"},
    {"t", "T"},       {"d", "D"},       {"k", "K"},       {"g", "G"},      {"f", "F"},     {"v", "V"},
    {"s", "S"},       {"z", "Z"},       {"m", "M"},       {"n", "N"},      {"l", "L"},     {"r", "R"},
    {"w", "W"},       {"x", "K"},       {"?", "T"},       {"t#", "T"},     {"d#", "D"},    {"z#", "Z"},
    {"n-", "N"},      {"l-", "L"},      {"r-", "R"},      {"@-", "AH"},
};

}  // namespace

QString EspeakToModelPhones(const QString& espeakPhonemes) {
  QStringList out;
  for (QString ph : espeakPhonemes.split(u' ', Qt::SkipEmptyParts)) {
    while (!ph.isEmpty() && (ph[0] == u'\'' || ph[0] == u',' || ph[0] == u'%' || ph[0] == u'=')) ph.remove(0, 1);
    if (ph.isEmpty() || ph == "_" || ph == "_:" || ph == "||") continue;
    // Try the name as given, then without the trailing marks eSpeak adds for
    // length or variants.
    for (int attempt = 0; attempt < 2 && !ph.isEmpty(); ++attempt) {
      bool found = false;
      for (const auto& m : kPhones) {
        if (ph == QLatin1String(m.espeak)) {
          out << QString::fromLatin1(m.model);
          found = true;
          break;
        }
      }
      if (found) break;
      while (!ph.isEmpty() && !ph.back().isLetterOrNumber() && ph.back() != u'@') ph.chop(1);
    }
  }
  return out.join(u' ');
}

bool Pronouncer::DictionaryLoaded() const { return m_dict->loaded; }

bool Pronouncer::InDictionary(const QString& word) const { return m_dict->words.contains(Normalise(word).toUtf8()); }

QString Pronouncer::Normalise(const QString& word) { return word.toLower(); }

QString Pronouncer::Derive(const QString& word, const QString& spelling) {
  const QString key = Normalise(word);
  if (auto it = m_derived.find(key); it != m_derived.end()) return *it;
  QString phones;
  // A word made only of marks ("-", "'") has nothing to say.
  bool hasLetter = false;
  for (QChar c : spelling) hasLetter = hasLetter || c.isLetterOrNumber();
  if (hasLetter) {
    QString text = spelling;
    text.replace(u'_', u' ');
    phones = EspeakToModelPhones(EspeakPhonemes(text));
  }
  m_derived.insert(key, phones);
  return phones;
}

#ifndef QV_SPHINX_MODELDIR
#define QV_SPHINX_MODELDIR ""
#endif

QString ModelAcousticDir() {
  const QString dir = QStringLiteral(QV_SPHINX_MODELDIR "/en-us/en-us");
  return QFileInfo(dir + "/mdef").exists() ? dir : QString();
}

QString ModelDictionaryPath() {
  const QString path = QStringLiteral(QV_SPHINX_MODELDIR "/en-us/cmudict-en-us.dict");
  return QFileInfo::exists(path) ? path : QString();
}

QString ModelPhoneLmPath() {
  const QString path = QStringLiteral(QV_SPHINX_MODELDIR "/en-us/en-us-phone.lm.bin");
  return QFileInfo::exists(path) ? path : QString();
}

}  // namespace qv::speech
