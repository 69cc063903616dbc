#include "core/grammar/NavaidGrammar.h"

#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/GrammarWriter.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "data/NavaidLists.h"

namespace qv::grammar {
namespace {

const QString kPleaseStandby = QStringLiteral("Please standby...");

QString ProgressMessage(bool test, const QString& compileText, const QString& testText) {
  return test ? testText : shell::JoinLines({compileText, kPleaseStandby});
}

// About twenty updates per list, the first past `start`: the dialog is only
// repainted at the thresholds (every twentieth of the last index), never per
// entry. Thresholds are compared in integers so that the last one is met
// exactly.
class Progress {
 public:
  Progress(shell::Dialogs& dialogs, QString message, int start, qsizetype lastIndex)
      : m_dialogs(dialogs), m_message(std::move(message)), m_value(start), m_lastIndex(lastIndex) {}
  void Written(qsizetype index) {
    if (index * 20 < m_lastIndex * m_next) return;
    ++m_value;
    ++m_next;
    m_dialogs.ProgressUpdate(m_message, m_value);
  }

 private:
  shell::Dialogs& m_dialogs;
  QString m_message;
  int m_value;
  qsizetype m_lastIndex;
  qsizetype m_next = 1;  // number of the next threshold
};

QString Quoted(const QString& text) { return u'"' + text + u'"'; }

bool IsLetter(QChar c) { return c >= u'A' && c <= u'Z'; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The common frame of the three files around their entry lines.
template <typename Records, typename EntryFn>
QString BuildFile(const QString& grammarName, const QStringList& imports, const QString& rule, const Records& records,
                  Progress& progress, EntryFn entry) {
  GrammarText g;
  g.Line("!grammar " + Quoted(grammarName) + ";");
  g.Line();
  for (const QString& line : imports) g.Line(line);
  g.Line("!export<" + rule + ">;");
  g.Line();
  g.Line();
  g.Line("<" + rule + ">:");
  g.Line("\t(");
  // The entry lines are written into one text sized up front: a list has
  // tens of thousands.
  QString lines;
  lines.reserve(static_cast<qsizetype>(records.size()) * 112);
  for (qsizetype i = 0; i < static_cast<qsizetype>(records.size()); ++i) {
    if (i > 0) lines += QLatin1String("\r\n");
    lines += i == 0 ? QLatin1String("\t") : QLatin1String("\t| ");
    entry(records[i], lines);
    progress.Written(i);
  }
  if (!records.empty()) g.Line(lines);
  g.Line("\t)");
  g.Line(";");
  g.Line();
  return g.Text();
}

QStringList PhoneticImports() {
  QStringList lines;
  for (char c = 'A'; c <= 'Z'; ++c) lines << QStringLiteral("!import<PHONETIC_%1>;").arg(QChar(c));
  return lines;
}

QString TargetPath(const shell::Context& ctx, bool test, const QString& file) {
  return (test ? TestGrammarsDir(ctx.state.installDir) : GrammarsDir(ctx.state.installDir)) + u'/' + file;
}

}  // namespace

namespace {

// The pieces below are appended to the text being written; each piece's
// trailing blanks are cut as it ends (none begins with one).
void CutBlanksFrom(QString& out, qsizetype mark) {
  qsizetype end = out.size();
  while (end > mark && out[end - 1] == u' ') --end;
  out.truncate(end);
}

void AppendTrimmed(QString& out, QStringView text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  out += text.mid(begin, end - begin);
}

void AppendLetters(QString& out, QStringView ident) {
  const qsizetype mark = out.size();
  for (QChar c : ident) {
    out += c;
    out += u' ';
  }
  CutBlanksFrom(out, mark);
}

// An upper-cased identifier said either way: by the phonetic alphabet (and
// digits, when `digits`) or letter by letter; then the closing ")".
void AppendSpellings(QString& out, const QString& text, bool digits) {
  const qsizetype mark = out.size();
  for (QChar c : text) {
    if (IsLetter(c)) out += QLatin1String("<PHONETIC_");
    else if (digits && IsDigit(c)) out += QLatin1String("<NUM_");
    else continue;
    out += c;
    out += QLatin1String("> ");
  }
  CutBlanksFrom(out, mark);
  out += QLatin1String(" | ");
  AppendLetters(out, text);
  out += u')';
}

void AppendSpelledIdentifier(QString& out, const data::NavaidRecord& navaid) {
  out += u'(';
  AppendSpellings(out, TrimSpaces(navaid.ident).toUpper(), false);
}

void AppendSpelledIls(QString& out, const data::IlsRecord& ils) {
  const QString designator = TrimSpaces(ils.runway).toUpper();
  const qsizetype mark = out.size();
  for (qsizetype i = 0; i < designator.size(); ++i) {
    const QChar c = designator[i];
    if (c == u'C') {
      out += QLatin1String("(center|senner|sunner) ");
    } else if (c == u'L') {
      out += QLatin1String("(left|lef)  ");
    } else if (c == u'R') {
      out += QLatin1String("(right|ry) ");
    } else if (c == u'0' && i == 0) {
      out += QLatin1String("!optional(<NUM_0>) ");  // "zero nine" or just "nine"
    } else if (IsDigit(c)) {
      out += QLatin1String("<NUM_");
      out += c;
      out += QLatin1String("> ");
    }
  }
  CutBlanksFrom(out, mark);
  out += QLatin1String("(I L S|i'll less|i elle-ess|tileless) !optional(at) (");
  AppendSpellings(out, TrimSpaces(ils.airportIdent).toUpper(), true);
}

}  // namespace

QString SpellIdentifier(const data::NavaidRecord& navaid) {
  QString out;
  AppendSpelledIdentifier(out, navaid);
  return out;
}

QString SpellIls(const data::IlsRecord& ils) {
  QString out;
  AppendSpelledIls(out, ils);
  return out;
}

QString BuildNavaidIdGrammar(const std::vector<data::NavaidRecord>& navaids, shell::Dialogs& dialogs, bool test) {
  Progress progress(dialogs,
                    ProgressMessage(test,
                                    "Saving and compiling your grammar files.  This process will take a few "
                                    "minutes. (Navaid IDs)",
                                    "Writing Grammar Files (Navaid IDs)"),
                    10, static_cast<qsizetype>(navaids.size()) - 1);
  return BuildFile("NAVAID_IDS", PhoneticImports(), "NAV_ID", navaids, progress,
                   [](const data::NavaidRecord& n, QString& out) {
                     out += QLatin1String("!ignore");
                     AppendSpelledIdentifier(out, n);
                     out += QLatin1String("!action(\"");
                     AppendTrimmed(out, n.actionText);
                     out += QLatin1String("\")");
                   });
}

QString BuildNavaidNameGrammar(const std::vector<data::NavaidRecord>& navaids, shell::Dialogs& dialogs, bool test) {
  Progress progress(dialogs,
                    ProgressMessage(test,
                                    "Saving and compiling your grammar files.  This proccess will take a few "
                                    "minutes. (Navaid Names)",
                                    "Writing Grammar Files (Navaid Names)"),
                    30, static_cast<qsizetype>(navaids.size()) - 1);
  return BuildFile("NAVAID_NAMES", {}, "NAV_NAME", navaids, progress, [](const data::NavaidRecord& n, QString& out) {
    out += QLatin1String("!ignore(");
    out += TrimSpaces(n.name).toLower();
    out += QLatin1String(")!action(\"");
    AppendTrimmed(out, n.actionText);
    out += QLatin1String("\")");
  });
}

QString BuildIlsGrammar(const std::vector<data::IlsRecord>& ils, shell::Dialogs& dialogs, bool test) {
  Progress progress(dialogs,
                    ProgressMessage(test,
                                    "Saving and compiling your grammar files.  This proccess will take a few "
                                    "minutes. (Navaid ILS's)",
                                    "Writing Grammar Files (Navaid ILS's)"),
                    50, static_cast<qsizetype>(ils.size()) - 1);
  QStringList imports;
  for (int d = 0; d <= 9; ++d) imports << QStringLiteral("!import<NUM_%1>;").arg(d);
  imports << QStringLiteral("!import<WORD_ON>;");
  imports += PhoneticImports();
  return BuildFile("NAVAID_ILS", imports, "RWY_APT_ID", ils, progress, [](const data::IlsRecord& r, QString& out) {
    out += QLatin1String("!ignore(");
    AppendSpelledIls(out, r);
    out += QLatin1String(")!action(\"");
    AppendTrimmed(out, r.actionText);
    out += u':';
    out += QString::number(r.actionNumber);
    out += QLatin1String("\")");
  });
}

int NavaidFirstEntryLine(const QString& fileName) {
  shell::SilentDialogs silent;
  QString text;
  if (fileName.compare(u"Navaid_IDs.bnf", Qt::CaseInsensitive) == 0)
    text = BuildNavaidIdGrammar({}, silent, false);
  else if (fileName.compare(u"Navaid_Names.bnf", Qt::CaseInsensitive) == 0)
    text = BuildNavaidNameGrammar({}, silent, false);
  else if (fileName.compare(u"Navaid_ILSs.bnf", Qt::CaseInsensitive) == 0)
    text = BuildIlsGrammar({}, silent, false);
  else
    return 0;
  // The entries follow the line that opens the rule's group.
  const qsizetype open = text.indexOf(QStringLiteral("\r\n\t(\r\n"));
  return open < 0 ? 0 : static_cast<int>(text.left(open).count(u'\n')) + 3;
}

int16_t WriteNavaidIdGrammar(shell::Context& ctx, bool test) {
  return WriteGrammarFile(ctx, BuildNavaidIdGrammar(ctx.state.navaidList, ctx.dialogs, test),
                          TargetPath(ctx, test, QStringLiteral("Navaid_IDs.bnf")));
}

int16_t WriteNavaidNameGrammar(shell::Context& ctx, bool test) {
  return WriteGrammarFile(ctx, BuildNavaidNameGrammar(ctx.state.navaidList, ctx.dialogs, test),
                          TargetPath(ctx, test, QStringLiteral("Navaid_Names.bnf")));
}

int16_t WriteIlsGrammar(shell::Context& ctx, bool test) {
  return WriteGrammarFile(ctx, BuildIlsGrammar(ctx.state.ilsList, ctx.dialogs, test),
                          TargetPath(ctx, test, QStringLiteral("Navaid_ILSs.bnf")));
}

int16_t WriteNavaidGrammars(shell::Context& ctx, bool test) {
  if (WriteNavaidIdGrammar(ctx, test) != 0) return 1;
  if (WriteNavaidNameGrammar(ctx, test) != 0) return 1;
  return WriteIlsGrammar(ctx, test) != 0 ? 1 : 0;
}

}  // namespace qv::grammar
