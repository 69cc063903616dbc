#include "speech/GrammarCompiler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <deque>

#include "base/FileIo.h"
#include "speech/Pronouncer.h"

namespace qv::speech {

namespace {

struct Source {
  GrammarFile file;
  QHash<QString, int> ruleIndex;  // rule name -> index in file.rules (first definition)
  QHash<QString, int> importLine;
};

using RuleKey = std::pair<int, QString>;  // (file index, rule name)

class Compiler {
 public:
  Compiler(const CompileOptions& o, Pronouncer& p) : m_opt(o), m_pron(p) {}

  CompileResult Run() {
    if (!ReadAll()) return std::move(m_res);
    IndexRules();
    ChooseFilesToCheck();
    CheckExportsAndImports();
    CheckReferences();
    CheckRecursion();
    CheckWords();
    if (m_res.diagnostics.empty()) Translate();
    return std::move(m_res);
  }

 private:
  void Report(int file, int line, const QString& message) {
    m_res.diagnostics.push_back({m_src[file].file.fileName, line, message});
  }

  bool ReadAll() {
    QDir dir(m_opt.grammarsDir);
    QStringList names = dir.entryList({"*.bnf"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    bool haveLists = false;
    for (const QString& n : names) {
      paths << dir.filePath(n);
      haveLists = haveLists || n.compare("Generic Lists.bnf", Qt::CaseInsensitive) == 0;
    }
    if (!haveLists && !m_opt.fallbackListsFile.isEmpty() && QFileInfo::exists(m_opt.fallbackListsFile))
      paths << m_opt.fallbackListsFile;
    if (paths.isEmpty()) {
      m_res.diagnostics.push_back({QDir(m_opt.grammarsDir).dirName(), 0, "no grammar files (*.bnf) to compile"});
      return false;
    }
    for (const QString& path : paths) {
      QString text;
      const QString name = QFileInfo(path).fileName();
      std::vector<Diagnostic> diags;
      if (!ReadGrammarText(path, text)) {
        m_res.diagnostics.push_back({name, 0, "cannot read the file"});
        continue;
      }
      Source s;
      s.file = ParseGrammar(text, name, diags);
      m_parseDiags.push_back(std::move(diags));
      m_src.push_back(std::move(s));
    }
    m_res.filesRead = static_cast<int>(m_src.size());
    return true;
  }

  void IndexRules() {
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      Source& s = m_src[f];
      for (int r = 0; r < static_cast<int>(s.file.rules.size()); ++r) {
        const auto& rule = s.file.rules[r];
        if (!s.ruleIndex.contains(rule.name)) s.ruleIndex.insert(rule.name, r);
      }
      for (const auto& imp : s.file.imports)
        if (!s.importLine.contains(imp.name)) s.importLine.insert(imp.name, imp.line);
      for (const auto& ex : s.file.exports) {
        if (!s.ruleIndex.contains(ex.name)) continue;
        if (!m_exporter.contains(ex.name)) m_exporter.insert(ex.name, f);
      }
    }
  }

  // The files whose problems count: all of them, or the one file asked for
  // and the files that export what it imports.
  void ChooseFilesToCheck() {
    const int n = static_cast<int>(m_src.size());
    m_check.assign(n, m_opt.onlyFile.isEmpty());
    if (!m_opt.onlyFile.isEmpty()) {
      std::deque<int> todo;
      for (int f = 0; f < n; ++f)
        if (m_src[f].file.fileName.compare(m_opt.onlyFile, Qt::CaseInsensitive) == 0) todo.push_back(f);
      if (todo.empty()) m_res.diagnostics.push_back({m_opt.onlyFile, 0, "the grammar file is missing"});
      while (!todo.empty()) {
        const int f = todo.front();
        todo.pop_front();
        if (m_check[f]) continue;
        m_check[f] = true;
        for (const auto& imp : m_src[f].file.imports)
          if (auto it = m_exporter.find(imp.name); it != m_exporter.end()) todo.push_back(*it);
      }
    }
    for (int f = 0; f < n; ++f)
      if (m_check[f]) m_res.diagnostics.insert(m_res.diagnostics.end(), m_parseDiags[f].begin(), m_parseDiags[f].end());
  }

  void CheckExportsAndImports() {
    QHash<QString, int> firstExporter;
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      const Source& s = m_src[f];
      for (const auto& ex : s.file.exports) {
        if (!s.ruleIndex.contains(ex.name)) {
          if (m_check[f]) Report(f, ex.line, "exported rule <" + ex.name + "> is not defined in this file");
          continue;
        }
        auto it = firstExporter.find(ex.name);
        if (it == firstExporter.end()) {
          firstExporter.insert(ex.name, f);
        } else if (*it != f && (m_check[f] || m_check[*it])) {
          Report(f, ex.line, "rule <" + ex.name + "> is also exported by " + m_src[*it].file.fileName);
        }
      }
      if (!m_check[f]) continue;
      QHash<QString, int> seen;
      for (const auto& r : s.file.rules) {
        if (auto it = seen.find(r.name); it != seen.end()) {
          Report(f, r.line, "duplicate rule <" + r.name + "> (first defined at line " + QString::number(*it) + ")");
        } else {
          seen.insert(r.name, r.line);
        }
        if (s.importLine.contains(r.name))
          Report(f, r.line, "rule <" + r.name + "> is both imported and defined in this file");
      }
      for (const auto& imp : s.file.imports)
        if (!m_exporter.contains(imp.name))
          Report(f, imp.line, "imported rule <" + imp.name + "> is not exported by any grammar file");
    }
  }

