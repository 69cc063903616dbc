#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace qv::data {
struct SettingsList;
}
namespace qv::shell {
struct Context;
}

namespace qv::grammar {

// The two text lists of a command that the configuration screen edits.
enum class CommandText { Phrases, Readbacks };

// Adds, edits and deletes the phrases or the readbacks of the commands in
// the command list (AppState::commands), without widgets. One editor serves
// either list; they differ only in their wording, their dialog tags and the
// readbacks' limit of 20 per command.
//
// The screen calls AskAdd, AskEdit or AskDelete for its button; the dialog
// shown carries a tag (tagOf), and the dialog's OK of that tag comes back to
// Add, Edit or Delete. Each of those returns the index of the entry to
// select afterwards, or -1 when nothing changed (a blank entry, a refused
// one, a command or an entry that is not there). An entry is stored
// trimmed, cut to its 256-character field; one with characters a command
// list cannot hold is refused with a message. A phrase is not checked here;
// the check runs when it is expanded.
class CommandTextEditor {
 public:
  enum class Action { Add, Edit, Delete };
  static constexpr int kMaxReadbacks = 20;

  CommandTextEditor(shell::Context& ctx, CommandText which);

  CommandText which() const { return m_which; }
  // "add_grammar", "edit_readback", ... : the tag of the action's dialog.
  QString tagOf(Action action) const;
  // The list being edited of command `command`; empty for a command that is not there.
  QStringList Entries(int command) const;

  void AskAdd(int command);  // a readback list that is full gets "Limit Exceeded" instead
  int Add(int command, const QString& text);
  void AskEdit(int command, int index);
  int Edit(int command, int index, const QString& text);
  void AskDelete(int command, int index);  // the last entry gets "Can Not Delete" instead
  int Delete(int command, int index);

 private:
  QStringList* List(int command) const;
  bool Full(int command) const;
  QString Accept(const QString& text);

  shell::Context& m_ctx;
  CommandText m_which;
};

// A readback as the copilot speaks it in the preview: every list name of
// the settings in it (any letter case) replaced by that list's spoken example.
QString SpokenReadback(const QString& readback, const std::vector<data::SettingsList>& lists);

}  // namespace qv::grammar
