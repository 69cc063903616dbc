#include "speech/GrammarCompiler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <unordered_map>

#include "base/FileIo.h"
#include "speech/GraphCache.h"
#include "speech/Overlaps.h"
#include "speech/Pronouncer.h"

namespace qv::speech {

int CompileResult::ErrorCount() const {
  return static_cast<int>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                        [](const Diagnostic& d) { return d.severity == Severity::Error; }));
}

int CompileResult::WarningCount() const { return static_cast<int>(diagnostics.size()) - ErrorCount(); }

ParseMode ModeForFile(const QString& fileName) {
  const QString n = fileName.toLower();
  if (n == u"generic lists.bnf") return ParseMode::Strict;
  if (n == u"navaid_ids.bnf" || n == u"navaid_names.bnf" || n == u"navaid_ilss.bnf" || n == u"checklistresponses.bnf" ||
      n == u"test.bnf")
    return ParseMode::Lenient;
  return ParseMode::Phrases;
}

namespace {

// Qt's string hash is built to resist chosen keys, which costs time on the
// hundreds of thousands of words of a navaid list; these keys are our own.
struct TextHash {
  size_t operator()(const QString& s) const noexcept {
    uint64_t h = 1469598103934665603ull;
    for (QChar c : s) {
      h ^= c.unicode();
      h *= 1099511628211ull;
    }
    return static_cast<size_t>(h ^ (h >> 32));
  }
};
template <typename V>
using TextMap = std::unordered_map<QString, V, TextHash>;

// A referenced rule larger than this is joined in where it is used (one
// copy per use after the using grammar is minimised) rather than built into
// the using rule; the navaid lists are far larger.
constexpr size_t kSpliceAbove = 2000;

struct Source {
  QString fileName;
  QByteArray bytes;
  ParseMode mode = ParseMode::Strict;
  QByteArray key;
  bool cached = false;
  CachedList cache;
  GrammarFile file;
  std::vector<Diagnostic> diags;
  QHash<QString, std::vector<int>> defs;  // upper-case name -> definitions in file.rules
  QHash<QString, NameAt> imports;         // upper-case name -> first import line
  QSet<int> dependsOn;                    // sources whose rules this one took in
  TextMap<int> resolved;                  // names as written -> rule, -1 for none
  bool check = false;
  bool parsed = false;
  bool scanned = false;  // only the statements before the first rule were read
  QStringList scannedExports;
  QStringList words;  // of a free-text file: its distinct word texts
  bool HasStarts() const { return !file.starts.empty() || !file.activatable.empty(); }
  bool IsList() const { return cached || (!HasStarts() && !file.exports.empty()); }
};

struct Rule {
  int source = -1;
  QString name;       // as written
  int state = 0;      // 0 not built, 1 being built, 2 built
  bool dead = false;  // matches nothing
  WordGraph graph;    // labels: global word ids and calls of big rules
  bool big = false;
  bool expandedReady = false;
  WordGraph expanded;  // without calls
  int line = 0;
};

QString Key(const QString& name) { return name.toUpper(); }

class Compiler {
 public:
  Compiler(const CompileOptions& o, Pronouncer& p) : m_opt(o), m_pron(p) {}
  ~Compiler() {
    m_pron.UseDerivedAhead(nullptr);
    for (auto& t : m_releasing) t.join();
  }
  Compiler(const Compiler&) = delete;
  Compiler& operator=(const Compiler&) = delete;

