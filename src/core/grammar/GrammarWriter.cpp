#include "core/grammar/GrammarWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/FileIo.h"
#include "base/PathGuard.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/NavaidGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"

namespace qv::grammar {
namespace {

QString Quoted(const QString& text) { return u'"' + text + u'"'; }

QString UpperKey(const QString& text) { return TrimSpaces(text).toUpper(); }

}  // namespace

QString GrammarsDir(const QString& installDir) { return installDir + QStringLiteral("/Grammars"); }
QString TestGrammarsDir(const QString& installDir) { return installDir + QStringLiteral("/Grammars/Test"); }

QByteArray GrammarFileBytes(const QString& text) {
  QByteArray bytes(2 + text.size() * 2, Qt::Uninitialized);
  bytes[0] = '\xFF';
  bytes[1] = '\xFE';
  char* out = bytes.data() + 2;
  for (QChar c : text) {
    const char16_t u = c.unicode();
    *out++ = static_cast<char>(u & 0xFF);
    *out++ = static_cast<char>(u >> 8);
  }
  return bytes;
}

namespace {

// True when the file holds exactly these bytes already. The navaid grammars
// of the test folder are written for every test but change only with the
// navaid lists: a file that would be written identically is left as it is,
// which spares rewriting (and syncing) megabytes each time.
bool HoldsAlready(const QString& path, const QByteArray& bytes) {
  if (!QFileInfo(path).isFile()) return false;  // never wait on a pipe of that name
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly) || f.size() != bytes.size()) return false;
  return f.readAll() == bytes;
}

int16_t ReportWriteFailure(shell::Context& ctx, const base::FileResult& written) {
  ctx.dialogs.ShowMessage("Quorvane Error",
                          shell::JoinLines({"There was an error in trying to write a grammar file.", written.error(),
                                            "Please contact Veltrane Support", "Please press OK to continue..."}),
                          shell::kIconError, true, false, QString());
  ctx.shutdown.Shutdown();
  return 1;
}

}  // namespace

int16_t WriteGrammarFile(shell::Context& ctx, const QString& text, const QString& path) {
  const QByteArray bytes = GrammarFileBytes(text);
  if (HoldsAlready(path, bytes)) return 0;
  // The file is replaced only once the new one is complete; a link in its
  // place must not carry the write out of the grammar folder.
  const base::FileResult written =
      base::StaysInside(GrammarsDir(ctx.state.installDir), path)
          ? base::WriteFileAtomic(path, bytes)
          : base::FileResult::Failed(path, "it leads outside the Grammars folder, where Quorvane does not write");
  return written ? 0 : ReportWriteFailure(ctx, written);
}

QString CategoryFileName(const QString& category) {
  // The names of the files the writer keeps beside the category files.
  static const QStringList kOwnFiles{QStringLiteral("Generic Lists"), QStringLiteral("ChecklistResponses"),
                                     QStringLiteral("Navaid_IDs"), QStringLiteral("Navaid_Names"),
                                     QStringLiteral("Navaid_ILSs")};
  return base::EncodeFileName(TrimSpaces(category), kOwnFiles) + QStringLiteral(".bnf");
}

int16_t EnsureGenericLists(shell::Context& ctx, const QString& dir) {
  const QString target = dir + u'/' + kGenericListsFile;
  if (QFileInfo::exists(target)) return 0;
  const QString delivered = ctx.state.installDir + QStringLiteral("/Data/") + kGenericListsFile;
  if (!QFileInfo(delivered).isFile()) return 1;  // the caller reports it
  QDir().mkpath(dir);
  constexpr qint64 kLimit = 16 * base::kMiB;  // the delivered list file takes a few kilobytes
  const base::FileResult copied = base::CopyFileAtomic(delivered, target, kLimit);
  return copied ? 0 : ReportWriteFailure(ctx, copied);
}