  // Where a reference made in file f leads, if anywhere.
  std::optional<RuleKey> Resolve(int f, const QString& name) const {
    if (m_src[f].ruleIndex.contains(name)) return RuleKey{f, name};
    if (m_src[f].importLine.contains(name))
      if (auto it = m_exporter.find(name); it != m_exporter.end()) return RuleKey{*it, name};
    return std::nullopt;
  }

  const RuleDefinition& Rule(const RuleKey& k) const {
    const Source& s = m_src[k.first];
    return s.file.rules[s.ruleIndex.value(k.second)];
  }

  void CheckReferences() {
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      if (!m_check[f]) continue;
      const Source& s = m_src[f];
      auto check = [&](const QString& name, int line, const QString& what) {
        if (s.ruleIndex.contains(name) || s.importLine.contains(name)) return;
        Report(f, line, what + " <" + name + "> is not defined in this file nor imported");
      };
      for (const auto& st : s.file.starts) check(st.name, st.line, "start rule");
      for (const auto& a : s.file.activatable) check(a.name, a.line, "activatable rule");
      for (const auto& r : s.file.rules) {
        std::vector<const GrammarNode*> refs;
        CollectRefs(r.body, refs);
        for (const GrammarNode* ref : refs) check(ref->text, ref->line, "reference to rule");
        std::vector<const GrammarNode*> words;
        CollectWords(r.body, words);
        if (words.empty() && refs.empty()) Report(f, r.line, "rule <" + r.name + "> has nothing to say");
      }
    }
  }