  CompileResult Run(std::vector<SourceText> texts) {
    m_res.filesRead = static_cast<int>(texts.size());
    if (texts.empty()) return std::move(m_res);
    const QString dictionary = m_pron.Identity();
    for (auto& t : texts) {
      Source s;
      s.fileName = t.fileName;
      s.bytes = std::move(t.bytes);
      s.mode = ModeForFile(s.fileName);
      s.key = ListCacheKey(s.bytes, static_cast<int>(s.mode), dictionary);
      m_src.push_back(std::move(s));
    }
    LoadCaches();
    if (m_opt.onlyFile.isEmpty()) {
      ParseAll();
      IndexExports();
      for (auto& s : m_src) s.check = true;
    } else {
      ChooseFilesFor(m_opt.onlyFile);
    }
    DeriveAhead();
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f)
      if (m_src[f].check) CheckDefinitions(f);
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f)
      if (m_src[f].check) {
        BuildFile(f);
        ReleaseBodies(f);
      }
    SaveCaches();
    Collect();
    return std::move(m_res);
  }

 private:
  Severity Sev(int f) const { return m_src[f].mode == ParseMode::Strict ? Severity::Error : Severity::Warning; }

  void Report(int f, int line, int column, Severity s, const QString& message) {
    m_src[f].diags.push_back({m_src[f].fileName, line, column, s, message});
  }

  // --- reading ----------------------------------------------------------------

  void LoadCaches() {
    if (m_opt.cacheDir.isEmpty()) return;
    QSet<QByteArray> keys;
    for (const auto& s : m_src) keys.insert(s.key);
    for (auto& s : m_src) {
      CachedList list;
      if (!LoadCachedList(m_opt.cacheDir, s.key, list)) continue;
      const bool complete = std::all_of(list.dependencies.begin(), list.dependencies.end(),
                                        [&](const QByteArray& d) { return keys.contains(d); });
      if (!complete) continue;
      s.cached = true;
      for (auto d : list.diagnostics) {
        d.file = s.fileName;
        s.diags.push_back(std::move(d));
      }
      for (const QString& imp : list.imports) s.imports.insert(Key(imp), NameAt{imp, 0, 0});
      s.cache = std::move(list);
      ++m_res.filesFromCache;
    }
  }

  // Reading a file touches nothing but the file's own source, so the two
  // processors share the files, the largest first.
  void ParseAll() {
    std::vector<Source*> todo;
    for (auto& s : m_src)
      if (!s.cached) todo.push_back(&s);
    std::sort(todo.begin(), todo.end(),
              [](const Source* a, const Source* b) { return a->bytes.size() > b->bytes.size(); });
    std::atomic<size_t> next{0};
    auto work = [&] {
      for (size_t i; (i = next++) < todo.size();) Parse(*todo[i]);
    };
    qint64 total = 0;
    for (const Source* s : todo) total += s->bytes.size();
    if (total < 256 * 1024 || std::thread::hardware_concurrency() < 2) {
      work();
      return;
    }
    std::thread helper(work);
    work();
    helper.join();
  }

  void Parse(Source& s) {
    if (s.parsed) return;
    s.parsed = true;
    QString text;
    DecodeGrammarBytes(s.bytes, text);
    s.file = ParseGrammar(text, s.fileName, s.diags, s.mode, s.mode == ParseMode::Lenient ? &s.words : nullptr);
    for (int r = 0; r < static_cast<int>(s.file.rules.size()); ++r) s.defs[Key(s.file.rules[r].name)].push_back(r);
    for (const auto& imp : s.file.imports)
      if (!s.imports.contains(Key(imp.name))) s.imports.insert(Key(imp.name), imp);
  }

  QStringList Exports(const Source& s) const {
    QStringList out;
    if (s.cached) return s.cache.exports;
    if (!s.parsed) return s.scannedExports;
    for (const auto& e : s.file.exports) out << e.name;
    return out;
  }

  // The statements before a large file's first rule (its imports and
  // exports): enough to know whether the one file compiled needs it. False
  // when they do not end within the part read.
  static bool ScanHeader(Source& s) {
    QString text;
    DecodeGrammarBytes(s.bytes.left(64 * 1024), text);
    for (const QStringView line : QStringView(text).split(u'\n')) {
      const QStringView t = line.trimmed();
      if (t.startsWith(u'<')) {
        s.scanned = true;
        return true;
      }
      const bool isExport = t.startsWith(u"!export<", Qt::CaseInsensitive);
      if (!isExport && !t.startsWith(u"!import<", Qt::CaseInsensitive)) continue;
      if (!t.endsWith(u">;")) continue;
      const QString name = t.mid(8, t.size() - 10).trimmed().toString();
      if (isExport)
        s.scannedExports << name;
      else if (!s.imports.contains(Key(name)))
        s.imports.insert(Key(name), NameAt{name, 0, 0});
    }
    return false;
  }

  // The words of the free-text lists (navaid names) that the dictionary and
  // the pilot's list lack are given pronunciations on a helper thread while
  // the files before them are built.
  void DeriveAhead() {
    QStringList spellings;
    QSet<QString> seen;
    for (auto& s : m_src) {
      if (s.check && s.parsed && !s.cached)
        for (const QString& token : s.words)
          for (const SpokenWord& w : SpokenWords(token)) {
            if (seen.contains(w.spelling)) continue;
            seen.insert(w.spelling);
            if (m_pron.Known(w.word).isEmpty()) spellings << w.spelling;
          }
      s.words.clear();
    }
    if (spellings.size() < 64) return;  // not worth a thread
    m_ahead = std::make_unique<DerivedAhead>(std::move(spellings));
    m_pron.UseDerivedAhead(m_ahead.get());
  }

  void IndexExports() {
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      const Source& s = m_src[f];
      for (const QString& name : Exports(s)) {
        if (s.parsed && !s.defs.contains(Key(name))) continue;  // reported when checked
        if (!m_exporter.contains(Key(name))) m_exporter.insert(Key(name), f);
      }
    }
  }

  // The one file asked for, and the files exporting what it refers to (and
  // so on): a test of a phrase naming only the identifiers does not read the
  // names or the ILS approaches. Large files are only scanned for their
  // exports unless they are needed.
  void ChooseFilesFor(const QString& only) {
    const int n = static_cast<int>(m_src.size());
    for (auto& s : m_src) {
      if (s.cached) continue;
      s.imports.clear();
      if (s.bytes.size() > 256 * 1024 && ScanHeader(s)) continue;
      s.scannedExports.clear();
      Parse(s);
    }
    IndexExports();
    std::deque<int> todo;
    for (int f = 0; f < n; ++f)
      if (m_src[f].fileName.compare(only, Qt::CaseInsensitive) == 0) todo.push_back(f);
    if (todo.empty()) m_res.diagnostics.push_back({only, 0, 0, Severity::Error, "the grammar file is missing"});
    while (!todo.empty()) {
      const int f = todo.front();
      todo.pop_front();
      Source& s = m_src[f];
      if (s.check) continue;
      s.check = true;
      if (s.cached) continue;  // its compiled rules hold what they use
      if (!s.parsed) {
        s.imports.clear();
        Parse(s);
      }
      for (const auto& rule : s.file.rules) {
        std::vector<const GrammarNode*> refs;
        CollectRefs(rule.body, refs);
        for (const GrammarNode* ref : refs) {
          const QString k = Key(ref->text);
          if (s.defs.contains(k)) continue;
          if (auto e = m_exporter.find(k); e != m_exporter.end() && !m_src[*e].check) todo.push_back(*e);
        }
      }
    }
  }

  void CheckDefinitions(int f) {
    Source& s = m_src[f];
    if (s.cached) return;
    for (const auto& ex : s.file.exports) {
      if (!s.defs.contains(Key(ex.name))) {
        Report(f, ex.line, ex.column, Sev(f), "exported rule <" + ex.name + "> is not defined in this file");
        continue;
      }
      const int owner = m_exporter.value(Key(ex.name), f);
      if (owner != f)
        Report(f, ex.line, ex.column, Sev(f),
               "rule <" + ex.name + "> is also exported by " + m_src[owner].fileName +
                   (Sev(f) == Severity::Error ? QString() : QStringLiteral("; that one is used")));
    }
    for (auto it = s.defs.begin(); it != s.defs.end(); ++it) {
      const auto& defs = it.value();
      const RuleDefinition& first = s.file.rules[defs.front()];
      for (size_t i = 1; i < defs.size(); ++i) {
        const RuleDefinition& again = s.file.rules[defs[i]];
        Report(f, again.line, 1, Sev(f),
               Sev(f) == Severity::Error
                   ? "duplicate rule <" + again.name + "> (first defined at line " + QString::number(first.line) + ")"
                   : "rule <" + again.name + "> is defined twice (first at line " + QString::number(first.line) +
                         "); both definitions are used");
      }
      if (s.imports.contains(it.key()))
        Report(f, first.line, 1, Sev(f),
               "rule <" + first.name + "> is both imported and defined in this file" +
                   (Sev(f) == Severity::Error ? QString() : QStringLiteral("; the definition here is used")));
    }
    if (s.mode == ParseMode::Strict)
      for (const auto& imp : s.file.imports)
        if (!m_exporter.contains(Key(imp.name)))
          Report(f, imp.line, imp.column, Severity::Error,
                 "imported rule <" + imp.name + "> is not exported by any grammar file");
  }

  // --- rules ------------------------------------------------------------------

  // The rule `name` as seen from file f, or -1.
  int Resolve(int f, const QString& name) {
    Source& s = m_src[f];
    if (auto it = s.resolved.find(name); it != s.resolved.end()) return it->second;
    const QString k = Key(name);
    int id = -1;
    if (!s.cached && s.defs.contains(k)) {
      id = RuleId(f, k, name);
    } else if (s.imports.contains(k)) {
      if (auto e = m_exporter.find(k); e != m_exporter.end()) id = RuleId(*e, k, name);
    }
    s.resolved.emplace(name, id);
    return id;
  }

  int RuleId(int f, const QString& key, const QString& name) {
    const QString id = QString::number(f) + "|" + key;
    if (auto it = m_ruleIds.find(id); it != m_ruleIds.end()) return it->second;
    Rule r;
    r.source = f;
    r.name = name;
    const Source& s = m_src[f];
    if (!s.cached) {
      if (auto d = s.defs.find(key); d != s.defs.end()) {
        r.name = s.file.rules[d->front()].name;
        r.line = s.file.rules[d->front()].line;
      }
    }
    m_rules.push_back(std::move(r));
    const int n = static_cast<int>(m_rules.size()) - 1;
    m_ruleIds.emplace(id, n);
    return n;
  }

  int Word(const QString& word, const QStringList& phones) {
    if (auto it = m_wordIds.find(word); it != m_wordIds.end()) return it->second;
    const int id = static_cast<int>(m_res.words.size());
    m_res.words.push_back(word);
    m_wordIds.emplace(word, id);
    m_res.phones.insert(word, phones);
    return id;
  }

  // The word ids a written token stands for; empty when it has no sound.
  const std::vector<int>& TokenWords(const QString& token) {
    if (auto it = m_tokenWords.find(token); it != m_tokenWords.end()) return it->second;
    std::vector<int> ids;
    for (const SpokenWord& w : SpokenWords(token)) {
      if (auto it = m_wordIds.find(w.word); it != m_wordIds.end()) {
        ids.push_back(it->second);
        continue;
      }
      const QStringList phones = m_pron.PhonesOf(w.word, w.spelling);
      if (!phones.isEmpty()) ids.push_back(Word(w.word, phones));
    }
    return m_tokenWords.emplace(token, std::move(ids)).first->second;
  }

  // Builds the graph of rule bodies: each piece starts at a given state and
  // returns the state it ends in, so that few empty steps are made.
  class Builder {
   public:
    Builder(Compiler& c, int f, bool quiet = false) : m_c(c), m_f(f), m_quiet(quiet) {}
    WordGraph nfa;

    // The state the node ends in; -1 when nothing can be said through it.
    int Node(const GrammarNode& n, int from) {
      using K = GrammarNode::Kind;
      if (from < 0) return -1;
      if (n.group && n.kind != K::Word && n.kind != K::Ref && SaysNothing(n))
        Report(n.line, n.column, Severity::Warning, "the parentheses hold nothing to say: they match silence");
      switch (n.kind) {
        case K::Word: {
          const std::vector<int>& ids = m_c.TokenWords(n.text);
          if (ids.empty())
            Report(n.line, n.column, Severity::Warning, "\"" + n.text + "\" has no sound and is left out");
          int cur = from;
          for (int id : ids) {
            const int next = nfa.AddState();
            nfa.AddArc(cur, id, next);
            cur = next;
          }
          return cur;
        }
        case K::Ref: return Ref(n, from);
        case K::Optional: {
          const int inner = Node(n.children.front(), from);
          if (inner == from) return from;
          const int out = inner >= 0 ? inner : nfa.AddState();
          nfa.AddArc(from, WordGraph::kEmpty, out);
          return out;
        }
        case K::Alternatives: {
          int out = -1;
          for (const auto& c : n.children) {
            const int end = Node(c, from);
            if (end < 0) continue;
            if (out < 0) {
              // The first way through ends where the others will join it,
              // unless it ends where it began.
              out = end == from ? nfa.AddState() : end;
              if (end == from) nfa.AddArc(from, WordGraph::kEmpty, out);
            } else {
              nfa.AddArc(end, WordGraph::kEmpty, out);
            }
          }
          return out;
        }
        case K::Sequence: {
          int cur = from;
          for (const auto& c : n.children) cur = Node(c, cur);
          return cur;
        }
      }
      return -1;
    }

   private:
    // A reference leads into the rule's graph; one that cannot be followed
    // leads nowhere, so the alternative holding it can never be said.
    int Ref(const GrammarNode& n, int from) {
      const int target = m_c.Resolve(m_f, n.text);
      const Source& s = m_c.m_src[m_f];
      if (target < 0) {
        // A list the file imports but no file provides means a grammar file
        // is missing: that is an error wherever it happens. A name nothing
        // imports is only a phrase that cannot be said.
        if (s.imports.contains(Key(n.text))) {
          Report(n.line, n.column, Severity::Error,
                 "imported rule <" + n.text + "> is not exported by any grammar file");
          return -1;
        }
        QString message = "reference to rule <" + n.text + "> is not defined in this file nor imported";
        if (m_c.Sev(m_f) == Severity::Warning) message += "; what uses it can never be said";
        Report(n.line, n.column, m_c.Sev(m_f), message);
        return -1;
      }
      if (m_c.m_rules[target].state == 1) {
        m_c.ReportLoop(m_f, n, target);
        return -1;
      }
      m_c.BuildRule(target);
      Rule& r = m_c.m_rules[target];
      if (r.source != m_f) m_c.m_src[m_f].dependsOn.insert(r.source);
      if (r.dead) return -1;
      if (r.big) {
        const int out = nfa.AddState();
        nfa.AddArc(from, WordGraph::Call(target), out);
        return out;
      }
      // A copy of the rule's graph, its start state being `from`.
      const WordGraph& g = r.graph;
      std::vector<int>& map = m_map;  // kept between calls: a list makes hundreds of thousands
      map.assign(static_cast<size_t>(g.StateCount()), -1);
      map[g.Start()] = from;
      int finals = 0, onlyFinal = -1;
      for (int i = 0; i < g.StateCount(); ++i) {
        if (map[i] < 0) map[i] = nfa.AddState();
        if (g.IsFinal(i)) {
          ++finals;
          onlyFinal = i;
        }
      }
      for (const auto& a : g.Arcs()) nfa.AddArc(map[a.from], a.label, map[a.to]);
      // A single final state that leads on nowhere and is not the start is
      // the end; otherwise every final state steps into a new end.
      if (finals == 1 && onlyFinal != g.Start() && g.Out(onlyFinal).size() == 0) return map[onlyFinal];
      const int out = nfa.AddState();
      for (int i = 0; i < g.StateCount(); ++i)
        if (g.IsFinal(i)) nfa.AddArc(map[i], WordGraph::kEmpty, out);
      return out;
    }

    void Report(int line, int column, Severity severity, const QString& message) {
      if (!m_quiet) m_c.Report(m_f, line, column, severity, message);
    }

    Compiler& m_c;
    int m_f;
    bool m_quiet;
    std::vector<int> m_map;
  };

  void ReportLoop(int f, const GrammarNode& at, int target) {
    QStringList chain;
    auto it = std::find(m_path.begin(), m_path.end(), target);
    for (; it != m_path.end(); ++it) chain << "<" + m_rules[*it].name + ">";
    chain << "<" + m_rules[target].name + ">";
    const QString message = "rule <" + m_rules[target].name + "> is recursive: " + chain.join(" -> ");
    const QString key = QString::number(target) + message;
    if (m_loopsReported.contains(key)) return;
    m_loopsReported.insert(key);
    const Rule& r = m_rules[target];
    if (Sev(f) == Severity::Error)
      Report(r.source, r.line, 1, Severity::Error, message);
    else
      Report(f, at.line, at.column, Severity::Warning, message + "; that path is left out");
  }

  void BuildRule(int id) {
    if (m_rules[id].state != 0) return;
    m_rules[id].state = 1;
    m_path.push_back(id);
    const int f = m_rules[id].source;
    Source& s = m_src[f];
    if (s.cached) {
      BuildCachedRule(id);
    } else {
      const std::vector<int>& defs = s.defs[Key(m_rules[id].name)];
      const bool nothing =
          std::all_of(defs.begin(), defs.end(), [&](int d) { return SaysNothing(s.file.rules[d].body); });
      if (nothing) {
        Report(f, m_rules[id].line, 1, Severity::Warning,
               "rule <" + m_rules[id].name + "> has nothing to say: it matches nothing");
        m_rules[id].dead = true;
      } else {
        Builder b(*this, f);
        const int start = b.nfa.AddState();
        b.nfa.SetStart(start);
        for (int d : defs) {
          const int end = b.Node(s.file.rules[d].body, start);
          if (end >= 0) b.nfa.SetFinal(end);
        }
        WordGraph g = Optimize(b.nfa);
        m_rules[id].dead = g.IsEmptyLanguage();
        m_rules[id].big = g.ArcCount() > kSpliceAbove;
        m_rules[id].graph = std::move(g);
      }
    }
    m_path.pop_back();
    m_rules[id].state = 2;
  }

  void BuildCachedRule(int id) {
    Rule& r = m_rules[id];
    const CachedList& list = m_src[r.source].cache;
    const auto it = std::find_if(list.rules.begin(), list.rules.end(),
                                 [&](const CachedList::Rule& c) { return Key(c.name) == Key(r.name); });
    if (it == list.rules.end()) {
      r.dead = true;
      return;
    }
    r.name = it->name;
    std::vector<int> map(list.words.size(), -1);
    WordGraph g;
    for (int i = 0; i < it->graph.StateCount(); ++i) {
      g.AddState();
      if (it->graph.IsFinal(i)) g.SetFinal(i);
    }
    g.SetStart(it->graph.Start());
    for (const auto& a : it->graph.Arcs()) {
      WordGraph::Label label = a.label;
      if (label >= 0) {
        if (map[label] < 0) map[label] = Word(list.words[label], list.phones[label]);
        label = map[label];
      }
      g.AddArc(a.from, label, a.to);
    }
    r.dead = g.IsEmptyLanguage();
    r.big = g.ArcCount() > kSpliceAbove;
    r.graph = std::move(g);
  }

  // The rule's graph with every call replaced by the called graph.
  const WordGraph& Expanded(int id) {
    Rule& r = m_rules[id];
    if (!r.expandedReady) {
      r.expandedReady = true;
      if (r.graph.HasCalls()) r.expanded = Splice(r.graph, [&](int callee) { return &Expanded(callee); });
    }
    return r.graph.HasCalls() ? r.expanded : r.graph;
  }

  // --- files ------------------------------------------------------------------

  void BuildFile(int f) {
    Source& s = m_src[f];
    if (s.cached) {
      for (const QString& name : s.cache.exports) BuildRule(RuleId(f, Key(name), name));
      return;
    }
    // Every rule of the hand-written list file is checked; elsewhere only
    // what can be said (rules without a start line are left alone).
    if (s.mode == ParseMode::Strict)
      for (const auto& r : s.file.rules) BuildRule(RuleId(f, Key(r.name), r.name));
    for (const auto& ex : s.file.exports)
      if (s.defs.contains(Key(ex.name))) BuildRule(RuleId(f, Key(ex.name), ex.name));
    if (!s.HasStarts()) return;

    Builder b(*this, f);
    const int start = b.nfa.AddState(), end = b.nfa.AddState();
    b.nfa.SetStart(start);
    b.nfa.SetFinal(end);
    QSet<QString> seen;
    for (const auto* list : {&s.file.starts, &s.file.activatable}) {
      for (const NameAt& st : *list) {
        if (seen.contains(Key(st.name))) continue;
        seen.insert(Key(st.name));
        const int id = Resolve(f, st.name);
        if (id < 0) {
          Report(f, st.line, st.column, Sev(f),
                 QString(list == &s.file.starts ? "start rule" : "activatable rule") + " <" + st.name +
                     "> is not defined in this file nor imported");
          continue;
        }
        BuildRule(id);
        if (m_rules[id].dead) continue;
        if (m_rules[id].graph.AcceptsEmpty())
          Report(m_rules[id].source, m_rules[id].line, 1, Severity::Warning,
                 "<" + m_rules[id].name + "> can be recognised from silence alone");
        GrammarNode ref;
        ref.kind = GrammarNode::Kind::Ref;
        ref.text = st.name;
        ref.line = st.line;
        ref.column = st.column;
        const int out = b.Node(ref, start);
        if (out >= 0) b.nfa.AddArc(out, WordGraph::kEmpty, end);
      }
    }
    const WordGraph top = Optimize(b.nfa);
    CompiledGrammar cg;
    cg.fileName = s.fileName;
    cg.baseName = QFileInfo(s.fileName).completeBaseName();
    cg.graph = top.HasCalls() ? Splice(top, [&](int callee) { return &Expanded(callee); }) : top;
    m_res.grammars.push_back(std::move(cg));
    if (s.mode == ParseMode::Phrases && m_opt.checkOverlaps) CheckOverlaps(f);
  }

  // A large list's rule bodies (a million nodes for 20,000 ILS approaches)
  // are not read again once its rules are built: they are freed on a helper
  // thread while the next files are built.
  void ReleaseBodies(int f) {
    Source& s = m_src[f];
    if (s.cached || s.HasStarts() || s.mode == ParseMode::Phrases || s.bytes.size() < 256 * 1024) return;
    auto bodies = std::make_unique<std::vector<GrammarNode>>();
    for (auto& r : s.file.rules) {
      const auto it = m_ruleIds.find(QString::number(f) + "|" + Key(r.name));
      if (it == m_ruleIds.end() || m_rules[it->second].state != 2) continue;
      bodies->push_back(std::move(r.body));
      r.body = GrammarNode();
    }
    m_releasing.emplace_back([b = std::move(bodies)]() mutable { b.reset(); });
  }

  // --- rules that can be said alike ------------------------------------------

  // Every pair of the file's start rules (they are listened for together)
  // that share a sentence, or where a sentence of one begins a longer one of
  // the other, is reported at the phrases that say it.
  void CheckOverlaps(int f) {
    Source& s = m_src[f];
    std::vector<int> ids;
    QSet<QString> seen;
    for (const NameAt& st : s.file.starts) {
      if (seen.contains(Key(st.name))) continue;
      seen.insert(Key(st.name));
      const int id = Resolve(f, st.name);
      if (id >= 0 && m_rules[id].state == 2 && !m_rules[id].dead) ids.push_back(id);
    }
    const CalleeGraphs callee = [&](int rule) -> const WordGraph* {
      return rule >= 0 && rule < static_cast<int>(m_rules.size()) ? &m_rules[rule].graph : nullptr;
    };
    for (size_t i = 0; i < ids.size(); ++i)
      for (size_t j = i + 1; j < ids.size(); ++j) {
        const Rule &a = m_rules[ids[i]], &b = m_rules[ids[j]];
        const SharedSentences shared = FindSharedSentences(a.graph, b.graph, callee);
        if (shared.both)
          ReportOverlap(f, ids[i], ids[j], *shared.both, *shared.both,
                        "can be said the same way as <" + b.name + ">: \"" + Sentence(*shared.both) + "\"");
        // A pair said alike is one warning; its beginnings would add nothing.
        if (shared.both) continue;
        if (shared.aBeforeB) ReportPrefix(f, ids[i], ids[j], *shared.aBeforeB);
        if (shared.bBeforeA) ReportPrefix(f, ids[j], ids[i], *shared.bBeforeA);
      }
  }

  void ReportPrefix(int f, int shorter, int longer, const SharedSentences::Prefix& p) {
    const std::vector<int> head(p.words.begin(), p.words.begin() + static_cast<std::ptrdiff_t>(p.prefix));
    ReportOverlap(f, shorter, longer, head, p.words,
                  "\"" + Sentence(head) + "\" is the beginning of \"" + Sentence(p.words) + "\" of <" +
                      m_rules[longer].name + ">: the recogniser may stop before the longer one is said");
  }

  QString Sentence(const std::vector<int>& words) const {
    QStringList out;
    for (int w : words) out << m_res.words[w];
    return out.join(u' ');
  }

  void ReportOverlap(int f, int a, int b, const std::vector<int>& wordsA, const std::vector<int>& wordsB,
                     const QString& message) {
    const NameAt atA = PhraseSaying(f, a, wordsA), atB = PhraseSaying(f, b, wordsB);
    Diagnostic d{m_src[f].fileName, atA.line, atA.column, Severity::Warning, "<" + m_rules[a].name + "> " + message};
    d.relatedLine = atB.line;
    d.relatedColumn = atB.column;
    m_src[f].diags.push_back(std::move(d));
  }

  // Where the rule's alternative that says `words` begins: the choice whose
  // ways are written on lines of their own (a command's phrases); with one
  // way, where that begins.
  NameAt PhraseSaying(int f, int id, const std::vector<int>& words) {
    const Rule& r = m_rules[id];
    NameAt at{r.name, r.line, 0};
    const Source& s = m_src[f];
    const auto d = s.defs.find(Key(r.name));
    if (r.source != f || d == s.defs.end()) return at;
    auto firstLeaf = [](const GrammarNode& n) {
      const GrammarNode* p = &n;
      while (p->kind != GrammarNode::Kind::Word && p->kind != GrammarNode::Kind::Ref && !p->children.empty())
        p = &p->children.front();
      return p;
    };
    const GrammarNode* choice = nullptr;
    std::function<void(const GrammarNode&)> find = [&](const GrammarNode& n) {
      if (choice) return;
      if (n.kind == GrammarNode::Kind::Alternatives && n.children.size() > 1 &&
          firstLeaf(n.children.front())->line != firstLeaf(n.children.back())->line) {
        choice = &n;
        return;
      }
      for (const auto& c : n.children) find(c);
    };
    for (int def : *d) find(s.file.rules[def].body);
    if (!choice) {
      const GrammarNode* leaf = firstLeaf(s.file.rules[d->front()].body);
      if (leaf->line > 0) at = NameAt{r.name, leaf->line, leaf->column};
      return at;
    }
    const CalleeGraphs callee = [&](int rule) -> const WordGraph* { return &m_rules[rule].graph; };
    for (const GrammarNode& alt : choice->children) {
      Builder b(*this, f, true);
      const int start = b.nfa.AddState();
      b.nfa.SetStart(start);
      const int end = b.Node(alt, start);
      if (end < 0) continue;
      b.nfa.SetFinal(end);
      if (!AcceptsThroughCalls(Optimize(b.nfa), words, callee)) continue;
      const GrammarNode* leaf = firstLeaf(alt);
      if (leaf->line > 0) return NameAt{r.name, leaf->line, leaf->column};
    }
    return at;
  }

  void Collect() {
    for (const auto& s : m_src)
      if (s.check) m_res.diagnostics.insert(m_res.diagnostics.end(), s.diags.begin(), s.diags.end());
    // Only the words the graphs use need a pronunciation.
    std::vector<uint8_t> used(m_res.words.size(), 0);
    for (const auto& g : m_res.grammars)
      for (const auto& a : g.graph.Arcs())
        if (a.label >= 0) used[a.label] = 1;
    for (size_t i = 0; i < used.size(); ++i)
      if (!used[i]) m_res.phones.remove(m_res.words[i]);
  }

  // Keeps the list grammars compiled now, with the warnings found in them.
  void SaveCaches() {
    if (m_opt.cacheDir.isEmpty()) return;
    std::vector<QByteArray> keep;
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      Source& s = m_src[f];
      keep.push_back(s.key);
      if (s.cached || !s.check || !s.IsList()) continue;
      if (std::any_of(s.diags.begin(), s.diags.end(), [](const Diagnostic& d) { return d.IsError(); })) continue;
      CachedList list;
      list.key = s.key;
      QSet<int> deps;
      std::vector<int> todo(s.dependsOn.begin(), s.dependsOn.end());
      while (!todo.empty()) {
        const int d = todo.back();
        todo.pop_back();
        if (deps.contains(d) || d == f) continue;
        deps.insert(d);
        for (int more : m_src[d].dependsOn) todo.push_back(more);
      }
      for (int d : deps) list.dependencies.push_back(m_src[d].key);
      for (const auto& e : s.file.exports) list.exports << e.name;
      for (const auto& i : s.file.imports) list.imports << i.name;
      QHash<int, int> local;
      for (const auto& e : s.file.exports) {
        if (!s.defs.contains(Key(e.name))) continue;
        const int id = RuleId(f, Key(e.name), e.name);
        CachedList::Rule rule;
        rule.name = m_rules[id].name;
        if (!m_rules[id].dead) {
          const WordGraph& clean = Expanded(id);
          for (int i = 0; i < clean.StateCount(); ++i) {
            rule.graph.AddState();
            if (clean.IsFinal(i)) rule.graph.SetFinal(i);
          }
          rule.graph.SetStart(clean.Start());
          for (const auto& a : clean.Arcs()) {
            int label = a.label;
            if (label >= 0) {
              auto it = local.find(label);
              if (it == local.end()) {
                it = local.insert(label, static_cast<int>(list.words.size()));
                list.words.push_back(m_res.words[label]);
                list.phones.push_back(m_res.phones.value(m_res.words[label]));
              }
              label = *it;
            }
            rule.graph.AddArc(a.from, label, a.to);
          }
        } else {
          rule.graph.SetStart(rule.graph.AddState());
        }
        list.rules.push_back(std::move(rule));
      }
      for (const auto& d : s.diags) list.diagnostics.push_back(d);
      SaveCachedList(m_opt.cacheDir, list);
    }
    PruneListCache(m_opt.cacheDir, keep, 8);
  }

  const CompileOptions& m_opt;
  Pronouncer& m_pron;
  CompileResult m_res;
  std::vector<Source> m_src;
  QHash<QString, int> m_exporter;  // upper-case rule name -> source exporting it
  std::vector<Rule> m_rules;
  TextMap<int> m_ruleIds;
  TextMap<int> m_wordIds;
  TextMap<std::vector<int>> m_tokenWords;
  std::vector<int> m_path;
  QSet<QString> m_loopsReported;
  std::vector<std::thread> m_releasing;
  std::unique_ptr<DerivedAhead> m_ahead;
};

