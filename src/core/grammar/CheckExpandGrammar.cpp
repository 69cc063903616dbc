#include "core/grammar/CheckExpandGrammar.h"

#include <algorithm>
#include <vector>

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"

namespace qv::grammar {
namespace {

bool IsLegal(char16_t c) {
  return c == u' ' || c == u'\'' || c == u'(' || c == u')' || c == u',' || c == u'-' || c == u'.' ||
         (c >= u'0' && c <= u'9') || c == u'<' || c == u'>' || (c >= u'A' && c <= u'Z') || c == u'[' || c == u']' ||
         c == u'_' || (c >= u'a' && c <= u'z') || c == u'|';
}

// Index of the mark closing the group opened at `open`, counting only marks
// of the same kind (a legal phrase nests the two kinds properly); -1 when the
// group is never closed.
qsizetype MatchingClose(QStringView s, qsizetype open, char16_t openMark, char16_t closeMark) {
  int depth = 0;
  for (qsizetype i = open; i < s.size(); ++i) {
    if (s[i] == openMark) {
      ++depth;
    } else if (s[i] == closeMark && --depth == 0) {
      return i;
    }
  }
  return -1;
}

// One left-to-right pass: each pair of blanks becomes one, so three become two.
QString MergeDoubleSpaces(QStringView s) {
  QString out;
  out.reserve(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    out += s[i];
    if (s[i] == u' ' && i + 1 < s.size() && s[i + 1] == u' ') ++i;
  }
  return out;
}

qint64 SaturatingAdd(qint64 a, qint64 b) { return std::min(a + b, kMaxSentences + 1); }
qint64 SaturatingMul(qint64 a, qint64 b) {
  if (a == 0 || b == 0) return 0;
  return a > (kMaxSentences + 1) / b ? kMaxSentences + 1 : std::min(a * b, kMaxSentences + 1);
}

// Text cut at the top-level "|" marks (those not inside a nested "[...]").
std::vector<QStringView> SplitAlternatives(QStringView inner) {
  std::vector<QStringView> parts;
  int depth = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i < inner.size(); ++i) {
    if (inner[i] == u'[') {
      ++depth;
    } else if (inner[i] == u']') {
      --depth;
    } else if (inner[i] == u'|' && depth == 0) {
      parts.push_back(inner.mid(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(inner.mid(start));
  return parts;
}

// Number of sentences of a text without optional groups (saturating).
qint64 AlternativesCount(QStringView s) {
  qint64 total = 1;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] != u'[') continue;
    const qsizetype close = MatchingClose(s, i, u'[', u']');
    if (close < 0) continue;  // an unclosed mark is plain text
    qint64 group = 0;
    for (QStringView alternative : SplitAlternatives(s.mid(i + 1, close - i - 1)))
      group = SaturatingAdd(group, AlternativesCount(alternative));
    total = SaturatingMul(total, group);
    i = close;
  }
  return total;
}

// A lower bound of the number of sentences, counted on the structure alone
// (an optional group as a factor 1 + its content, alternatives as the sum of
// theirs). The expansion resolves optional groups first, which multiplies an
// alternatives group holding one by the group's choices, so the real number
// is never smaller: a phrase over the limit here is refused without
// expanding anything. Saturates at kMaxSentences + 1.
qint64 LowerBound(QStringView s) {
  qint64 total = 1;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const char16_t c = s[i].unicode();
    if (c != u'(' && c != u'[') continue;
    const qsizetype close = MatchingClose(s, i, c, c == u'(' ? u')' : u']');
    if (close < 0) continue;
    const QStringView inner = s.mid(i + 1, close - i - 1);
    qint64 group = 0;
    if (c == u'(') {
      group = SaturatingAdd(1, LowerBound(inner));
    } else {
      for (QStringView alternative : SplitAlternatives(inner)) group = SaturatingAdd(group, LowerBound(alternative));
    }
    total = SaturatingMul(total, group);
    i = close;
  }
  return total;
}

// The outermost optional groups of the trimmed text: literal pieces around
// them and their contents (nested groups left inside for the next round).
struct OptionalSplit {
  std::vector<QString> literals;  // one more than options
  std::vector<QString> options;
};

OptionalSplit SplitOptionals(const QString& t) {
  OptionalSplit split;
  qsizetype pieceStart = 0;
  for (qsizetype i = 0; i < t.size(); ++i) {
    if (t[i] != u'(') continue;
    const qsizetype close = MatchingClose(t, i, u'(', u')');
    if (close < 0) continue;
    split.literals.push_back(t.mid(pieceStart, i - pieceStart));
    split.options.push_back(t.mid(i + 1, close - i - 1));
    pieceStart = close + 1;
    i = close;
  }
  split.literals.push_back(t.mid(pieceStart));
  return split;
}

QStringList Combinations(const OptionalSplit& split) {
  const int k = static_cast<int>(split.options.size());
  QStringList outputs;
  if (k >= 31) return outputs;  // never reached: the count refuses such phrases first
  const quint32 combinations = 1u << k;
  outputs.reserve(combinations);
  for (quint32 m = 0; m < combinations; ++m) {
    QString text = split.literals[0];
    for (int j = 0; j < k; ++j) {
      if ((m >> (k - 1 - j)) & 1u) text += split.options[j];
      text += split.literals[j + 1];
    }
    outputs << TrimSpaces(MergeDoubleSpaces(TrimSpaces(text)));
  }
  return outputs;
}

// Every alternatives group of a text without optional groups, all at once:
// the result is the same as taking the first group, then the first group of
// each result, and so on (the first group varies slowest), without copying the
// text once per group.
QStringList AlternativesProduct(QStringView s) {
  QStringList acc{QString()};
  qsizetype pieceStart = 0;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] != u'[') continue;
    const qsizetype close = MatchingClose(s, i, u'[', u']');
    if (close < 0) continue;
    const QStringView literal = s.mid(pieceStart, i - pieceStart);
    QStringList choices;
    for (QStringView alternative : SplitAlternatives(s.mid(i + 1, close - i - 1)))
      choices += AlternativesProduct(alternative);
    QStringList next;
    next.reserve(acc.size() * choices.size());
    for (const QString& head : acc)
      for (const QString& choice : choices) {
        QString entry = head;
        entry.append(literal).append(choice);
        next << std::move(entry);
      }
    acc = std::move(next);
    pieceStart = close + 1;
    i = close;
  }
  const QStringView tail = s.mid(pieceStart);
  if (!tail.isEmpty())
    for (QString& entry : acc) entry += tail;
  return acc;
}