  void CheckRecursion() {
    // Depth-first walk over every rule of the checked files; a reference back
    // onto the walk's own path is a cycle, reported once at the rule where it
    // closes.
    QHash<QString, int> state;  // "f|name" -> 1 on path, 2 done
    std::vector<RuleKey> path;
    QSet<QString> reported;
    std::function<void(const RuleKey&)> visit = [&](const RuleKey& k) {
      const QString id = QString::number(k.first) + "|" + k.second;
      state.insert(id, 1);
      path.push_back(k);
      std::vector<const GrammarNode*> refs;
      CollectRefs(Rule(k).body, refs);
      for (const GrammarNode* ref : refs) {
        const auto to = Resolve(k.first, ref->text);
        if (!to) continue;
        const QString toId = QString::number(to->first) + "|" + to->second;
        const int st = state.value(toId, 0);
        if (st == 1) {
          if (reported.contains(toId)) continue;
          reported.insert(toId);
          QStringList chain;
          auto it = std::find(path.begin(), path.end(), *to);
          for (; it != path.end(); ++it) chain << "<" + it->second + ">";
          chain << "<" + to->second + ">";
          const RuleDefinition& def = Rule(*to);
          m_res.diagnostics.push_back({m_src[to->first].file.fileName, def.line,
                                       "rule <" + to->second + "> is recursive: " + chain.join(" -> ")});
        } else if (st == 0) {
          visit(*to);
        }
      }
      path.pop_back();
      state.insert(id, 2);
    };
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      if (!m_check[f]) continue;
      for (const auto& r : m_src[f].file.rules) {
        const RuleKey k{f, r.name};
        if (m_src[f].ruleIndex.value(r.name) < 0) continue;
        if (!state.contains(QString::number(f) + "|" + r.name)) visit(k);
      }
    }
  }

  void CheckWords() {
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      if (!m_check[f]) continue;
      QSet<QString> reported;
      for (const auto& r : m_src[f].file.rules) {
        std::vector<const GrammarNode*> words;
        CollectWords(r.body, words);
        for (const GrammarNode* w : words) {
          const QString key = Pronouncer::Normalise(w->text);
          if (m_pron.InDictionary(key) || m_res.addedWords.contains(key)) continue;
          const QString phones = m_pron.Derive(key, w->text);
          if (!phones.isEmpty()) {
            m_res.addedWords.insert(key, phones);
          } else if (!reported.contains(key)) {
            reported.insert(key);
            Report(f, w->line, "the recogniser cannot pronounce the word \"" + w->text + "\"");
          }
        }
      }
    }
  }

  // --- translation into the recogniser's grammar format --------------------

  QString RuleId(const RuleKey& k) {
    const QString key = QString::number(k.first) + "|" + k.second;
    if (auto it = m_ids.find(key); it != m_ids.end()) return *it;
    QString clean;
    for (QChar c : k.second) clean += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QChar(u'_');
    QString id = QString("f%1_%2").arg(k.first).arg(clean);
    for (int n = 2; m_usedIds.contains(id); ++n) id = QString("f%1_%2_%3").arg(k.first).arg(clean).arg(n);
    m_usedIds.insert(id);
    m_ids.insert(key, id);
    return id;
  }

  static QString Tag(const QString& action) {
    QString t = action;
    t.replace(u'}', u')');
    t.replace(u'{', u'(');
    t.replace(u'\\', u'/');
    return "{" + t + "}";
  }

  QString Emit(int f, const GrammarNode& n, std::deque<RuleKey>& todo) {
    using K = GrammarNode::Kind;
    switch (n.kind) {
      case K::Word: return Pronouncer::Normalise(n.text);
      case K::Ref: {
        const RuleKey to = *Resolve(f, n.text);
        todo.push_back(to);
        return "<" + RuleId(to) + ">";
      }
      case K::Optional: return "[ " + Emit(f, n.children.front(), todo) + " ]";
      case K::Alternatives: {
        QStringList parts;
        for (const auto& c : n.children) parts << Emit(f, c, todo);
        return "( " + parts.join(" | ") + " )";
      }
      case K::Sequence: {
        QStringList parts;
        for (const auto& c : n.children) parts << Emit(f, c, todo);
        QString s = parts.isEmpty() ? QString("<NULL>") : parts.join(u' ');
        if (!n.actions.isEmpty()) {
          s = "( " + s + " )";
          for (const auto& a : n.actions) s += " " + Tag(a);
        }
        return s;
      }
    }
    return {};
  }

  void Translate() {
    for (int f = 0; f < static_cast<int>(m_src.size()); ++f) {
      if (!m_check[f]) continue;
      if (!m_opt.onlyFile.isEmpty() && m_src[f].file.fileName.compare(m_opt.onlyFile, Qt::CaseInsensitive) != 0)
        continue;
      const GrammarFile& g = m_src[f].file;
      QStringList tops;
      std::deque<RuleKey> todo;
      QSet<QString> topSeen;
      for (const auto* list : {&g.starts, &g.activatable})
        for (const auto& s : *list) {
          if (topSeen.contains(s.name)) continue;
          topSeen.insert(s.name);
          const RuleKey k = *Resolve(f, s.name);
          todo.push_back(k);
          tops << "<" + RuleId(k) + ">";
        }
      if (tops.isEmpty()) continue;
      QString out = "#JSGF V1.0;\n\ngrammar qv;\n\npublic <" + QString(kTopRule) + "> = " + tops.join(" | ") + ";\n\n";
      QSet<QString> emitted;
      while (!todo.empty()) {
        const RuleKey k = todo.front();
        todo.pop_front();
        const QString id = RuleId(k);
        if (emitted.contains(id)) continue;
        emitted.insert(id);
        out += "<" + id + "> = " + Emit(k.first, Rule(k).body, todo) + ";\n";
      }
      CompiledGrammar cg;
      cg.fileName = g.fileName;
      cg.baseName = QFileInfo(g.fileName).completeBaseName();
      cg.jsgf = out.toUtf8();
      if (m_opt.validate) {
        const QString err = m_opt.validate(cg.jsgf);
        if (!err.isEmpty()) {
          Report(f, 1, "the recogniser cannot load the compiled grammar: " + err);
          continue;
        }
      }
      m_res.grammars.push_back(std::move(cg));
    }
  }

  const CompileOptions& m_opt;
  Pronouncer& m_pron;
  CompileResult m_res;
  std::vector<Source> m_src;
  std::vector<std::vector<Diagnostic>> m_parseDiags;
  std::vector<bool> m_check;
  QHash<QString, int> m_exporter;  // rule name -> file that exports (and defines) it
  QHash<QString, QString> m_ids;
  QSet<QString> m_usedIds;
};

}  // namespace

