#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace qv::data {
struct SettingsState;
}
namespace qv::shell {
struct AppState;
struct Context;
}  // namespace qv::shell

namespace qv::grammar {

// What a line of a generated grammar file was made from: a command (its
// start line and rule), or one of its phrases, or a checklist response,
// written after `prefix` characters of layout. Compile problems are traced
// back through it.
struct LineOrigin {
  int command = -1;  // index in the command list
  int phrase = -1;   // index in the command's phrases
  int prefix = 0;
  int response = -1;  // index in the checklist responses
};

// Grammar source text: every line ends with CR LF. With `origins` set, what
// each line (as a reader counts them: a line feed inside a name makes two)
// was made from is noted there.
class GrammarText {
 public:
  explicit GrammarText(std::vector<LineOrigin>* origins = nullptr) : m_origins(origins) {}
  void Line(const QString& line = QString(), LineOrigin origin = {}) {
    m_text += line;
    m_text += QStringLiteral("\r\n");
    if (m_origins) m_origins->insert(m_origins->end(), 1 + line.count(u'\n'), origin);
  }
  const QString& Text() const { return m_text; }

 private:
  QString m_text;
  std::vector<LineOrigin>* m_origins;
};

inline const QString kGenericListsFile = QStringLiteral("Generic Lists.bnf");

QString GrammarsDir(const QString& installDir);      // <install>/Grammars
QString TestGrammarsDir(const QString& installDir);  // <install>/Grammars/Test

// The bytes of a grammar file: FF FE, then the text in UTF-16 little-endian.
QByteArray GrammarFileBytes(const QString& text);

// Writes the file anew, replacing the old one only once complete. A file that
// cannot be written, or a path that leads out of the Grammars folder, is
// reported ("Quorvane Error", with the file and the reason) and the
// application shut down; returns 1 then.
int16_t WriteGrammarFile(shell::Context& ctx, const QString& text, const QString& path);

// The file of a category's grammar: the trimmed category name mapped to a
// safe file name (base::EncodeFileName: ordinary names stay as they are, a
// "/" or ":" or a name of the writer's own files is escaped reversibly), with
// ".bnf".
QString CategoryFileName(const QString& category);

// Copies the shared list file delivered in Data into `dir` unless a copy is
// there already (an existing copy is never replaced). Returns 1 when there is
// still none afterwards: a delivered file that is missing is left to the
// caller to report; a copy that cannot be written is reported as any grammar
// file is, and the application shut down.
int16_t EnsureGenericLists(shell::Context& ctx, const QString& dir);

// The imports every category file (and the test grammar) starts with, from
// "!import<SPD>;" to "!import<FLAP_SETTING>;".
QStringList CategoryImports();
// The imports of the three navaid list rules.
QStringList NavaidImports();

// A stored phrase field (with its padding) in the compiler's notation. With
// `sourceColumns`, the column (1-based) in the phrase each character of the
// result comes from.
QString TranslatePhrase(const QString& storedPhrase, std::vector<int>* sourceColumns = nullptr);

// Event names of the commands that tune a navaid by its spoken identifier,
// name or ILS; they only get a start line while navaid grammars are compiled.
bool IsNavaidEvent(const QString& eventName);

// The text of one category file and of the checklist response file.
QString BuildCategoryGrammar(const shell::AppState& state, const QString& category,
                             std::vector<LineOrigin>* origins = nullptr);
QString BuildChecklistResponseGrammar(const data::SettingsState& settings, std::vector<LineOrigin>* origins = nullptr);

// Writes Grammars/ChecklistResponses.bnf; 0 on success.
int16_t WriteChecklistResponseGrammar(shell::Context& ctx);

// Writes every grammar file of the installation: the shared list file (copied
// once), one file per category, the checklist responses and, when navaid
// grammars are on, the three navaid files. 0 when all were written, else 1.
int16_t WriteAllGrammars(shell::Context& ctx);

}  // namespace qv::grammar
