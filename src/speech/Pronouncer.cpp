#include "speech/Pronouncer.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "speech/Espeak.h"

namespace qv::speech {

struct Pronouncer::Dictionary {
  // The file's bytes, and per word its pronunciations as places in them.
  QByteArray bytes;
  struct Entry {
    uint32_t phones = 0;  // offset of the phones in `bytes`
    uint32_t length = 0;
    int32_t next = -1;  // the word's next pronunciation
  };
  std::vector<Entry> entries;
  std::unordered_map<std::string_view, int32_t> first;
  QString identity;
  bool loaded = false;

  int32_t Find(const QString& word) const {
    const QByteArray key = word.toUtf8();
    const auto it = first.find(std::string_view(key.constData(), static_cast<size_t>(key.size())));
    return it == first.end() ? -1 : it->second;
  }
};

namespace {

std::shared_ptr<const Pronouncer::Dictionary> LoadDictionary(const QString& path) {
  static std::mutex mutex;
  static QHash<QString, std::shared_ptr<const Pronouncer::Dictionary>> cache;
  std::lock_guard lock(mutex);
  const QFileInfo info(path);
  const QString identity = path.isEmpty() ? QString()
                                          : info.absoluteFilePath() + "|" + QString::number(info.size()) + "|" +
                                                QString::number(info.lastModified().toMSecsSinceEpoch());
  if (auto it = cache.find(path); it != cache.end() && (*it)->identity == identity) return *it;
  auto dict = std::make_shared<Pronouncer::Dictionary>();
  dict->identity = identity;
  QFile f(path);
  if (!path.isEmpty() && f.open(QIODevice::ReadOnly)) {
    dict->bytes = f.readAll();
    const char* data = dict->bytes.constData();
    const qsizetype size = dict->bytes.size();
    dict->entries.reserve(140000);
    dict->first.reserve(140000);
    qsizetype pos = 0;
    while (pos < size) {
      const char* nl = static_cast<const char*>(memchr(data + pos, '\n', static_cast<size_t>(size - pos)));
      const qsizetype eol = nl ? nl - data : size;
      qsizetype sp = pos;
      while (sp < eol && data[sp] != ' ' && data[sp] != '\t') ++sp;
      qsizetype ph = sp;
      while (ph < eol && (data[ph] == ' ' || data[ph] == '\t')) ++ph;
      qsizetype end = eol;
      while (end > ph && (data[end - 1] == '\r' || data[end - 1] == ' ')) --end;
      if (sp > pos && end > ph) {
        std::string_view word(data + pos, static_cast<size_t>(sp - pos));
        // Alternative pronunciations are listed as "word(2)".
        if (word.back() == ')') {
          const size_t par = word.rfind('(');
          if (par != std::string_view::npos && par > 0) word = word.substr(0, par);
        }
        const int32_t index = static_cast<int32_t>(dict->entries.size());
        dict->entries.push_back({static_cast<uint32_t>(ph), static_cast<uint32_t>(end - ph), -1});
        auto [it, added] = dict->first.emplace(word, index);
        if (!added) {  // a further pronunciation: at the end of the word's chain
          int32_t e = it->second;
          while (dict->entries[e].next >= 0) e = dict->entries[e].next;
          dict->entries[e].next = index;
        }
      }
      pos = eol + 1;
    }
    dict->loaded = !dict->entries.empty();
  }
  cache.insert(path, dict);
  return dict;
}

}  // namespace

Pronouncer::Pronouncer(const QString& dictionaryPath) : m_dict(LoadDictionary(dictionaryPath)) {}

Pronouncer::Pronouncer(const QString& dictionaryPath, const QString& listPath) : Pronouncer(dictionaryPath) {
  QFile f(listPath);
  if (listPath.isEmpty() || !f.open(QIODevice::ReadOnly)) return;
  // A list is a few hundred lines; anything far larger is not one.
  const QByteArray bytes = f.read(4 * 1024 * 1024);
  m_list = ParsePronunciationList(bytes);
  const QFileInfo info(listPath);
  m_listIdentity = info.absoluteFilePath() + "|" + QString::number(info.size()) + "|" +
                   QString::number(info.lastModified().toMSecsSinceEpoch()) + "|" +
                   QString::number(qHash(bytes));
}

namespace {

struct PhoneMap {
  const char* espeak;
  const char* model;
};

// eSpeak's English phoneme names and the nearest phones of the US model.
constexpr PhoneMap kPhones[] = {
    {"aI@", "AY ER"}, {"aI3", "AY ER"}, {"aU@", "AW ER"}, {"i@3", "IY R"}, {"@L", "AH L"}, {"@2", "AH"},
    {"@5", "AH"},     {"a#", "AH"},     {"A:", "AA"},     {"A@", "AA R"},  {"A#", "AA"},   {"0", "AA"},
    {"02", "AA"},     {"O2", "AO"},     {"V", "AH"},      {"@", "AH"},      {"3:", "ER"},    {"3", "ER"},    {"a", "AE"},
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

QString EspeakToModelPhones(const QString& espeakPhonemes, bool* complete) {
  if (complete) *complete = true;
  static const QHash<QString, QString> kMap = [] {
    QHash<QString, QString> m;
    for (const auto& p : kPhones) m.insert(QString::fromLatin1(p.espeak), QString::fromLatin1(p.model));
    return m;
  }();
  QStringList out;
  for (QString ph : espeakPhonemes.split(u' ', Qt::SkipEmptyParts)) {
    while (!ph.isEmpty() && (ph[0] == u'\'' || ph[0] == u',' || ph[0] == u'%' || ph[0] == u'=')) ph.remove(0, 1);
    if (ph.isEmpty() || ph == "_" || ph == "_:" || ph == "||") continue;
    // Try the name as given, then without the trailing marks eSpeak adds for
    // length or variants.
    bool found = false;
    for (int attempt = 0; attempt < 2 && !found && !ph.isEmpty(); ++attempt) {
      if (const auto it = kMap.find(ph); it != kMap.end()) {
        out << *it;
        found = true;
      }
      while (!ph.isEmpty() && !ph.back().isLetterOrNumber() && ph.back() != u'@') ph.chop(1);
    }
    if (!found && complete) *complete = false;
  }
  return out.join(u' ');
}

QString ModelToEspeakPhonemes(const QString& modelPhones) {
  // The first of eSpeak's names for each of the model's phones in the table
  // above that maps to it alone; the unstressed vowel is spelt "@".
  static const QHash<QString, QString> kBack = [] {
    QHash<QString, QString> m;
    for (const auto& p : kPhones) {
      const QString model = QString::fromLatin1(p.model);
      if (!model.contains(u' ') && !m.contains(model)) m.insert(model, QString::fromLatin1(p.espeak));
    }
    m.insert("AH", "V");
    m.insert("ER", "3:");
    m.insert("IH", "I");
    m.insert("EH", "E");
    return m;
  }();
  static const QStringList kVowels = {"AA", "AE", "AH", "AO", "AW", "AY", "EH", "ER",
                                      "EY", "IH", "IY", "OW", "OY", "UH", "UW"};
  QString out = QStringLiteral("[[");
  bool stressed = false;
  for (const QString& phone : modelPhones.split(u' ', Qt::SkipEmptyParts)) {
    const auto it = kBack.find(phone);
    if (it == kBack.end()) continue;
    if (!stressed && kVowels.contains(phone)) {
      out += u'\'';
      stressed = true;
    }
    out += *it;
  }
  return out + QStringLiteral("]]");
}

bool Pronouncer::DictionaryLoaded() const { return m_dict->loaded; }

bool Pronouncer::InDictionary(const QString& word) const { return m_dict->Find(Normalise(word)) >= 0; }

QStringList Pronouncer::Pronunciations(const QString& word) const {
  QStringList out;
  for (int32_t e = m_dict->Find(Normalise(word)); e >= 0; e = m_dict->entries[e].next) {
    const auto& entry = m_dict->entries[e];
    out << QString::fromLatin1(m_dict->bytes.constData() + entry.phones, entry.length);
  }
  return out;
}

QString Pronouncer::Identity() const {
  return m_listIdentity.isEmpty() ? m_dict->identity : m_dict->identity + "|" + m_listIdentity;
}

QString Pronouncer::Normalise(const QString& word) { return word.toLower(); }

QString Pronouncer::DerivePhones(const QString& spelling) {
  // A word made only of marks ("-", "'") has nothing to say.
  bool hasLetter = false;
  for (QChar c : spelling) hasLetter = hasLetter || c.isLetterOrNumber();
  if (!hasLetter) return {};
  QString text = spelling;
  text.replace(u'_', u' ');
  return EspeakToModelPhones(EspeakPhonemes(text));
}

QString Pronouncer::Derive(const QString& word, const QString& spelling) {
  const QString key = Normalise(word);
  if (auto it = m_derived.find(key); it != m_derived.end()) return *it;
  QString phones;
  if (!m_ahead || !m_ahead->Take(spelling, phones)) phones = DerivePhones(spelling);
  m_derived.insert(key, phones);
  return phones;
}

DerivedAhead::DerivedAhead(QStringList spellings) : m_spellings(std::move(spellings)) {
  m_index.reserve(m_spellings.size());
  for (int i = 0; i < m_spellings.size(); ++i) m_index.insert(m_spellings[i], i);
  m_phones.resize(static_cast<size_t>(m_spellings.size()));
  m_thread = std::thread([this] {
    for (int i = 0; i < m_spellings.size(); ++i) {
      QString phones = Pronouncer::DerivePhones(m_spellings[i]);
      std::lock_guard lock(m_mutex);
      if (m_stop) return;
      m_phones[static_cast<size_t>(i)] = std::move(phones);
      m_done = static_cast<size_t>(i) + 1;
      m_made.notify_all();
    }
  });
}

DerivedAhead::~DerivedAhead() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_thread.join();
}

bool DerivedAhead::Take(const QString& spelling, QString& phones) {
  const auto it = m_index.constFind(spelling);
  if (it == m_index.constEnd()) return false;
  const auto i = static_cast<size_t>(*it);
  std::unique_lock lock(m_mutex);
  m_made.wait(lock, [&] { return m_done > i; });
  phones = m_phones[i];
  return true;
}

namespace {
bool HasLetter(const QString& spelling) {
  for (QChar c : spelling)
    if (c.isLetterOrNumber()) return true;
  return false;
}
}  // namespace

const QString& Pronouncer::VariantIn(const QString& voice, const QString& spelling) {
  QString text = spelling;
  text.replace(u'_', u' ');
  const QString key = voice + u'\n' + text;
  auto it = m_variants.find(key);
  if (it == m_variants.end()) {
    // A vowel that carries its own R ("EH R") may be followed by eSpeak's
    // R again: one phone, not two.
    bool complete = false;
    QStringList phones = EspeakToModelPhones(EspeakPhonemes(text, voice.toUtf8().constData()), &complete).split(u' ');
    if (!complete) phones.clear();  // a phone left out would make another word
    phones.erase(std::unique(phones.begin(), phones.end()), phones.end());
    it = m_variants.insert(key, phones.join(u' ').trimmed());
  }
  return *it;
}

void Pronouncer::PrepareVariants(const QStringList& spellings, const QStringList& voices) {
  // One voice at a time: eSpeak reads a voice's files each time it changes.
  for (const QString& voice : voices)
    for (const QString& spelling : spellings)
      if (HasLetter(spelling)) VariantIn(voice, spelling);
}

QStringList Pronouncer::SpokenVariants(const QString& spelling, const QStringList& voices) {
  QStringList out;
  if (!HasLetter(spelling)) return out;
  for (const QString& voice : voices) {
    const QString& v = VariantIn(voice, spelling);
    if (!v.isEmpty() && !out.contains(v)) out << v;
  }
  return out;
}

QStringList Pronouncer::PhonesOf(const QString& word, const QString& spelling) {
  return Choose(word, spelling).phones;
}

QStringList Pronouncer::Known(const QString& word) const {
  if (auto it = m_list.find(Normalise(word)); it != m_list.end()) return *it;
  return Pronunciations(word);
}

QStringList Pronouncer::ListedWords() const {
  QStringList out = m_list.keys();
  out.sort();
  return out;
}

std::vector<ReviewedWord> WordsToReview(const QStringList& phrases, Pronouncer& pronouncer) {
  static const QRegularExpression kReference(QStringLiteral("<[^>]*>"));
  static const QRegularExpression kMarks(QStringLiteral("[\\[\\]()|\\s]+"));
  QHash<QString, ReviewedWord> found;
  for (const QString& phrase : phrases) {
    QString text = phrase;
    text.replace(kReference, QStringLiteral(" "));
    for (const QString& token : text.split(kMarks, Qt::SkipEmptyParts))
      for (const SpokenWord& w : SpokenWords(token)) {
        if (found.contains(w.word) || pronouncer.InDictionary(w.word)) continue;
        found.insert(w.word, {w.word, w.spelling, pronouncer.Derive(w.word, w.spelling), pronouncer.Listed(w.word)});
      }
  }
  for (const QString& word : pronouncer.ListedWords())
    if (!found.contains(word)) found.insert(word, {word, word, pronouncer.Derive(word, word), pronouncer.Listed(word)});
  std::vector<ReviewedWord> out;
  for (auto it = found.begin(); it != found.end(); ++it) out.push_back(*it);
  std::sort(out.begin(), out.end(), [](const ReviewedWord& a, const ReviewedWord& b) { return a.word < b.word; });
  return out;
}

Pronouncer::Choice Pronouncer::Choose(const QString& word, const QString& spelling) {
  if (auto it = m_list.find(Normalise(word)); it != m_list.end()) return {*it, Origin::List};
  if (QStringList known = Pronunciations(word); !known.isEmpty()) return {known, Origin::Dictionary};
  const QString derived = Derive(word, spelling);
  if (derived.isEmpty()) return {};
  return {QStringList{derived}, Origin::Generated};
}

namespace {

// Letters the folding below does not reach through decomposition.
QString FoldSpecial(QChar c) {
  switch (c.unicode()) {
    case 0x00DF: return QStringLiteral("ss");
    case 0x00E6:
    case 0x00C6: return QStringLiteral("ae");
    case 0x0153:
    case 0x0152: return QStringLiteral("oe");
    case 0x00F8:
    case 0x00D8: return QStringLiteral("o");
    case 0x00F0:
    case 0x00D0:
    case 0x0111:
    case 0x0110: return QStringLiteral("d");
    case 0x00FE:
    case 0x00DE: return QStringLiteral("th");
    case 0x0142:
    case 0x0141: return QStringLiteral("l");
    case 0x0192: return QStringLiteral("f");
    case 0x0131: return QStringLiteral("i");
    default: return {};
  }
}

bool IsWordCharacter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '\'' || u == '-';
}

void AddPart(const QString& part, std::vector<SpokenWord>& out) {
  qsizetype b = 0, e = part.size();
  while (b < e && (part[b] == u'\'' || part[b] == u'-')) ++b;
  while (e > b && (part[e - 1] == u'\'' || part[e - 1] == u'-')) --e;
  if (b >= e) return;
  const QString spelling = part.mid(b, e - b);
  out.push_back({spelling.toLower(), spelling});
}

}  // namespace

std::vector<SpokenWord> SpokenWords(const QString& token) {
  QString folded;
  folded.reserve(token.size());
  for (QChar c : token) {
    if (c.unicode() < 128) {
      folded += c;
      continue;
    }
    if (const QString special = FoldSpecial(c); !special.isEmpty()) {
      folded += c.isUpper() ? special.toUpper() : special;
      continue;
    }
    for (QChar d : QString(c).normalized(QString::NormalizationForm_KD))
      if (d.category() != QChar::Mark_NonSpacing) folded += d;
  }
  std::vector<SpokenWord> out;
  QString part;
  for (QChar c : folded) {
    if (IsWordCharacter(c)) {
      part += c;
    } else if (!part.isEmpty()) {
      AddPart(part, out);
      part.clear();
    }
  }
  if (!part.isEmpty()) AddPart(part, out);
  return out;
}

}  // namespace qv::speech