std::vector<SourceText> ReadFolder(const CompileOptions& options, CompileResult& failure) {
  std::vector<SourceText> out;
  QDir dir(options.grammarsDir);
  const QStringList names = dir.entryList({"*.bnf"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  bool haveLists = false;
  QStringList paths;
  for (const QString& n : names) {
    paths << dir.filePath(n);
    haveLists = haveLists || n.compare("Generic Lists.bnf", Qt::CaseInsensitive) == 0;
  }
  if (!haveLists && !options.fallbackListsFile.isEmpty() && QFileInfo::exists(options.fallbackListsFile))
    paths << options.fallbackListsFile;
  for (const QString& path : paths) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
      failure.diagnostics.push_back({QFileInfo(path).fileName(), 0, 0, Severity::Error, "cannot read the file"});
      continue;
    }
    out.push_back({QFileInfo(path).fileName(), f.readAll()});
  }
  if (paths.isEmpty())
    failure.diagnostics.push_back(
        {QDir(options.grammarsDir).dirName(), 0, 0, Severity::Error, "no grammar files (*.bnf) to compile"});
  return out;
}

}  // namespace

CompileResult CompileSources(const std::vector<SourceText>& sources, const CompileOptions& options,
                             Pronouncer& pronouncer) {
  return Compiler(options, pronouncer).Run(sources);
}

