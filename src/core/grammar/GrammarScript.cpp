#include "core/grammar/GrammarScript.h"

#include "base/Cp1252.h"
#include "base/FileIo.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"

namespace qv::grammar {
namespace {

// Names come from the command list as typed; a brace or backslash in one
// would otherwise end a group or start a control word in the document.
// Sentences cannot hold these characters (the check refuses them).
QString EscapeRtf(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    if (c == u'\\' || c == u'{' || c == u'}') out += u'\\';
    out += c;
  }
  return out;
}

QString Capitalised(const QString& sentence) {
  QString s = TrimSpaces(sentence);
  if (!s.isEmpty()) s[0] = s[0].toUpper();
  return s;
}

}  // namespace

QString GrammarScriptPath(const QString& installDir) { return installDir + QStringLiteral("/QuorvaneScript.rtf"); }

bool BuildGrammarScript(shell::Context& ctx, QString& document) {
  const shell::AppState& state = ctx.state;
  QString rtf;
  const auto piece = [&rtf](const QString& text) {
    rtf += text;
    rtf += u'\n';
  };

  piece(QStringLiteral(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 "
      "Symbol;}}"));
  piece(QStringLiteral("{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\b\\i\\f0\\fs44 Quorvane\\par"));
  piece(QStringLiteral("\\i0\\fs32\\tab Grammar Script\\par"));
  piece(QStringLiteral("\\b0\\fs20\\par"));
  piece(QStringLiteral(
      "The following is broken into command categories and the associated commands.  Each command includes the "
      "script that you may speak to control Flight Simulator.  If you make changes to your grammar phrases using the "
      "Quorvane interface, generate a new script to show the changes in this document.  You may print this document "
      "in WordPad.\\par"));
  piece(QStringLiteral("\\par"));
  const qsizetype categoryCount = state.categories.size();
  piece(QStringLiteral("\\b\\fs28 Number of Command Categories - %1\\par").arg(categoryCount));
  piece(QStringLiteral("\\b0\\fs20\\par"));

  for (qsizetype c = 0; c < categoryCount; ++c) {
    const QString category = TrimSpaces(state.categories[c]);
    ctx.dialogs.ProgressUpdate(
        QStringList({QString(), "Command Category - " + category, QString(), QStringLiteral("Please standby...")})
            .join(shell::kCr),
        c * (100.0 / categoryCount));
    piece("\\b\\fs28 " + ToRoman(QString::number(c + 1)) + ".  " + EscapeRtf(category) + "\\par");
    piece(QStringLiteral("\\b0\\fs20\\par"));
    piece(QStringLiteral("\\fs20\\par"));

    const QString key = category.toUpper();
    int k = 0;
    for (int ci = 0; ci < static_cast<int>(state.commands.size()); ++ci) {
      const data::CommandRecord& command = state.commands[ci];
      if (TrimSpaces(command.category).toUpper() != key) continue;
      piece(QStringLiteral("\\b\\fs24\\tab %1.  ").arg(++k) + EscapeRtf(TrimSpaces(command.name)) + "\\par");
      piece(QStringLiteral("\\b0\\fs20\\par"));
      piece(QStringLiteral("\\pard{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li1440"));
      for (int gi = 0; gi < command.grammars.size(); ++gi) {
        ExpandGrammar(ctx, ci, gi);
        if (ctx.state.phraseCount == -99) return false;
        for (const QString& sentence : state.phraseList)
          piece("{\\pntext\\f1\\'B7\\tab}" + Capitalised(sentence) + "\\par");
      }
      piece(QStringLiteral("\\pard\\li1080\\par"));
      piece(QStringLiteral("\\pard"));
    }
  }
  piece(QStringLiteral("}"));
  document = std::move(rtf);
  return true;
}

bool SaveGrammarScript(const QString& document, const QString& path, QString* error) {
  const base::FileResult written = base::WriteFileAtomic(path, base::ToCp1252(document));
  if (!written && error) *error = written.error();
  return static_cast<bool>(written);
}

}  // namespace qv::grammar
