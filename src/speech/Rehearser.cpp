#include "speech/Rehearser.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <cmath>
#include <functional>

#include "speech/GrammarCompiler.h"
#include "speech/Pronouncer.h"

namespace qv::speech {

// --- RuleFinder ----------------------------------------------------------------

bool RuleFinder::Load(const QString& grammarsDir, const QStringList& grammars, QSet<QString> vocabulary,
                      QString& error) {
  m_grammars.clear();
  m_lists.clear();
  m_listRules.clear();
  m_spoken.clear();
  m_vocabulary = std::move(vocabulary);
  auto read = [&](const QString& path, const QString& name) -> std::unique_ptr<File> {
    auto f = std::make_unique<File>();
    f->name = name;
    f->fileName = QFileInfo(path).fileName();
    if (!ReadGrammarText(path, f->text)) return nullptr;
    return f;
  };
  for (const QString& g : grammars) {
    auto f = read(grammarsDir + "/" + g + ".bnf", g);
    if (!f) {
      error = "the grammar file " + grammarsDir + "/" + g + ".bnf cannot be read";
      return false;
    }
    Parse(*f);
    m_grammars.push_back(std::move(f));
  }
  // List files: the rest of the folder but the checklist responses. Their
  // rules are found by their definition lines ("<NAME>:" at a line's start).
  for (const QString& name : QDir(grammarsDir).entryList({"*.bnf"}, QDir::Files, QDir::Name)) {
    const QString base = QFileInfo(name).completeBaseName();
    if (grammars.contains(base) || base.compare("ChecklistResponses", Qt::CaseInsensitive) == 0) continue;
    auto f = read(grammarsDir + "/" + name, base);
    if (!f) continue;
    for (qsizetype pos = 0; pos < f->text.size();) {
      qsizetype end = f->text.indexOf(u'\n', pos);
      if (end < 0) end = f->text.size();
      const QStringView line = QStringView(f->text).mid(pos, end - pos).trimmed();
      if (line.startsWith(u'<') && line.endsWith(u":")) {
        const qsizetype close = line.indexOf(u'>');
        const QString key = line.mid(1, close - 1).toString().toLower();
        if (close > 1 && !m_listRules.contains(key)) m_listRules.insert(key, f.get());
      }
      pos = end + 1;
    }
    m_lists.push_back(std::move(f));
  }
  return true;
}

void RuleFinder::Parse(File& f) {
  std::vector<Diagnostic> ignored;
  f.source = ParseGrammar(f.text, f.fileName, ignored, ModeForFile(f.fileName));
  f.text.clear();
  f.parsed = true;
  for (const RuleDefinition& r : f.source.rules) {
    const QString key = r.name.toLower();
    if (!f.rules.contains(key)) f.rules.insert(key, &r);
  }
}

const QStringList& RuleFinder::Spoken(const QString& token) const {
  auto it = m_spoken.find(token);
  if (it != m_spoken.end()) return *it;
  QStringList words;
  for (const SpokenWord& w : SpokenWords(token))
    if (m_vocabulary.contains(w.word)) words << w.word;
  return *m_spoken.insert(token, words);
}

const RuleDefinition* RuleFinder::Lookup(const File& file, const QString& name, const File** owner) {
  const QString key = name.toLower();
  if (auto it = file.rules.find(key); it != file.rules.end()) {
    *owner = &file;
    return *it;
  }
  File* list = m_listRules.value(key);
  if (!list) return nullptr;
  if (!list->parsed) Parse(*list);
  auto it = list->rules.find(key);
  if (it == list->rules.end()) return nullptr;
  *owner = list;
  return *it;
}

// A depth-first walk over a rule body: each node hands every position it can
// end at (with the actions met so far) to its continuation; the walk stops
// at the first way through the whole sentence.
struct RuleFinder::Walk {
  RuleFinder& finder;
  const QStringList& words;
  int depth = 0;
  using Next = std::function<bool(int pos, QStringList& actions)>;

  bool Node(const File& file, const GrammarNode& n, int pos, QStringList& actions, const Next& next) {
    using K = GrammarNode::Kind;
    const int before = static_cast<int>(actions.size());
    auto undo = [&] {
      while (actions.size() > before) actions.removeLast();
    };
    switch (n.kind) {
      case K::Word: {
        const QStringList& spoken = finder.Spoken(n.text);
        for (const QString& w : spoken) {
          if (pos >= words.size() || words[pos] != w) return false;
          ++pos;
        }
        return next(pos, actions);
      }
      case K::Ref: {
        const File* owner = nullptr;
        const RuleDefinition* def = finder.Lookup(file, n.text, &owner);
        if (!def || depth > 64) return false;
        ++depth;
        const bool found = Node(*owner, def->body, pos, actions, next);
        --depth;
        return found;
      }
      case K::Optional:
        if (Node(file, n.children.front(), pos, actions, next)) return true;
        undo();
        return next(pos, actions);
      case K::Alternatives:
        for (const GrammarNode& c : n.children) {
          // Most alternatives of a long list fail at their first word.
          if (c.kind == K::Sequence && !c.children.empty() && c.children.front().kind == K::Word) {
            const QStringList& first = finder.Spoken(c.children.front().text);
            if (!first.isEmpty() && (pos >= words.size() || words[pos] != first.front())) continue;
          }
          if (Node(file, c, pos, actions, next)) return true;
          undo();
        }
        return false;
      case K::Sequence: {
        actions << n.actions;
        const bool found = Sequence(file, n, 0, pos, actions, next);
        if (!found) undo();
        return found;
      }
    }
    return false;
  }