CompileResult CompileGrammars(const CompileOptions& options, Pronouncer& pronouncer) {
  CompileResult failure;
  std::vector<SourceText> sources = ReadFolder(options, failure);
  CompileResult result = Compiler(options, pronouncer).Run(std::move(sources));
  result.diagnostics.insert(result.diagnostics.begin(), failure.diagnostics.begin(), failure.diagnostics.end());
  return result;
}

QString CompiledDir(const QString& grammarsDir) { return grammarsDir + "/Compiled"; }
QString CompileLogPath(const QString& grammarsDir) { return grammarsDir + "/Compile.log"; }

FsgShape ShapeForFsg(const WordGraph& graph) {
  int finals = 0, lastFinal = -1;
  for (int s = 0; s < graph.StateCount(); ++s)
    if (graph.IsFinal(s)) {
      ++finals;
      lastFinal = s;
    }
  FsgShape shape;
  shape.ownFinal = finals == 1 && graph.Out(lastFinal).size() == 0;
  shape.states = std::max(1, graph.StateCount() + (shape.ownFinal ? 0 : 1));
  shape.final = shape.ownFinal ? lastFinal : shape.states - 1;
  return shape;
}

QByteArray FsgText(const WordGraph& graph, const std::vector<QString>& words, const QString& name) {
  const FsgShape shape = ShapeForFsg(graph);
  const bool ownFinal = shape.ownFinal;
  const int states = shape.states, final = shape.final;
  QByteArray out;
  out.reserve(static_cast<qsizetype>(graph.ArcCount()) * 24 + 128);
  out += "FSG_BEGIN " + name.toUtf8() + "\nNUM_STATES " + QByteArray::number(states) + "\nSTART_STATE " +
         QByteArray::number(graph.Start()) + "\nFINAL_STATE " + QByteArray::number(final) + "\n";
  auto arc = [&](int from, int to, const QString* word) {
    out += "TRANSITION ";
    out += QByteArray::number(from);
    out += ' ';
    out += QByteArray::number(to);
    out += ' ';
    out += "1";
    if (word) {
      out += ' ';
      out += word->toUtf8();
    }
    out += '\n';
  };
  for (const auto& a : graph.Arcs()) arc(a.from, a.to, a.label >= 0 ? &words[a.label] : nullptr);
  if (!ownFinal)
    for (int s = 0; s < graph.StateCount(); ++s)
      if (graph.IsFinal(s)) arc(s, final, nullptr);
  out += "FSG_END\n";
  return out;
}