QStringList CategoryImports() {
  QStringList lines;
  for (const char* rule :
       {"SPD", "ALT", "CRS", "HDG", "MACH", "DEGREES", "N1REF", "VS", "VSNEG", "TRANSPARENCY", "ALT_PRESS", "DH_ALT",
        "EGT_VAL", "ADF_FREQ", "COMM_FREQ", "NAV_FREQ", "XPNDR_CODE", "SIM_RATE"})
    lines << QStringLiteral("!import<%1>;").arg(QLatin1String(rule));
  for (int d = 0; d <= 9; ++d) lines << QStringLiteral("!import<NUM_%1>;").arg(d);
  lines << QStringLiteral("!import<WORD_ON>;");
  for (char c = 'A'; c <= 'Z'; ++c) lines << QStringLiteral("!import<PHONETIC_%1>;").arg(QChar(c));
  lines << QStringLiteral("!import<FLAP_SETTING>;");
  return lines;
}

QStringList NavaidImports() {
  return {QStringLiteral("!import<NAV_ID>;"), QStringLiteral("!import<NAV_NAME>;"),
          QStringLiteral("!import<RWY_APT_ID>;")};
}

QString TranslatePhrase(const QString& storedPhrase, std::vector<int>* sourceColumns) {
  // The stored field is padded, which lets " on " catch a phrase ending in
  // "on"; a phrase held unpadded is padded here the same way. Each step
  // replaces every occurrence left to right, upper and lower case alike,
  // and notes where each character came from.
  QString text = storedPhrase;
  if (text.size() < 256) text += QString(256 - text.size(), u' ');
  QString on;
  std::vector<int> onFrom;
  on.reserve(text.size() + 64);
  onFrom.reserve(static_cast<size_t>(text.size()) + 64);
  for (qsizetype i = 0; i < text.size();) {
    if (QStringView(text).mid(i, 4).compare(u" on ", Qt::CaseInsensitive) == 0) {
      on += QStringLiteral(" <WORD_ON> ");
      onFrom.push_back(static_cast<int>(i));
      onFrom.insert(onFrom.end(), 9, static_cast<int>(i + 1));
      onFrom.push_back(static_cast<int>(i + 3));
      i += 4;
    } else {
      on += text[i];
      onFrom.push_back(static_cast<int>(i++));
    }
  }
  QString out;
  std::vector<int> from;
  out.reserve(on.size() + 64);
  from.reserve(static_cast<size_t>(on.size()) + 64);
  for (qsizetype i = 0; i < on.size(); ++i) {
    const QChar c = on[i];
    const int source = onFrom[static_cast<size_t>(i)];
    if (c == u'(') {
      out += QStringLiteral("!optional(");
      from.insert(from.end(), 10, source);
    } else {
      out += c == u'[' ? QChar(u'(') : c == u']' ? QChar(u')') : c;
      from.push_back(source);
    }
  }
  qsizetype b = 0, e = out.size();
  while (b < e && out[b] == u' ') ++b;
  while (e > b && out[e - 1] == u' ') --e;
  if (sourceColumns) {
    sourceColumns->clear();
    for (qsizetype i = b; i < e; ++i) sourceColumns->push_back(from[static_cast<size_t>(i)] + 1);
  }
  return out.mid(b, e - b);
}

bool IsNavaidEvent(const QString& eventName) {
  const QString key = UpperKey(eventName);
  return key == u"RADIO_NAV1_SELECT_ILS" || key == u"RADIO_NAV1_SELECT_VOR" || key == u"RADIO_NAV2_SELECT_VOR";
}

