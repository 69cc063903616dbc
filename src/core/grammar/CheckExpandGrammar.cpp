#include "core/grammar/CheckExpandGrammar.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
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

// The expansion works on the phrase as bytes: a phrase that passed the check
// holds only ASCII characters, and the sentences are made, sorted and thinned
// in one buffer of bytes before the kept ones become strings. Byte order is
// character-code order for ASCII, and bytes compare (memcmp) and copy far
// faster than QStrings.
using Text = std::string_view;

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

Text TrimBlanks(Text s) {
  size_t begin = 0, end = s.size();
  while (begin < end && s[begin] == ' ') ++begin;
  while (end > begin && s[end - 1] == ' ') --end;
  return s.substr(begin, end - begin);
}

// Index of the mark closing the group opened at `open`, counting only marks
// of the same kind (a legal phrase nests the two kinds properly); npos when
// the group is never closed.
size_t MatchingClose(Text s, size_t open, char openMark, char closeMark) {
  int depth = 0;
  for (size_t i = open; i < s.size(); ++i) {
    if (s[i] == openMark) {
      ++depth;
    } else if (s[i] == closeMark && --depth == 0) {
      return i;
    }
  }
  return Text::npos;
}

qint64 SaturatingAdd(qint64 a, qint64 b) { return std::min(a + b, kMaxSentences + 1); }
qint64 SaturatingMul(qint64 a, qint64 b) {
  if (a == 0 || b == 0) return 0;
  return a > (kMaxSentences + 1) / b ? kMaxSentences + 1 : std::min(a * b, kMaxSentences + 1);
}

// Text cut at the top-level "|" marks (those not inside a nested "[...]"),
// appended to `parts`.
void SplitAlternatives(Text inner, std::vector<Text>& parts) {
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '[') {
      ++depth;
    } else if (inner[i] == ']') {
      --depth;
    } else if (inner[i] == '|' && depth == 0) {
      parts.push_back(inner.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(inner.substr(start));
}

std::vector<Text> SplitAlternatives(Text inner) {
  std::vector<Text> parts;
  SplitAlternatives(inner, parts);
  return parts;
}

// A lower bound of the number of sentences, counted on the structure alone
// (an optional group as a factor 1 + its content, alternatives as the sum of
// theirs). The expansion resolves optional groups first, which multiplies an
// alternatives group holding one by the group's choices, so the real number
// is never smaller: a phrase over the limit here is refused without
// expanding anything. Saturates at kMaxSentences + 1.
qint64 LowerBound(Text s) {
  qint64 total = 1;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c != '(' && c != '[') continue;
    const size_t close = MatchingClose(s, i, c, c == '(' ? ')' : ']');
    if (close == Text::npos) continue;
    const Text inner = s.substr(i + 1, close - i - 1);
    qint64 group = 0;
    if (c == '(') {
      group = SaturatingAdd(1, LowerBound(inner));
    } else {
      for (Text alternative : SplitAlternatives(inner)) group = SaturatingAdd(group, LowerBound(alternative));
    }
    total = SaturatingMul(total, group);
    i = close;
  }
  return total;
}

// The outermost optional groups of the trimmed text: literal pieces around
// them and their contents (nested groups left inside for the next round).
struct OptionalSplit {
  std::vector<Text> literals;  // one more than options
  std::vector<Text> options;
};

OptionalSplit SplitOptionals(Text t) {
  OptionalSplit split;
  size_t pieceStart = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '(') continue;
    const size_t close = MatchingClose(t, i, '(', ')');
    if (close == Text::npos) continue;
    split.literals.push_back(t.substr(pieceStart, i - pieceStart));
    split.options.push_back(t.substr(i + 1, close - i - 1));
    pieceStart = close + 1;
    i = close;
  }
  split.literals.push_back(t.substr(pieceStart));
  return split;
}

