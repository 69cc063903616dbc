#include "core/grammar/CommandTextEditor.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "data/CommandList.h"
#include "data/Settings.h"

namespace qv::grammar {
namespace {

// The wording of one list.
struct Wording {
  const char* noun;  // in the tags: "add_" + noun
  const char* addTitle;
  const char* addLabel;
  const char* addMessage;
  const char* editTitle;
  const char* editLabel;
  const char* editMessage;
  const char* lastOne;
  const char* deleteTitle;
  const char* deleteQuestion;
  int width;
};

const Wording kPhrases{"grammar",
                       "Add New Grammar",
                       "Enter Grammar:",
                       "Enter a new grammar for the command: ",
                       "Edit Existing Grammar",
                       "Edit Grammar:",
                       "Edit the existing grammar for the command: ",
                       "You may not delete the last available grammar for a command.",
                       "Delete Selected Grammar?",
                       "You are about to delete the selected grammar.",
                       data::kGrammarWidth};
const Wording kReadbacks{"readback",
                         "Add New Readback",
                         "Enter Readback:",
                         "Enter a new readback for the command: ",
                         "Edit Existing Readback",
                         "Edit Readback:",
                         "Edit the existing readback for the command: ",
                         "You may not delete the last available readback for a grammar.",
                         "Delete Selected Readback?",
                         "You are about to delete the selected readback.",
                         data::kReadbackWidth};

const Wording& Words(CommandText which) { return which == CommandText::Phrases ? kPhrases : kReadbacks; }

const QString kPressOk = QStringLiteral("Please press OK to continue...");

}  // namespace

CommandTextEditor::CommandTextEditor(shell::Context& ctx, CommandText which) : m_ctx(ctx), m_which(which) {}

QString CommandTextEditor::tagOf(Action action) const {
  const char* verb = action == Action::Add ? "add_" : action == Action::Edit ? "edit_" : "delete_";
  return verb + QString::fromLatin1(Words(m_which).noun);
}

QStringList* CommandTextEditor::List(int command) const {
  auto& commands = m_ctx.state.commands;
  if (command < 0 || command >= int(commands.size())) return nullptr;
  data::CommandRecord& c = commands[command];
  return m_which == CommandText::Phrases ? &c.grammars : &c.readbacks;
}

QStringList CommandTextEditor::Entries(int command) const {
  const QStringList* list = List(command);
  return list ? *list : QStringList();
}

bool CommandTextEditor::Full(int command) const {
  return m_which == CommandText::Readbacks && List(command)->size() >= kMaxReadbacks;
}

QString CommandTextEditor::Accept(const QString& text) {
  const QString entry = TrimSpaces(text);
  if (entry.isEmpty()) return {};
  if (!base::FitsCp1252(entry)) {
    QString foreign;
    for (QChar c : entry) {
      const QString one(c);
      if (!base::FitsCp1252(one) && !foreign.contains(one) && foreign.size() < 40) foreign += one + u' ';
    }
    m_ctx.dialogs.ShowMessage(
        "Entry Not Accepted",
        shell::JoinLines({"The entry contains characters that Quorvane cannot store: " + foreign.trimmed(),
                          "Please use letters, digits and signs of the Western European character set only.",
                          kPressOk}),
        shell::kIconWarning, true, false, QString());
    return {};
  }
  return base::Fixed(entry, Words(m_which).width);
}

void CommandTextEditor::AskAdd(int command) {
  if (!List(command)) return;
  if (Full(command)) {
    m_ctx.dialogs.ShowMessage("Limit Exceeded",
                              "You have reached the maximum allowable number of readbacks for a given command.",
                              shell::kIconWarning, true, false, QString());
    return;
  }
  const Wording& w = Words(m_which);
  m_ctx.dialogs.ShowInput(w.addTitle, shell::kCr + w.addMessage + TrimSpaces(m_ctx.state.commands[command].name),
                          w.addLabel, true, true, QString(), tagOf(Action::Add));
}

int CommandTextEditor::Add(int command, const QString& text) {
  QStringList* list = List(command);
  if (!list || Full(command)) return -1;
  const QString entry = Accept(text);
  if (entry.isEmpty()) return -1;
  list->append(entry);
  return int(list->size()) - 1;
}

void CommandTextEditor::AskEdit(int command, int index) {
  const QStringList* list = List(command);
  if (!list || index < 0 || index >= list->size()) return;
  const Wording& w = Words(m_which);
  m_ctx.dialogs.ShowInput(w.editTitle, shell::kCr + w.editMessage + TrimSpaces(m_ctx.state.commands[command].name),
                          w.editLabel, true, true, TrimSpaces(list->at(index)), tagOf(Action::Edit));
}

int CommandTextEditor::Edit(int command, int index, const QString& text) {
  QStringList* list = List(command);
  if (!list || index < 0 || index >= list->size()) return -1;
  const QString entry = Accept(text);
  if (entry.isEmpty()) return -1;
  (*list)[index] = entry;
  return index;
}

void CommandTextEditor::AskDelete(int command, int index) {
  const QStringList* list = List(command);
  if (!list || index < 0 || index >= list->size()) return;
  const Wording& w = Words(m_which);
  if (list->size() <= 1) {
    m_ctx.dialogs.ShowMessage("Can Not Delete", shell::JoinLines({w.lastOne, "Please press OK to continue."}),
                              shell::kIconWarning, true, false, QString());
    return;
  }
  m_ctx.dialogs.ShowMessage(w.deleteTitle, shell::JoinLines({w.deleteQuestion, "Do you wish to continue?"}),
                            shell::kIconWarning, true, true, tagOf(Action::Delete));
}

int CommandTextEditor::Delete(int command, int index) {
  QStringList* list = List(command);
  if (!list || index < 0 || index >= list->size() || list->size() <= 1) return -1;
  list->removeAt(index);
  return std::min(index, int(list->size()) - 1);
}

QString SpokenReadback(const QString& readback, const std::vector<data::SettingsList>& lists) {
  QString text = TrimSpaces(readback);
  // A list name stands for any value of its list; an example value is spoken
  // in its place so that the preview sounds like the real readback.
  for (const data::SettingsList& list : lists) {
    const QString name = TrimSpaces(list.name);
    if (name.isEmpty() || !text.contains(name, Qt::CaseInsensitive)) continue;
    text.replace(name, TrimSpaces(list.ttsExample), Qt::CaseInsensitive);
  }
  return text;
}

}  // namespace qv::grammar