QString BuildCategoryGrammar(const shell::AppState& state, const QString& category, std::vector<LineOrigin>* origins) {
  const int16_t navaids = state.settings.compileNavaids;
  const QString categoryKey = UpperKey(category);
  std::vector<const data::CommandRecord*> members;
  for (const auto& command : state.commands)
    if (UpperKey(command.category) == categoryKey) members.push_back(&command);
  const auto indexOf = [&](const data::CommandRecord* c) { return static_cast<int>(c - state.commands.data()); };

  GrammarText g(origins);
  g.Line("!grammar " + Quoted(TrimSpaces(category)) + ";");
  g.Line();
  for (const QString& line : CategoryImports()) g.Line(line);
  if (TrimSpaces(category).toLower() == u"radios" && navaids == 1)
    for (const QString& line : NavaidImports()) g.Line(line);
  g.Line();
  for (const auto* command : members) {
    if (navaids != 1 && IsNavaidEvent(command->eventName)) continue;
    g.Line("!start<" + UpperKey(command->eventName) + ">;", {indexOf(command), -1, 0});
  }
  g.Line();
  for (const auto* command : members) {
    if (navaids == 0 && IsNavaidEvent(command->eventName)) continue;
    bool takesList = false;
    for (const QString& phrase : command->grammars) takesList = takesList || phrase.contains(u'<');
    const LineOrigin rule{indexOf(command), -1, 0};
    g.Line("<" + UpperKey(command->eventName) + ">:", rule);
    g.Line("\t!action(" + Quoted("|" + QString::number(command->functionNumber) + (takesList ? ":" : "")) + ")", rule);
    g.Line("\t!ignore(", rule);
    g.Line("\t\t(", rule);
    if (command->grammars.isEmpty()) g.Line("\t\tTest", rule);
    for (qsizetype i = 0; i < command->grammars.size(); ++i)
      g.Line((i == 0 ? "\t\t" : "\t\t| ") + TranslatePhrase(command->grammars[i]),
             {rule.command, static_cast<int>(i), i == 0 ? 2 : 4});
    g.Line("\t\t)", rule);
    g.Line("\t)", rule);
    g.Line(";", rule);
    g.Line();
  }
  return g.Text();
}

QString BuildChecklistResponseGrammar(const data::SettingsState& settings, std::vector<LineOrigin>* origins) {
  GrammarText g(origins);
  g.Line("!grammar " + Quoted("ChecklistResponses") + ";");
  g.Line();
  QString activatable = QStringLiteral("!activatable ");
  for (size_t i = 0; i < settings.checklistResponses.size(); ++i) {
    const QString rule = UpperKey(settings.checklistResponses[i].response);
    g.Line("!start<" + rule + ">;", {-1, -1, 0, static_cast<int>(i)});
    activatable += "<" + rule + "> ";
  }
  g.Line(activatable + ";");
  g.Line();
  for (size_t i = 0; i < settings.checklistResponses.size(); ++i) {
    const auto& response = settings.checklistResponses[i];
    const LineOrigin from{-1, -1, 0, static_cast<int>(i)};
    const QString text = TrimSpaces(response.response);
    g.Line("<" + text.toUpper() + ">:", from);
    g.Line("\t!action(" + Quoted("|" + QString::number(response.functionNumber)) + ")", from);
    g.Line("\t!ignore(", from);
    // "on" alone is easily heard as "awn".
    g.Line("\t\t" + (text == u"On" ? QStringLiteral("(on|awn)") : text), {-1, -1, 2, static_cast<int>(i)});
    g.Line("\t)", from);
    g.Line(";", from);
    g.Line();
  }
  return g.Text();
}

int16_t WriteChecklistResponseGrammar(shell::Context& ctx) {
  return WriteGrammarFile(ctx, BuildChecklistResponseGrammar(ctx.state.settings),
                          GrammarsDir(ctx.state.installDir) + QStringLiteral("/ChecklistResponses.bnf"));
}

int16_t WriteAllGrammars(shell::Context& ctx) {
  const QString dir = GrammarsDir(ctx.state.installDir);
  // Also creates the folder on a fresh installation.
  if (EnsureGenericLists(ctx, dir) != 0) return 1;
  for (const QString& category : ctx.state.categories) {
    const QString path = dir + u'/' + CategoryFileName(category);
    if (WriteGrammarFile(ctx, BuildCategoryGrammar(ctx.state, category), path) != 0) return 1;
  }
  if (WriteChecklistResponseGrammar(ctx) != 0) return 1;
  if (ctx.state.settings.compileNavaids == 1 && WriteNavaidGrammars(ctx, false) != 0) return 1;
  return 0;
}

}  // namespace qv::grammar