// Combination m of the options (option 0 the most significant digit): the
// pieces joined, trimmed, each pair of blanks made one in one left-to-right
// pass (three become two), trimmed again.
void Combination(const OptionalSplit& split, quint32 m, std::string& joined, std::string& out) {
  const int k = int(split.options.size());
  joined.assign(split.literals[0]);
  for (int j = 0; j < k; ++j) {
    if ((m >> (k - 1 - j)) & 1u) joined += split.options[j];
    joined += split.literals[j + 1];
  }
  const Text t = TrimBlanks(joined);
  out.clear();
  for (size_t i = 0; i < t.size(); ++i) {
    out += t[i];
    if (t[i] == ' ' && i + 1 < t.size() && t[i + 1] == ' ') ++i;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  out.erase(0, std::min(out.find_first_not_of(' '), out.size()));
}

// The sentences of one phrase, in the order they are made, as spans of one
// byte buffer.
class Sentences {
 public:
  struct Span {
    uint32_t begin, size;
  };
  explicit Sentences(qint64 limit) : m_limit(limit) {}

  qint64 room() const { return m_limit - qint64(m_spans.size()); }
  std::vector<Span>& spans() { return m_spans; }
  Text at(const Span& s) const { return Text(m_text.data() + s.begin, s.size); }
  std::string& text() { return m_text; }
  void add(Text s) {
    open() += s;
    close();
  }
  // A sentence written straight into the buffer: open() gives it, close() ends it.
  std::string& open() {
    m_open = m_text.size();
    return m_text;
  }
  void close() { m_spans.push_back({uint32_t(m_open), uint32_t(m_text.size() - m_open)}); }
  void reserve(size_t sentences, size_t bytes) {
    m_spans.reserve(sentences);
    m_text.reserve(bytes);
  }
  // Empty again, with room for `limit` sentences; the buffers stay allocated.
  void clear(qint64 limit) {
    m_limit = limit;
    m_open = 0;
    m_text.clear();
    m_spans.clear();
  }

 private:
  qint64 m_limit;
  size_t m_open = 0;
  std::string m_text;
  std::vector<Span> m_spans;
};

// Every alternatives group of a text without optional groups, all at once:
// the result is the same as taking the first group, then the first group of
// each result, and so on (the first group varies slowest). Each sentence is
// written once, piece after piece, counting through the choices like an
// odometer. A choice is a view of the text; only a choice holding groups of
// its own is made as strings (kept in `store`, which never moves them).
class Product {
 public:
  // False, and nothing written, when there is not room for every sentence.
  bool writeInto(Text s, Sentences& out) {
    m_store.clear();
    if (parse(s) > out.room()) return false;
    do {
      std::string& text = out.open();
      append(text);
      out.close();
    } while (advance());
    return true;
  }

 private:
  struct Group {
    Text literal;  // the text before the group
    std::vector<Text> choices;
  };

  // The top-level groups of `s` into the first m_count groups (whose lists
  // are kept from one phrase to the next, so that the thousand combinations
  // of a long phrase do not allocate them again); returns the number of
  // sentences (saturating).
  qint64 parse(Text s) {
    qint64 total = 1;
    size_t pieceStart = 0;
    m_count = 0;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] != '[') continue;
      const size_t close = MatchingClose(s, i, '[', ']');
      if (close == Text::npos) continue;  // an unclosed mark is plain text
      if (m_groups.size() == m_count) m_groups.emplace_back();
      Group& group = m_groups[m_count++];
      group.literal = s.substr(pieceStart, i - pieceStart);
      group.choices.clear();
      m_parts.clear();
      SplitAlternatives(s.substr(i + 1, close - i - 1), m_parts);
      for (Text alternative : m_parts) {
        if (alternative.find('[') == Text::npos) {
          group.choices.push_back(alternative);
          continue;
        }
        Product inner;
        for (std::string& sentence : inner.strings(alternative)) {
          m_store.push_back(std::move(sentence));
          group.choices.push_back(m_store.back());
        }
      }
      total = SaturatingMul(total, qint64(group.choices.size()));
      pieceStart = close + 1;
      i = close;
    }
    m_tail = s.substr(pieceStart);
    m_digit.assign(m_count, 0);
    return total;
  }

  std::vector<std::string> strings(Text s) {
    std::vector<std::string> made;
    parse(s);
    do {
      append(made.emplace_back());
    } while (advance());
    return made;
  }

  // The sentence of the current choices, sized once and copied piece by piece.
  void append(std::string& text) const {
    size_t size = m_tail.size();
    for (size_t g = 0; g < m_count; ++g) size += m_groups[g].literal.size() + m_groups[g].choices[m_digit[g]].size();
    size_t at = text.size();
    text.resize(at + size);
    const auto put = [&](Text piece) {
      std::memcpy(text.data() + at, piece.data(), piece.size());
      at += piece.size();
    };
    for (size_t g = 0; g < m_count; ++g) {
      put(m_groups[g].literal);
      put(m_groups[g].choices[m_digit[g]]);
    }
    put(m_tail);
  }

  bool advance() {
    size_t g = m_count;
    while (g > 0 && ++m_digit[g - 1] == m_groups[g - 1].choices.size()) m_digit[--g] = 0;
    return g > 0;
  }

  std::vector<Group> m_groups;
  size_t m_count = 0;         // groups of the current text
  std::vector<Text> m_parts;  // one group's alternatives, while it is parsed
  Text m_tail;
  std::vector<size_t> m_digit;
  std::deque<std::string> m_store;
};