QString CommandHeading(const data::CommandRecord& command) {
  return "Error in " + TrimSpaces(command.category) + " - " + TrimSpaces(command.name);
}

}  // namespace

QString TrimSpaces(QStringView text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  return text.mid(begin, end - begin).toString();
}

bool CheckGrammar(QStringView phrase) {
  const QString t = TrimSpaces(phrase);
  for (QChar c : t)
    if (!IsLegal(c.unicode())) return false;
  QString open;  // the stack of open marks
  for (QChar c : t) {
    if (c == u'[' || c == u'(') {
      open += c;
    } else if (c == u']' || c == u')') {
      const QChar wanted = c == u']' ? u'[' : u'(';
      if (open.isEmpty() || open.back() != wanted) return false;
      open.chop(1);
    }
  }
  return open.isEmpty();
}

QStringList ExpandOptionals(const QString& s) { return Combinations(SplitOptionals(TrimSpaces(s))); }

QStringList ExpandAlternatives(const QString& s) {
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] != u'[') continue;
    const qsizetype close = MatchingClose(s, i, u'[', u']');
    if (close < 0) continue;
    const QString prefix = s.left(i);
    const QStringView suffix = QStringView(s).mid(close + 1);
    QStringList outputs;
    for (QStringView alternative : SplitAlternatives(QStringView(s).mid(i + 1, close - i - 1)))
      outputs << QString(prefix).append(alternative).append(suffix);
    return outputs;
  }
  return {s};
}