QByteArray DictionaryText(const QHash<QString, QStringList>& phones, const QStringList& words) {
  QByteArray out;
  for (const QString& w : words) {
    const QStringList p = phones.value(w);
    for (int i = 0; i < p.size(); ++i) {
      out += w.toUtf8();
      if (i > 0) out += "(" + QByteArray::number(i + 1) + ")";
      out += ' ';
      out += p[i].toUtf8();
      out += '\n';
    }
  }
  return out;
}

bool WriteCompileOutput(const QString& grammarsDir, const CompileResult& result, bool graphs, QString* error) {
  QByteArray text;
  for (const auto& d : result.diagnostics) text += d.ToString().toUtf8() + "\n";
  base::FileResult written = base::WriteFileAtomic(CompileLogPath(grammarsDir), text);
  if (result.Ok() && graphs) {
    QDir out(CompiledDir(grammarsDir));
    if (!out.exists() && !QDir().mkpath(out.path()))
      written = base::FileResult::Failed(out.path(), "the folder could not be created");
    // Every new file is complete on disk before any is put in place, and an
    // old one goes only once the new set stands: a failed write leaves the
    // previous compiled grammars as they were.
    base::FileBatch batch;
    QSet<QString> fresh;
    for (const auto& g : result.grammars) {
      batch.Add(out.filePath(g.baseName + ".fsg"), FsgText(g.graph, result.words, g.baseName));
      fresh.insert(g.baseName + ".fsg");
    }
    QStringList words = result.phones.keys();
    words.sort();
    batch.Add(out.filePath(kAddedWordsFile), DictionaryText(result.phones, words));
    if (written) {
      written = batch.Commit();
      if (written)
        for (const QString& old : out.entryList({"*.fsg", "*.gram"}, QDir::Files))
          if (!fresh.contains(old)) out.remove(old);
    }
  }
  if (!written && error) *error = written.error();
  return static_cast<bool>(written);
}

}  // namespace qv::speech