// Optional groups first, all of one nesting level at once; every round
// removes at least one pair of marks, so the recursion ends. Every
// combination gives at least one sentence, so a level with more combinations
// than room left is refused before it is built. False as soon as the
// sentences would outgrow the limit.
bool Expand(Text s, Sentences& out, Product& product) {
  if (s.find('(') != Text::npos) {
    const OptionalSplit split = SplitOptionals(TrimBlanks(s));
    if (!split.options.empty()) {
      if (split.options.size() >= 31 || (qint64{1} << split.options.size()) > out.room()) return false;
      std::string joined, combination;
      for (quint32 m = 0; m < (1u << split.options.size()); ++m) {
        Combination(split, m, joined, combination);
        if (!Expand(combination, out, product)) return false;
      }
      return true;
    }
  }
  if (s.find('[') != Text::npos) return product.writeInto(s, out);
  if (out.room() <= 0) return false;
  out.add(s);
  return true;
}

bool Expand(Text s, Sentences& out) {
  Product product;
  return Expand(s, out, product);
}

// Sorting: the sentences of one phrase share long beginnings, which a
// comparison of whole texts would read again at every step, and a phrase
// has few distinct words. So the sort is a three-way quicksort on seven
// bytes at a time taken as one number: a range is split into the sentences
// below, equal to and above a pivot's seven bytes, and only the equal part
// goes on to the next seven.
struct KeyedSpan {
  // The seven bytes from the current depth, the first most significant and
  // 0 past the end, then how many of them the sentence has: a sentence that
  // ends comes before its continuations, even one going on with a NUL.
  uint64_t key;
  Sentences::Span span;
};
constexpr size_t kKeyBytes = 7;

void SetKeys(Sentences& sentences, KeyedSpan* first, KeyedSpan* last, size_t depth) {
  for (KeyedSpan* k = first; k != last; ++k) {
    const Text s = sentences.at(k->span);
    const size_t present = s.size() > depth ? std::min(kKeyBytes, s.size() - depth) : 0;
    uint64_t key = 0;
    for (size_t b = 0; b < kKeyBytes; ++b) key = key << 8 | (b < present ? uint8_t(s[depth + b]) : 0u);
    k->key = key << 8 | present;
  }
}

// Sorts [first, last), whose sentences agree on their first `depth` bytes
// and whose keys hold the seven after them. `budget` bounds the splits at
// one depth; a range that uses it up (badly chosen pivots) is sorted whole.
void SortFrom(Sentences& sentences, KeyedSpan* first, KeyedSpan* last, size_t depth, int budget) {
  while (last - first > 1) {
    if (last - first <= 8 || budget-- <= 0) {
      std::sort(first, last, [&](const KeyedSpan& a, const KeyedSpan& b) {
        if (a.key != b.key) return a.key < b.key;
        const Text x = sentences.at(a.span), y = sentences.at(b.span);
        return x.substr(std::min(x.size(), depth)) < y.substr(std::min(y.size(), depth));
      });
      return;
    }
    const uint64_t a = first->key, b = first[(last - first) / 2].key, c = last[-1].key;
    const uint64_t pivot = a < b ? (b < c ? b : a < c ? c : a) : (a < c ? a : b < c ? c : b);
    // [first, lt) below, [lt, i) equal, [gt, last) above.
    KeyedSpan *lt = first, *i = first, *gt = last;
    while (i < gt) {
      if (i->key < pivot) {
        std::swap(*lt++, *i++);
      } else if (i->key > pivot) {
        std::swap(*i, *--gt);
      } else {
        ++i;
      }
    }
    SortFrom(sentences, first, lt, depth, budget);
    if ((pivot & 0xFF) == kKeyBytes && gt - lt > 1) {  // equal so far and going on: the next bytes
      SetKeys(sentences, lt, gt, depth + kKeyBytes);
      SortFrom(sentences, lt, gt, depth + kKeyBytes, 64);
    }
    first = gt;
  }
}