bool ExpandPhrase(const QString& s, QStringList& out, qint64 limit) {
  // Optional groups first, all of one nesting level at once; every round
  // removes at least one pair of marks, so the recursion ends. Every
  // combination gives at least one sentence, so a level with more
  // combinations than room left is refused before it is built.
  const OptionalSplit split = SplitOptionals(TrimSpaces(s));
  if (!split.options.empty()) {
    const qint64 room = limit - out.size();
    if (split.options.size() >= 31 || (qint64{1} << split.options.size()) > room) return false;
    for (const QString& output : Combinations(split))
      if (!ExpandPhrase(output, out, limit)) return false;
    return true;
  }
  if (s.contains(u'[')) {
    if (AlternativesCount(s) > limit - out.size()) return false;
    out += AlternativesProduct(s);
    return true;
  }
  if (out.size() >= limit) return false;
  out << s;
  return true;
}

void SortAndRemoveDuplicates(QStringList& list) {
  std::sort(list.begin(), list.end());
  QStringList kept;
  kept.reserve(list.size());
  QString previousKey;  // the first entry is compared with the empty text
  for (QString& entry : list) {
    QString key = TrimSpaces(entry).toUpper();
    if (key == previousKey) continue;
    previousKey = std::move(key);
    kept << std::move(entry);
  }
  list = std::move(kept);
}

Expansion ExpandToSentences(const QString& phrase, QStringList& sentences) {
  sentences.clear();
  if (!CheckGrammar(phrase)) return Expansion::Illegal;
  if (LowerBound(phrase) > kMaxSentences || !ExpandPhrase(phrase, sentences, kMaxSentences)) {
    sentences.clear();
    return Expansion::TooLarge;
  }
  SortAndRemoveDuplicates(sentences);
  return Expansion::Ok;
}

void ExpandGrammar(shell::AppState& state, shell::Dialogs& dialogs, int commandIndex, int grammarIndex) {
  state.phraseList.clear();
  state.phraseCount = -1;
  if (commandIndex < 0 || commandIndex >= static_cast<int>(state.commands.size())) return;
  const data::CommandRecord& command = state.commands[commandIndex];
  if (grammarIndex < 0 || grammarIndex >= command.grammars.size()) return;
  const QString& phrase = command.grammars[grammarIndex];

  QStringList sentences;
  const Expansion result = ExpandToSentences(phrase, sentences);
  if (result != Expansion::Ok) {
    state.phraseCount = -99;
    QString message;
    if (result == Expansion::Illegal) {
      message = shell::JoinLines({CommandHeading(command), TrimSpaces(phrase), "Please press OK to continue..."});
    } else {
      message = shell::JoinLines({CommandHeading(command), TrimSpaces(phrase),
                                  QString("This phrase stands for more than %1 sentences.  Please split it into "
                                          "several shorter phrases.")
                                      .arg(kMaxSentences),
                                  "Please press OK to continue..."});
    }
    dialogs.ShowMessage("Grammar Error", message, shell::kIconError, true, false, QString());
    return;
  }
  state.phraseList = std::move(sentences);
  state.phraseCount = static_cast<int16_t>(state.phraseList.size() - 1);
}

void ExpandGrammar(shell::Context& ctx, int commandIndex, int grammarIndex) {
  ExpandGrammar(ctx.state, ctx.dialogs, commandIndex, grammarIndex);
}

QString ToRoman(const QString& decimalText) {
  const QString text = TrimSpaces(decimalText);
  if (text.isEmpty() || text == u"0") return QStringLiteral("No Roman value For 0");
  if (text.size() > 7) return {};
  for (QChar c : text)
    if (c < u'0' || c > u'9') return {};

  static const QStringList symbols = QStringLiteral("I~V~X~L~C~D~M").split(u'~');
  const auto digit = [](QChar c, const QString& unit, const QString& five, const QString& ten) {
    const int d = c.unicode() - u'0';
    if (d == 0) return QString();
    if (d <= 3) return unit.repeated(d);
    if (d == 4) return unit + five;
    if (d == 5) return five;
    if (d <= 8) return five + unit.repeated(d - 5);
    return unit + ten;
  };
  const qsizetype n = text.size();
  QString roman;
  if (n > 3) roman = symbols[6].repeated(text.left(n - 3).toInt());
  if (n >= 3) roman += digit(text[n - 3], symbols[4], symbols[5], symbols[6]);
  if (n >= 2) roman += digit(text[n - 2], symbols[2], symbols[3], symbols[4]);
  roman += digit(text[n - 1], symbols[0], symbols[1], symbols[2]);
  return roman;
}

}  // namespace qv::grammar