CompileResult CompileGrammars(const CompileOptions& options, Pronouncer& pronouncer) {
  return Compiler(options, pronouncer).Run();
}

QString CompiledDir(const QString& grammarsDir) { return grammarsDir + "/Compiled"; }
QString CompileLogPath(const QString& grammarsDir) { return grammarsDir + "/Compile.log"; }

bool WriteCompileOutput(const QString& grammarsDir, const CompileResult& result, QString* error) {
  QByteArray text;
  for (const auto& d : result.diagnostics) text += d.ToString().toUtf8() + "\n";
  base::FileResult written = base::WriteFileAtomic(CompileLogPath(grammarsDir), text);
  if (result.Ok()) {
    QDir out(CompiledDir(grammarsDir));
    if (!out.exists() && !QDir().mkpath(out.path()))
      written = base::FileResult::Failed(out.path(), "the folder could not be created");
    // Every new file is complete on disk before any is put in place, and an
    // old one goes only once the new set stands: a failed write leaves the
    // previous compiled grammars as they were.
    base::FileBatch batch;
    QSet<QString> fresh;
    for (const auto& g : result.grammars) {
      batch.Add(out.filePath(g.baseName + ".gram"), g.jsgf);
      fresh.insert(g.baseName + ".gram");
    }
    QByteArray dict;
    for (auto it = result.addedWords.begin(); it != result.addedWords.end(); ++it)
      dict += (it.key() + " " + it.value() + "\n").toUtf8();
    batch.Add(out.filePath(kAddedWordsFile), dict);
    if (written) {
      written = batch.Commit();
      if (written)
        for (const QString& old : out.entryList({"*.gram"}, QDir::Files))
          if (!fresh.contains(old)) out.remove(old);
    }
  }
  if (!written && error) *error = written.error();
  return static_cast<bool>(written);
}

}  // namespace qv::speech