// Ascending by character code; then each sentence whose trimmed text equals,
// ignoring case, that of the sentence kept before it is dropped (empty ones
// at the head included, as the first is compared with the empty text).
void SortAndThin(Sentences& sentences) {
  auto& spans = sentences.spans();
  // Reused from one call to the next on a thread (see ExpandToSentences).
  thread_local std::vector<KeyedSpan> keyed;
  keyed.resize(spans.size());
  for (size_t i = 0; i < spans.size(); ++i) keyed[i].span = spans[i];
  SetKeys(sentences, keyed.data(), keyed.data() + keyed.size(), 0);
  SortFrom(sentences, keyed.data(), keyed.data() + keyed.size(), 0, 64);
  for (size_t i = 0; i < spans.size(); ++i) spans[i] = keyed[i].span;
  const auto sameKey = [](Text a, Text b) {
    a = TrimBlanks(a), b = TrimBlanks(b);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
  };
  Text previous;
  size_t kept = 0;
  for (const Sentences::Span& span : spans) {
    const Text text = sentences.at(span);
    if (sameKey(text, previous)) continue;
    previous = text;
    spans[kept++] = span;
  }
  spans.resize(kept);
}

QStringList ToStrings(Sentences& sentences) {
  QStringList list;
  list.reserve(qsizetype(sentences.spans().size()));
  for (const Sentences::Span& s : sentences.spans()) list << QString::fromLatin1(sentences.at(s));
  return list;
}

Sentences FromStrings(const QStringList& list) {
  Sentences sentences(std::numeric_limits<qint64>::max());
  for (const QString& s : list) sentences.add(s.toLatin1().toStdString());
  return sentences;
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

QStringList ExpandOptionals(const QString& s) {
  const QByteArray bytes = s.toLatin1();
  const OptionalSplit split = SplitOptionals(TrimBlanks(Text(bytes.constData(), size_t(bytes.size()))));
  QStringList outputs;
  std::string joined, combination;
  if (split.options.size() >= 31) return outputs;
  for (quint32 m = 0; m < (1u << split.options.size()); ++m) {
    Combination(split, m, joined, combination);
    outputs << QString::fromLatin1(combination);
  }
  return outputs;
}

QStringList ExpandAlternatives(const QString& s) {
  const QByteArray bytes = s.toLatin1();
  const Text t(bytes.constData(), size_t(bytes.size()));
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '[') continue;
    const size_t close = MatchingClose(t, i, '[', ']');
    if (close == Text::npos) continue;
    QStringList outputs;
    for (Text alternative : SplitAlternatives(t.substr(i + 1, close - i - 1)))
      outputs << QString::fromLatin1(t.substr(0, i)) + QString::fromLatin1(alternative) +
                     QString::fromLatin1(t.substr(close + 1));
    return outputs;
  }
  return {s};
}

bool ExpandPhrase(const QString& s, QStringList& out, qint64 limit) {
  Sentences sentences(limit - out.size());
  const QByteArray bytes = s.toLatin1();
  const bool ok = Expand(Text(bytes.constData(), size_t(bytes.size())), sentences);
  out += ToStrings(sentences);
  return ok;
}

void SortAndRemoveDuplicates(QStringList& list) {
  Sentences sentences = FromStrings(list);
  SortAndThin(sentences);
  list = ToStrings(sentences);
}

Expansion ExpandToSentences(const QString& phrase, QStringList& sentences) {
  sentences.clear();
  if (!CheckGrammar(phrase)) return Expansion::Illegal;
  // Legal characters are all ASCII: the bytes are the phrase.
  const QByteArray bytes = phrase.toLatin1();
  const Text text(bytes.constData(), size_t(bytes.size()));
  const qint64 atLeast = LowerBound(text);
  if (atLeast > kMaxSentences) return Expansion::TooLarge;
  // The buffers of the last expansion on this thread are used again: a
  // phrase of many sentences fills a megabyte or two, and memory fresh from
  // the system for every expansion costs more than the expansion itself.
  thread_local Sentences made(kMaxSentences);
  made.clear(kMaxSentences);
  made.reserve(size_t(atLeast), size_t(atLeast) * TrimBlanks(text).size() / 2);  // a guess; it grows if short
  const bool fits = Expand(text, made);
  if (fits) {
    SortAndThin(made);
    sentences = ToStrings(made);
  }
  // A phrase of the largest kind is not kept hold of after it is done.
  if (made.text().capacity() > (size_t(8) << 20)) made = Sentences(kMaxSentences);
  return fits ? Expansion::Ok : Expansion::TooLarge;
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
