// Any phrase a user can type (any code-page bytes, at most the 256 characters
// of the field) must be checked and expanded in bounded time and memory, and
// the result must keep its promises: an illegal phrase gives -99, a legal one
// a sorted list without neighbouring duplicates, no group marks left, and
// where the slow literal procedure applies, exactly its result.
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "LiteralExpansion.h"
#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Dialogs.h"
#include "data/CommandList.h"

namespace {

class CountingDialogs final : public qv::shell::Dialogs {
 public:
  void ShowMessage(const QString&, const QString& message, int, bool, bool, const QString&) override {
    ++messages;
    last = message;
  }
  void ShowInput(const QString&, const QString&, const QString&, bool, bool, const QString&, const QString&) override {}
  void ProgressOpen(const QString&, const QString&) override {}
  void ProgressUpdate(const QString&, double) override {}
  void ProgressHide() override {}
  int messages = 0;
  QString last;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  if (size > static_cast<size_t>(data::kGrammarWidth)) return 0;
  const QString stored = base::Fixed(
      base::FromCp1252(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), data::kGrammarWidth);
  const bool legal = grammar::CheckGrammar(stored);

  shell::AppState state;
  data::CommandRecord command;
  command.grammars << stored;
  state.commands.push_back(command);
  CountingDialogs dialogs;
  grammar::ExpandGrammar(state, dialogs, 0, 0);

  if (!legal) {
    Require(state.phraseCount == -99 && state.phraseList.isEmpty() && dialogs.messages == 1);
    return 0;
  }
  if (state.phraseCount == -99) {  // refused as too large
    Require(dialogs.messages == 1 && dialogs.last.contains("sentences") && state.phraseList.isEmpty());
    return 0;
  }
  Require(dialogs.messages == 0 && state.phraseCount == state.phraseList.size() - 1);
  QString previousKey;
  for (qsizetype i = 0; i < state.phraseList.size(); ++i) {
    const QString& s = state.phraseList[i];
    Require(s.size() <= data::kGrammarWidth);
    Require(!s.contains(u'(') && !s.contains(u')') && !s.contains(u'[') && !s.contains(u']'));
    if (i > 0) Require(state.phraseList[i - 1] <= s);
    const QString key = grammar::TrimSpaces(s).toUpper();
    Require(key != previousKey);
    previousKey = key;
  }
  if (test::literal::Applies(stored) && state.phraseList.size() <= 2000)
    Require(state.phraseList == test::literal::Expand(stored));
  return 0;
}