  bool Sequence(const File& file, const GrammarNode& seq, size_t i, int pos, QStringList& actions, const Next& next) {
    if (i == seq.children.size()) return next(pos, actions);
    return Node(file, seq.children[i], pos, actions,
                [&](int p, QStringList& a) { return Sequence(file, seq, i + 1, p, a, next); });
  }
};

bool RuleFinder::Find(const QStringList& words, QString& grammar, QString& rule, QStringList& actions) {
  for (const auto& f : m_grammars)
    for (const auto* list : {&f->source.starts, &f->source.activatable})
      for (const NameAt& start : *list) {
        const File* owner = nullptr;
        const RuleDefinition* def = Lookup(*f, start.name, &owner);
        if (!def) continue;
        Walk walk{*this, words};
        QStringList met;
        if (walk.Node(*owner, def->body, 0, met, [&](int pos, QStringList&) { return pos == words.size(); })) {
          grammar = f->name;
          rule = def->name;
          actions = met;
          return true;
        }
      }
  return false;
}

// --- Rehearser -----------------------------------------------------------------

namespace {
// The confidence shown for each attempt comes from the phone loop's scores.
RecognizerSettings WithPhoneScores(RecognizerSettings settings) {
  settings.phoneScores = true;
  return settings;
}
}  // namespace

Rehearser::Rehearser(QString installDir, RecognizerSettings settings)
    : m_installDir(std::move(installDir)), m_recognizer(m_installDir, WithPhoneScores(std::move(settings))) {}

bool Rehearser::Load(const QStringList& grammars, QString& error) {
  m_loaded = false;
  m_grammars = grammars;
  const QString grammarsDir = m_installDir + "/Grammars";
  if (m_recognizer.LoadCompiledGrammars(grammars) != 0) {
    error = m_recognizer.LastError();
    return false;
  }
  // The words the compiled graphs can hold: those of their dictionary.
  QSet<QString> vocabulary;
  QFile dict(CompiledDir(grammarsDir) + "/" + kAddedWordsFile);
  if (dict.open(QIODevice::ReadOnly)) {
    const QByteArray text = dict.readAll();
    for (const QByteArray& line : text.split('\n')) {
      QByteArray word = line.left(line.indexOf(' '));
      if (const int paren = word.indexOf('('); paren > 0) word.truncate(paren);
      if (!word.isEmpty()) vocabulary.insert(QString::fromUtf8(word));
    }
  }
  if (!m_finder.Load(grammarsDir, grammars, std::move(vocabulary), error)) return false;
  m_loaded = true;
  return true;
}

grammar::RuleMatch Rehearser::Outcome(int16_t status, const QByteArray& buffer) {
  grammar::RuleMatch m;
  m.status = status;
  const ListenStats& s = m_recognizer.LastStats();
  m.audioSeconds = s.audioSeconds;
  m.decodeSeconds = s.decodeSeconds;
  if (status == -3) m.error = m_recognizer.LastError();
  if (status != 0) return m;
  m.words = QString::fromLatin1(buffer.constData(), static_cast<int>(qstrnlen(buffer.constData(), buffer.size())));
  // How close the sentence came to the best free phone sequence over its
  // speech: 1 when the grammar's words explain the sounds as well as any
  // phones could, falling off as the gap per frame grows.
  m.confidence = std::exp(-std::max(0.0, s.scores.speechMargin) / kConfidenceScale);
  if (!m_finder.Find(m.words.split(u' ', Qt::SkipEmptyParts), m.grammar, m.rule, m.actions)) m.status = -2;
  return m;
}

grammar::RuleMatch Rehearser::Listen() {
  if (!m_loaded) {
    QString error;
    if (!Load(m_grammars, error)) return {-3, {}, {}, {}, {}, 0, 0, 0, error};
  }
  QByteArray buffer(4096, '\0');
  const int16_t status = m_recognizer.Listen(buffer);
  // Stopping releases the recogniser's grammar; the next listen loads it anew.
  if (status == Recognizer::kStopped) m_loaded = false;
  return Outcome(status, buffer);
}

grammar::RuleMatch Rehearser::Recognise(const std::vector<int16_t>& samples) {
  if (!m_loaded) return {-3, {}, {}, {}, {}, 0, 0, 0, "no grammar is loaded"};
  QByteArray buffer(4096, '\0');
  SampleSource source(samples);
  const int16_t status = m_recognizer.ListenTo(source, buffer);
  return Outcome(status, buffer);
}

}  // namespace qv::speech
